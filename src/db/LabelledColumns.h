#pragma once

#include "db/ListQuery.h"

#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

// A column of a list as most lists show it: titled with the column's label in
// the schema, its kind following the column's type (whole numbers and keys as
// numbers, hundredths as "12.50", everything else as text). A column whose grid
// says otherwise gives its kind or title.
struct LabelledColumn
{
    const char* field;
    std::optional<ListColumn::Kind> kind = {};
    QString title = {};
};

// The columns of a list of `table`, in the order given.
QList<ListColumn> labelledColumns(const char* table, std::initializer_list<LabelledColumn> columns);
