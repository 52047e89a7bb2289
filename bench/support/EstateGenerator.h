#pragma once

#include <QSqlDatabase>

// Fills a pelm database with an estate of a given size, for the benchmarks.
// Names and numbers are made up but realistic in length and spread.
struct EstateSize
{
    int buildings = 50;
    int rooms = 20000; // spread evenly over the buildings
    int owners = 10000;
    int roomsPerOwner = 2;
    int membersPerOwner = 3;
    int feeRecords = 0; // spread over the owners, one charge type
};

// Writes the whole estate in one transaction. Throws DbError.
void generateEstate(const QSqlDatabase& db, const EstateSize& size = {});
