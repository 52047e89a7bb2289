#include "output/QueryModelRecordSource.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQueryModel>

bool QueryModelRecordSource::first()
{
    const QSqlQuery& shown = m_model.query();
    if (!shown.isActive() || !shown.isSelect() || !shown.driver())
        return false;
    m_query = QSqlQuery(shown.driver()->createResult());
    m_query.setForwardOnly(true);
    if (!m_query.prepare(shown.lastQuery()))
        throw DbError(m_query.lastError(), SqlDialect::of(m_query.driver()));
    const QVariantList values = shown.boundValues();
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values[i]);
    if (!m_query.exec())
        throw DbError(m_query.lastError(), SqlDialect::of(m_query.driver()));
    m_record = m_query.record();
    return m_query.next();
}

bool QueryModelRecordSource::next()
{
    return m_query.isActive() && m_query.next();
}

int QueryModelRecordSource::fieldIndex(const QString& name) const
{
    return m_record.indexOf(name);
}

QVariant QueryModelRecordSource::value(int field) const
{
    if (field < 0 || !m_query.isValid())
        return {};
    return m_query.value(field);
}
