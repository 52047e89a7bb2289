#pragma once

#include "db/Sql.h"

#include <QDate>
#include <QVariantList>

// The days a query looks at, both ends included; records carry their date as
// "yyyy-MM-dd", so the ends are bound as that text.
struct Period
{
    QDate first;
    QDate last;

    QVariantList values() const { return {sql::dateValue(first), sql::dateValue(last)}; }
};
