#include "output/StatementRecordSource.h"

#include "db/DbError.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QSqlError>

StatementRecordSource::StatementRecordSource(QSqlDatabase db, QString statement, QVariantList values)
    : m_db(std::move(db)), m_statement(std::move(statement)), m_values(std::move(values))
{
}

StatementRecordSource::StatementRecordSource(QSqlDatabase db, const ListQuery& list,
                                             const QStringList& columns)
    : StatementRecordSource(std::move(db), list.statement(columns), list.values)
{
}

bool StatementRecordSource::first()
{
    // Not forward-only: a server then hands over the whole result at once, and
    // the connection stays free for other statements while the rows are read.
    m_query = m_streamed ? sql::exec(m_db, m_statement, m_values) : sql::select(m_db, m_statement, m_values);
    m_record = m_query.record();
    return next();
}

bool StatementRecordSource::next()
{
    if (!m_query.isActive())
        return false;
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw DbError(m_query.lastError(), SqlDialect::of(m_query.driver()));
    return false;
}

int StatementRecordSource::fieldIndex(const QString& name) const
{
    return m_record.indexOf(name);
}

QVariant StatementRecordSource::value(int field) const
{
    if (field < 0 || !m_query.isValid())
        return {};
    return m_query.value(field);
}
