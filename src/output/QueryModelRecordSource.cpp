#include "output/QueryModelRecordSource.h"

#include <QSqlQueryModel>

bool QueryModelRecordSource::first()
{
    // The copy shares the model's result set; the model positions it again before
    // every read of its own, so walking it here leaves the model as it was.
    m_query = m_model.query();
    m_record = m_query.record();
    return m_query.isActive() && m_query.isSelect() && m_query.first();
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
