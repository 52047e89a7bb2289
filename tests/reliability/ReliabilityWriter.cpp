// A copy of pelm's data layer that writes owners through the owner store, for
// the reliability tests to kill at any moment or to run beside a backup.
//
//   reliability_writer batch DB TAG COUNT
//       one Transaction of COUNT owners named TAG-1 ... TAG-COUNT; prints
//       "begun" once the first is written, "committing" before the commit and
//       "committed" after it
//   reliability_writer churn DB TAG ROWS
//       Transactions of ROWS owners each (TAG-<transaction>-<row>), one after
//       the other until killed; prints "committed <n>" after the first and
//       after every hundredth
//
// Exit status 0, or 2 when the database does not open (the reason on stderr).

#include "base/Owner.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void writeOwners(const QSqlDatabase& db, const QString& prefix, int count, bool announce)
{
    Transaction transaction(db);
    for (int i = 1; i <= count; ++i) {
        Owner owner;
        owner.name = prefix + QString::number(i);
        owner_store::insert(db, owner);
        if (announce && i == 1)
            say("begun");
    }
    if (announce)
        say("committing");
    transaction.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 || (args[1] != "batch" && args[1] != "churn")) {
        std::fprintf(stderr, "usage: reliability_writer batch|churn DB TAG COUNT\n");
        return 1;
    }
    const QString tag = args[3];
    const int count = args[4].toInt();
    QString error;
    QSqlDatabase db = database_file::open(args[2], "writer", &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 2;
    }
    try {
        if (args[1] == "batch") {
            writeOwners(db, tag + "-", count, true);
            say("committed");
        } else {
            for (int n = 1;; ++n) {
                writeOwners(db, tag + "-" + QString::number(n) + "-", count, false);
                if (n == 1 || n % 100 == 0)
                    say("committed " + QString::number(n));
            }
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
    return 0;
}
