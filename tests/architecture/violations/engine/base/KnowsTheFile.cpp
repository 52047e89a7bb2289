// A store that asks the file for its version itself: it would fail on a server.
#include "db/Sql.h"

int fileVersion(const QSqlDatabase& db)
{
    return sql::scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}
