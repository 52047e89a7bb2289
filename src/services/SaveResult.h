#pragma once

#include <QString>

// What saving the boxes of a services screen came to: the number the record is
// stored under, or the message that says why nothing was stored.
struct SaveResult
{
    qlonglong id = 0;
    QString refusal;

    bool stored() const { return refusal.isEmpty(); }
    static SaveResult refused(QString text) { return {0, std::move(text)}; }
};
