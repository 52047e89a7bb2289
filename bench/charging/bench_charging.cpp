#include "EstateGenerator.h"
#include "ScreenBenchmarks.h"
#include "charging/FeeCollectionScreen.h"
#include "charging/MonthlyRun.h"
#include "charging/Receipt.h"
#include "core/Clock.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QListView>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// 10,000 owners, 20,000 rooms and a million fee records, made once for the run.
struct Estate
{
    Estate()
    {
        const QString path = dir.filePath(QStringLiteral("pelm.mdb"));
        database_file::create(path);
        QString error;
        context.db = database_file::open(path, QStringLiteral("bench"), &error);
        generateEstate(context.db, {.feeRecords = 1000000});
        context.messages = &messages;
        context.clock = &Clock::system();
        context.canWrite = true;
    }

    QTemporaryDir dir;
    SilentMessages messages;
    ScreenContext context;
};

Estate& estate()
{
    static Estate e;
    return e;
}

// The run bills every owner; the outer transaction is rolled back after each
// round, so that every round bills the same months afresh.
void BM_MonthlyRun(benchmark::State& state)
{
    const QSqlDatabase& db = estate().context.db;
    for (auto _ : state) {
        Transaction round(db);
        const monthly_run::Outcome outcome =
            monthly_run::run(db, QDate(2030, 1, 1), QDate(2030, 3, 1), QDate(2030, 3, 1));
        if (outcome.kind != monthly_run::Outcome::Kind::Billed)
            state.SkipWithError("the run billed nobody");
        state.counters["bills"] = outcome.bills;
    }
}
BENCHMARK(BM_MonthlyRun)->Unit(benchmark::kMillisecond);

// A payment at the counter: the receipt, its line and the fee record's
// payment_real, with a million fee records and 100,000 receipts of the year
// stored. Each round is rolled back, so that every round issues the same number.
void BM_IssueReceipt(benchmark::State& state)
{
    const QSqlDatabase& db = estate().context.db;
    static const bool made = [&] {
        Transaction transaction(db);
        sql::exec(db, QStringLiteral(
                          "insert into receipt (receipt_no, receipt_year, receipt_seq, owner_id, "
                          "issued_at, op_code, pay_way, total, reprints) "
                          "select '2030-' || substr('00000' || take_id, -6, 6), 2030, take_id, owner_id, "
                          "'2030-01-01 09:00:00', 'bench', '现金', 100, 0 from charge_take "
                          "where take_id <= 100000"));
        transaction.commit();
        return true;
    }();
    Q_UNUSED(made);
    const qlonglong take = sql::scalar(db, QStringLiteral("select take_id from charge_take "
                                                          "where payment_real + 100 <= should_pay limit 1"))
                               .toLongLong();
    const qlonglong owner =
        sql::scalar(db, QStringLiteral("select owner_id from charge_take where take_id = ?"), {take})
            .toLongLong();
    const QDateTime now(QDate(2030, 6, 1), QTime(10, 0));
    for (auto _ : state) {
        Transaction round(db);
        const Checked<Receipt> r = receipt_store::issue(
            db, {owner, QStringLiteral("现金"), QStringLiteral("bench"), {{take, Money::fromWhole(1)}}}, now);
        if (!r.ok())
            state.SkipWithError("the receipt was refused");
    }
}
BENCHMARK(BM_IssueReceipt)->Unit(benchmark::kMillisecond);

// The floor of the same work: one plain INSERT … SELECT of the same bills, with
// the amounts computed in SQL.
void BM_PlainInsertSelect(benchmark::State& state)
{
    const QSqlDatabase& db = estate().context.db;
    for (auto _ : state) {
        Transaction round(db);
        sql::exec(db, QStringLiteral(
                          "insert into charge_take (owner_id, type_id, should_pay, derate, payment_real, "
                          "start_num, end_num, take_date) "
                          "select l.owner_id, 1, 3 * 350 * coalesce(sum(r.build_area), 0) / 1000 * 10, 0, "
                          "0, '2030-01-01', '2030-03-01', '2030-03-01' "
                          "from (select distinct owner_id, room_id from owner_rooms) l "
                          "left join rooms_info r on r.room_id = l.room_id group by l.owner_id"));
    }
}
BENCHMARK(BM_PlainInsertSelect)->Unit(benchmark::kMillisecond);

void BM_OpenFeeScreen(benchmark::State& state)
{
    estate();
    for (auto _ : state) {
        FeeCollectionScreen screen(estate().context);
        screen.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenFeeScreen)->Unit(benchmark::kMillisecond);

void BM_SwitchOwner(benchmark::State& state)
{
    FeeCollectionScreen screen(estate().context);
    screen.show();
    auto* owners = screen.findChild<QListView*>(QStringLiteral("lstOwners"));
    int row = 0;
    for (auto _ : state) {
        row = (row + 37) % owners->model()->rowCount();
        owners->setCurrentIndex(owners->model()->index(row, 1));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchOwner)->Unit(benchmark::kMillisecond);

// The records of one day, of all owners (about 3,000 of the million).
void BM_DayFilter(benchmark::State& state)
{
    FeeCollectionScreen screen(estate().context);
    screen.show();
    auto* day = screen.findChild<QDateEdit*>(QStringLiteral("dtpDate"));
    day->setDate(QDate(2025, 3, 14));
    for (auto _ : state) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(day, &enter);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_DayFilter)->Unit(benchmark::kMillisecond);

// Every record of every owner: the first rows, as the grid shows them.
void BM_AllRecords(benchmark::State& state)
{
    FeeCollectionScreen screen(estate().context);
    screen.show();
    auto* all = screen.findChild<QCheckBox*>(QStringLiteral("cbxFull"));
    for (auto _ : state) {
        all->setChecked(true);
        QCoreApplication::processEvents();
        state.PauseTiming();
        all->setChecked(false);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AllRecords)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runScreenBenchmarks(argc, argv, [] { estate(); });
}
