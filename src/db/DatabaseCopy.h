#pragma once

#include <QSqlDatabase>
#include <QString>

// Moving an office over: every row of a pelm database copied into an empty
// database on a PostgreSQL server, in one transaction on the server, and proven
// before it is committed: every table holds as many rows as the original, every
// money and area column adds up to the same sum, and the numbering of every
// auto-numbered table goes on where the original's stands. A copy that does not
// prove itself is rolled back: nothing is kept.
namespace database_copy {

struct Result
{
    bool done = false;
    QString message; // what the operator is told, in Chinese
};

// Copies the database open on `source` (of this release's schema version) into
// the empty database of the server connection `target`.
Result copyTo(const QSqlDatabase& source, const QString& target);

} // namespace database_copy
