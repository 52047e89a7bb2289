#pragma once

#include "output/RecordSource.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

// Rows held in memory: a list computed by a screen, or the rows of a test.
class MemoryRecordSource final : public RecordSource
{
public:
    MemoryRecordSource(QStringList fields, QList<QVariantList> rows);

    bool first() override;
    bool next() override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int field) const override;

    qsizetype rowCount() const { return m_rows.size(); }

private:
    QStringList m_fields;
    QList<QVariantList> m_rows;
    qsizetype m_current = -1;
};
