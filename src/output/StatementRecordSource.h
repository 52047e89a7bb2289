#pragma once

#include "db/ListQuery.h"
#include "output/RecordSource.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>

// A statement with bound values, run on a connection and read forward only, one
// row at a time, so that a long list is never held in memory. first() runs the
// statement (again); a statement the database refuses throws DbError with the
// engine's text.
class StatementRecordSource final : public RecordSource
{
public:
    StatementRecordSource(QSqlDatabase db, QString statement, QVariantList values = {});
    // The rows of a list as its store describes them, with the columns named (every
    // column of the list's tables when none are).
    StatementRecordSource(QSqlDatabase db, const ListQuery& list, const QStringList& columns = {});

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
};
