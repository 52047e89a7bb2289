#include "EstateGenerator.h"
#include "ScreenBenchmarks.h"
#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"
#include "core/Clock.h"
#include "db/DatabaseFile.h"
#include "db/QueryListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// One estate of the standard size for every benchmark of the run.
struct Estate
{
    Estate()
    {
        const QString path = dir.filePath(QStringLiteral("pelm.mdb"));
        database_file::create(path);
        QString error;
        context.db = database_file::open(path, QStringLiteral("bench"), &error);
        generateEstate(context.db);
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

void BM_OpenRoomsList(benchmark::State& state)
{
    for (auto _ : state) {
        RoomsScreen screen(estate().context);
        screen.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(
            screen.findChild<QTableView*>(QStringLiteral("dbgRoom"))->model()->rowCount());
    }
}
BENCHMARK(BM_OpenRoomsList)->Unit(benchmark::kMillisecond);

void BM_FilterRoomsToBuilding(benchmark::State& state)
{
    RoomsScreen screen(estate().context);
    screen.show();
    auto* combo = screen.findChild<QComboBox*>(QStringLiteral("cmbGarden"));
    int building = 0;
    for (auto _ : state) {
        building = (building + 17) % combo->count();
        combo->setCurrentIndex(building);
        Q_EMIT combo->textActivated(combo->itemText(building));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FilterRoomsToBuilding)->Unit(benchmark::kMillisecond);

void BM_OpenOwnerRegister(benchmark::State& state)
{
    for (auto _ : state) {
        OwnersScreen screen(estate().context);
        screen.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenOwnerRegister)->Unit(benchmark::kMillisecond);

void BM_SwitchOwnerDetail(benchmark::State& state)
{
    OwnerDetailScreen screen(estate().context);
    screen.show();
    auto* owners = screen.findChild<QTableView*>(QStringLiteral("dbgOwner"));
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % 200;
        owners->selectRow(row);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchOwnerDetail)->Unit(benchmark::kMillisecond);

// A list that can hold every fee record of every owner: a million rows, read a
// page at a time as the grid scrolls.
struct FeeRecords
{
    FeeRecords()
    {
        const QString path = dir.filePath(QStringLiteral("fees.mdb"));
        database_file::create(path);
        QString error;
        db = database_file::open(path, QStringLiteral("bench-fees"), &error);
        generateEstate(db, {.buildings = 1,
                            .rooms = 100,
                            .owners = 1000,
                            .roomsPerOwner = 0,
                            .membersPerOwner = 0,
                            .feeRecords = 1000000});
    }

    QTemporaryDir dir;
    QSqlDatabase db;
};

FeeRecords& feeRecords()
{
    static FeeRecords f;
    return f;
}

QList<ListColumn> feeColumns()
{
    using K = ListColumn::Kind;
    return {{QStringLiteral("take_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("should_pay"), QStringLiteral("应付款"), K::Decimal},
            {QStringLiteral("payment_real"), QStringLiteral("实付款"), K::Decimal},
            {QStringLiteral("start_num"), QStringLiteral("上次行数")},
            {QStringLiteral("end_num"), QStringLiteral("本次行数")},
            {QStringLiteral("take_date"), QStringLiteral("付款日期"), K::Date},
            {QStringLiteral("write_man"), QStringLiteral("制单人")}};
}

// Opening the list of all fee records in a grid: the first page only.
void BM_OpenMillionFeeRecords(benchmark::State& state)
{
    const ListQuery all{QStringLiteral("charge_take"), {}, {}, {QStringLiteral("take_id")}};
    const QSqlDatabase& db = feeRecords().db; // made before the timing starts
    for (auto _ : state) {
        QueryListModel model(feeColumns());
        model.setPageSize(256);
        model.load(db, all);
        QTableView view;
        view.setModel(&model);
        view.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_OpenMillionFeeRecords)->Unit(benchmark::kMillisecond);

// Scrolling on through the list: one more page of 256 rows, wherever the list stands.
void BM_NextPageOfMillionFeeRecords(benchmark::State& state)
{
    QueryListModel model(feeColumns());
    model.setPageSize(256);
    model.load(feeRecords().db, {QStringLiteral("charge_take"), {}, {}, {QStringLiteral("take_id")}});
    for (auto _ : state) {
        if (!model.canFetchMore())
            model.reload();
        model.fetchMore();
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_NextPageOfMillionFeeRecords)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runScreenBenchmarks(argc, argv, [] { estate(); });
}
