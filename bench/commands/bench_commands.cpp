#include "EstateGenerator.h"
#include "app/PasswordHash.h"
#include "charging/MonthlyRun.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

// 10,000 owners, 20,000 rooms and a million fee records, made once for the run,
// with an operator who may bill and browse the queries.
struct Estate
{
    Estate()
    {
        database_file::create(path);
        QString error;
        db = database_file::open(path, QStringLiteral("bench"), &error);
        generateEstate(db, {.feeRecords = 1000000});
        // The password is checked at the cheapest cost: the run is measured here,
        // the login's cost on its own below.
        password_hash::setCost(password_hash::Cost::Minimal);
        addOperator(QStringLiteral("clerk"));
        password_hash::setCost(password_hash::Cost::Interactive);
        addOperator(QStringLiteral("slow"));
        QFile password(passwordFile);
        password.open(QIODevice::WriteOnly);
        password.write("pw1\n");
    }

    void addOperator(const QString& code)
    {
        sql::exec(db,
                  QStringLiteral("insert into operator (op_code, op_name, password, popecharge, popequery) "
                                 "values (?, ?, ?, '2', '111')"),
                  {code, code, password_hash::hash(QStringLiteral("pw1"))});
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("pelm.mdb"));
    QString passwordFile = dir.filePath(QStringLiteral("password"));
    QSqlDatabase db;
    int nextMonth = 0; // every round bills a month of its own, after the last one billed
};

Estate& estate()
{
    static Estate e;
    return e;
}

QString nextMonth()
{
    return QDate(2030, 1, 1).addMonths(estate().nextMonth++).toString(QStringLiteral("yyyy-MM"));
}

struct Finished
{
    int status = -1;
    long maxRssKiB = 0;
};

// The peak memory of the program is read by GNU time (package `time`): a process
// started from this one counts this one's memory as its own until it runs the
// program, and this one holds the estate.
const std::string kTime = "/usr/bin/time";

// Runs pelm with `arguments` and waits for it; its own peak memory, when GNU time
// is there to measure it (else 0).
Finished runPelm(const std::vector<std::string>& arguments)
{
    const std::string peakFile = estate().dir.filePath(QStringLiteral("peak")).toStdString();
    const bool measured = QFileInfo::exists(QString::fromStdString(kTime));
    std::vector<std::string> all;
    if (measured)
        all = {kTime, "-f", "%M", "-o", peakFile};
    all.push_back(PELM_EXECUTABLE);
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.push_back("--database");
    all.push_back(estate().path.toStdString());
    all.push_back("--quiet");
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string password = "PELM_PASSWORD_FILE=" + estate().passwordFile.toStdString();
    std::vector<std::string> env{password};
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    Finished finished;
    // What the program says stays out of the report: a failure shows as the
    // benchmark's error.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0)
        return finished;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        finished.status = WEXITSTATUS(status);
    if (measured) {
        QFile peak(QString::fromStdString(peakFile));
        if (peak.open(QIODevice::ReadOnly))
            finished.maxRssKiB = peak.readAll().trimmed().split('\n').last().toLong();
    }
    return finished;
}

// The screen's run: the same call the window makes, committed.
void BM_MonthlyRunAsTheScreen(benchmark::State& state)
{
    for (auto _ : state) {
        const QDate month = QDate::fromString(nextMonth() + QStringLiteral("-01"), Qt::ISODate);
        const monthly_run::Outcome outcome = monthly_run::run(estate().db, month, month, month);
        if (outcome.kind != monthly_run::Outcome::Kind::Billed)
            state.SkipWithError("the run billed nobody");
    }
}
BENCHMARK(BM_MonthlyRunAsTheScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

// `pelm bill`: the process, opening the database, the login and the same run.
void BM_BillCommand(benchmark::State& state)
{
    for (auto _ : state) {
        const std::string month = nextMonth().toStdString();
        const Finished f = runPelm({"bill", "--from", month, "--to", month, "--operator", "clerk"});
        if (f.status != 0)
            state.SkipWithError("pelm bill failed");
    }
}
BENCHMARK(BM_BillCommand)->Unit(benchmark::kMillisecond)->Iterations(5);

// What every command costs before its work: starting the program, opening and
// checking the database, the login (an export of the payments of a month
// without any, which is refused as empty).
void BM_CommandStartAndLogin(benchmark::State& state)
{
    for (auto _ : state) {
        const Finished f = runPelm(
            {"export", "payments", "--from", "1999-01", "--to", "1999-01", "-o", "-", "--operator", "clerk"});
        if (f.status != 1)
            state.SkipWithError("pelm export did not refuse the empty list");
    }
}
BENCHMARK(BM_CommandStartAndLogin)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same with the operator's password checked at the cost the program stores
// passwords with: what a login costs once per command (the window pays it once
// per session).
void BM_BillCommandInteractiveLogin(benchmark::State& state)
{
    for (auto _ : state) {
        const std::string month = nextMonth().toStdString();
        const Finished f = runPelm({"bill", "--from", month, "--to", month, "--operator", "slow"});
        if (f.status != 0)
            state.SkipWithError("pelm bill failed");
    }
}
BENCHMARK(BM_BillCommandInteractiveLogin)->Unit(benchmark::kMillisecond)->Iterations(3);

// `pelm export payments` of the million fee records of 2025 (the bills above are of 2030),
// streamed into a workbook or a CSV file; the process's peak memory.
void exportEveryRecord(benchmark::State& state, const char* suffix)
{
    long peak = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QString out = estate().dir.filePath(QStringLiteral("records") + QString::fromLatin1(suffix));
        QFile::remove(out);
        const Finished f = runPelm({"export", "payments", "--from", "2025-01-01", "--to", "2025-12-31", "-o",
                                    out.toStdString(), "--operator", "clerk"});
        if (f.status != 0)
            state.SkipWithError("pelm export failed");
        peak = std::max(peak, f.maxRssKiB);
        bytes = QFileInfo(out).size();
    }
    state.counters["peak_MiB"] = double(peak) / 1024;
    state.counters["file_MiB"] = double(bytes) / (1024 * 1024);
}

void BM_ExportEveryRecordToWorkbook(benchmark::State& state)
{
    exportEveryRecord(state, ".xlsx");
}
BENCHMARK(BM_ExportEveryRecordToWorkbook)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExportEveryRecordToCsv(benchmark::State& state)
{
    exportEveryRecord(state, ".csv");
}
BENCHMARK(BM_ExportEveryRecordToCsv)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    estate();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
