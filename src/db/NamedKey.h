#pragma once

#include <QString>

// A record as a chooser lists it: its key and the name shown (a building, a
// charge type, a department). Two records of one name stay two.
struct NamedKey
{
    qlonglong id = 0;
    QString name;
};
