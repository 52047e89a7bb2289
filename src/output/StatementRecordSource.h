#pragma once

#include "db/ListQuery.h"
#include "output/RecordSource.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>

// A statement with bound values, run on a connection. first() runs the statement
// (again); a statement the database refuses throws DbError with the engine's
// text.
//
// By default the rows are taken over as the statement runs, so that the
// connection stays free for other statements while they are read (a screen may
// store a record meanwhile). A streamed source reads them forward only, one at
// a time, so that a list of any length is never held in memory; the connection
// is busy until the last row is read (the command line, which writes nothing
// meanwhile).
class StatementRecordSource final : public RecordSource
{
public:
    StatementRecordSource(QSqlDatabase db, QString statement, QVariantList values = {});
    // The rows of a list as its store describes them, with the columns named (every
    // column of the list's tables when none are).
    StatementRecordSource(QSqlDatabase db, const ListQuery& list, const QStringList& columns = {});

    void setStreamed(bool streamed) { m_streamed = streamed; }

    bool first() override;
    bool next() override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int field) const override;

private:
    QSqlDatabase m_db;
    QString m_statement;
    QVariantList m_values;
    QSqlQuery m_query;
    QSqlRecord m_record;
    bool m_streamed = false;
};
