#pragma once

#include "output/RecordSource.h"

#include <QSqlQuery>
#include <QSqlRecord>

class QSqlQueryModel;

// A screen's list as it stands: the rows of a QSqlQueryModel (or QSqlTableModel)
// with its current filter and order, all of them, not only the rows the model
// has fetched so far. The model's statement, with its bound values, is run again
// on a query of its own, forward only: the grid may repaint while an export reads
// (the progress dialog lets it) without moving the rows under the reader, and
// the model keeps its rows and its current row. Values come as stored
// (hundredths, date texts), not as the grid shows them. Edits the model holds but
// has not yet written to the database are not part of it.
class QueryModelRecordSource final : public RecordSource
{
public:
    explicit QueryModelRecordSource(const QSqlQueryModel& model) : m_model(model) {}

    bool first() override;
    bool next() override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int field) const override;

private:
    const QSqlQueryModel& m_model;
    QSqlQuery m_query;
    QSqlRecord m_record;
};
