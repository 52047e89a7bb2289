// The benchmark estate (10,000 owners, 20,000 rooms, a million fee records) moved
// to a PostgreSQL server, and the monthly run there beside the floor of the same
// work. Run with PELM_BENCH_SERVER set to the server's administrative database:
//
//     PELM_BENCH_SERVER="host=/tmp/pg user=postgres dbname=postgres" build/bench/db/bench_server
#include "EstateGenerator.h"
#include "charging/MonthlyRun.h"
#include "db/Database.h"
#include "db/DatabaseCopy.h"
#include "db/DatabaseFile.h"
#include "db/ServerDatabase.h"
#include "db/Sql.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString server()
{
    return qEnvironmentVariable("PELM_BENCH_SERVER");
}

// Runs a statement on the server's administrative database.
void administer(const QString& statement)
{
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
        QString error;
        admin.setConnectOptions(server_database::connectionString(server(), &error));
        if (admin.open())
            QSqlQuery(admin).exec(statement);
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("admin"));
}

QString serverDatabase(const QString& name)
{
    QString error;
    return server_database::connectionString(server(), &error) + u" dbname=" + name;
}

// The estate in a file, made once for the run.
struct FileEstate
{
    FileEstate()
    {
        const QString path = dir.filePath(QStringLiteral("pelm.mdb"));
        database_file::create(path);
        QString error;
        db = database::open(path, QStringLiteral("file"), &error);
        generateEstate(db, {.feeRecords = 1000000});
    }
    QTemporaryDir dir;
    QSqlDatabase db;
};

FileEstate& fileEstate()
{
    static FileEstate e;
    return e;
}

// The estate on the server: the file's, copied once.
struct ServerEstate
{
    ServerEstate()
    {
        administer(QStringLiteral("DROP DATABASE IF EXISTS pelm_bench WITH (FORCE)"));
        administer(QStringLiteral("CREATE DATABASE pelm_bench"));
        database_copy::copyTo(fileEstate().db, serverDatabase(QStringLiteral("pelm_bench")));
        QString error;
        db = database::open(serverDatabase(QStringLiteral("pelm_bench")), QStringLiteral("server"), &error);
        sql::exec(db, QStringLiteral("ANALYZE"));
    }
    QSqlDatabase db;
};

ServerEstate& serverEstate()
{
    static ServerEstate e;
    return e;
}

bool skipWithoutServer(benchmark::State& state)
{
    if (!server().isEmpty())
        return false;
    state.SkipWithError("PELM_BENCH_SERVER is not set");
    return true;
}

// Moving the estate over: a million fee records and the rest, proven.
void BM_CopyToServer(benchmark::State& state)
{
    if (skipWithoutServer(state))
        return;
    const QSqlDatabase& file = fileEstate().db;
    for (auto _ : state) {
        state.PauseTiming();
        administer(QStringLiteral("DROP DATABASE IF EXISTS pelm_copy WITH (FORCE)"));
        administer(QStringLiteral("CREATE DATABASE pelm_copy"));
        state.ResumeTiming();
        const database_copy::Result result =
            database_copy::copyTo(file, serverDatabase(QStringLiteral("pelm_copy")));
        if (!result.done)
            state.SkipWithError(result.message.toStdString().c_str());
    }
    administer(QStringLiteral("DROP DATABASE IF EXISTS pelm_copy WITH (FORCE)"));
}
BENCHMARK(BM_CopyToServer)->Unit(benchmark::kSecond)->Iterations(1);

// The monthly run on the server; each round is rolled back.
void BM_MonthlyRunOnServer(benchmark::State& state)
{
    if (skipWithoutServer(state))
        return;
    const QSqlDatabase& db = serverEstate().db;
    for (auto _ : state) {
        Transaction round(db);
        const monthly_run::Outcome outcome =
            monthly_run::run(db, QDate(2030, 1, 1), QDate(2030, 3, 1), QDate(2030, 3, 1));
        if (outcome.kind != monthly_run::Outcome::Kind::Billed)
            state.SkipWithError("the run billed nobody");
        state.counters["bills"] = outcome.bills;
    }
}
BENCHMARK(BM_MonthlyRunOnServer)->Unit(benchmark::kMillisecond);

// The floor of the same work on the server: one plain INSERT … SELECT of the
// same bills, the amounts computed in SQL.
void BM_PlainInsertSelectOnServer(benchmark::State& state)
{
    if (skipWithoutServer(state))
        return;
    const QSqlDatabase& db = serverEstate().db;
    for (auto _ : state) {
        Transaction round(db);
        sql::exec(db, QStringLiteral(
                          "insert into charge_take (owner_id, type_id, should_pay, derate, payment_real, "
                          "start_num, end_num, take_date) "
                          "select l.owner_id, 1, 3 * 350 * cast(coalesce(sum(r.build_area), 0) as bigint) "
                          "/ 1000 * 10, 0, 0, '2030-01-01', '2030-03-01', '2030-03-01' "
                          "from (select distinct owner_id, room_id from owner_rooms) l "
                          "left join rooms_info r on r.room_id = l.room_id group by l.owner_id"));
    }
}
BENCHMARK(BM_PlainInsertSelectOnServer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
