#pragma once

#include <QDate>

// The days a query looks at, both ends included. Statements bind its ends with
// sql::periodValues().
struct Period
{
    QDate first;
    QDate last;
};
