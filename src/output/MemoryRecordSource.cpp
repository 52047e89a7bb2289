#include "output/MemoryRecordSource.h"

MemoryRecordSource::MemoryRecordSource(QStringList fields, QList<QVariantList> rows)
    : m_fields(std::move(fields)), m_rows(std::move(rows))
{
}

bool MemoryRecordSource::first()
{
    m_current = 0;
    return m_current < m_rows.size();
}

bool MemoryRecordSource::next()
{
    if (m_current < m_rows.size())
        ++m_current;
    return m_current < m_rows.size();
}

int MemoryRecordSource::fieldIndex(const QString& name) const
{
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant MemoryRecordSource::value(int field) const
{
    if (field < 0 || m_current < 0 || m_current >= m_rows.size())
        return {};
    const QVariantList& row = m_rows[m_current];
    return field < row.size() ? row[field] : QVariant();
}
