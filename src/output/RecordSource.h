#pragma once

#include <QString>
#include <QVariant>

// The rows a printed list or an exported workbook reads, in order, one at a
// time. A screen hands over its own list (QueryModelRecordSource) or a statement
// run on the shared connection (StatementRecordSource); tests and computed lists
// use rows held in memory (MemoryRecordSource).
//
// Fields are found by name without regard to letter case; a field the source
// lacks has index -1 and reads as an empty value.
class RecordSource
{
public:
    virtual ~RecordSource() = default;

    // Goes to the first record, from wherever the source stands; false when there
    // is none. A statement is run again. Throws DbError when the database refuses.
    virtual bool first() = 0;
    // Goes to the next record; false after the last one. Throws DbError.
    virtual bool next() = 0;

    // The position of a field, matched without regard to case; -1 when the source
    // has no such field. Known once first() has run.
    virtual int fieldIndex(const QString& name) const = 0;
    // The stored value of a field of the current record; an invalid QVariant for
    // index -1.
    virtual QVariant value(int field) const = 0;

    QVariant fieldValue(const QString& name) const { return value(fieldIndex(name)); }
};
