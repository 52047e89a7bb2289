#include "EstateGenerator.h"
#include "ScreenBenchmarks.h"
#include "core/Clock.h"
#include "db/DatabaseFile.h"
#include "db/QueryListModel.h"
#include "queries/Arrears.h"
#include "queries/IncomeByType.h"
#include "queries/IncomeByTypeScreen.h"
#include "queries/PaymentRecords.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// 10,000 owners and a million fee records over a year, made once for the run.
struct Estate
{
    Estate()
    {
        path = dir.filePath(QStringLiteral("pelm.mdb"));
        database_file::create(path);
        QString error;
        context.db = database_file::open(path, QStringLiteral("bench"), &error);
        generateEstate(context.db, {.feeRecords = 1000000});
        context.messages = &messages;
        context.clock = &Clock::system();
        context.canWrite = true;
        sqlite3_open_v2(path.toUtf8().constData(), &direct, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Estate() { sqlite3_close(direct); }

    QTemporaryDir dir;
    QString path;
    SilentMessages messages;
    ScreenContext context;
    sqlite3* direct = nullptr;
};

Estate& estate()
{
    static Estate e;
    return e;
}

const Period kMarch{QDate(2025, 3, 1), QDate(2025, 3, 31)};
constexpr qlonglong kOwner = 4242;

// The list as a grid reads it: the statement run and every row read.
void readThroughTheModel(benchmark::State& state, const ListQuery& query, const QList<ListColumn>& columns)
{
    QueryListModel model(columns);
    for (auto _ : state) {
        model.load(estate().context.db, query);
        benchmark::DoNotOptimize(model.rowCount());
    }
}

// The same statement through the sqlite3 library: prepared, bound, stepped to the
// end, every value of every row read (as the grid needs them).
void readDirectly(benchmark::State& state, const ListQuery& query, const QList<ListColumn>& columns)
{
    QStringList fields;
    for (const ListColumn& c : columns)
        fields << u'"' + c.field + u'"';
    const QByteArray text = query.statement(fields).toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(estate().direct, text.constData(), -1, &statement, nullptr);
        for (int i = 0; i < query.values.size(); ++i) {
            const QVariant& v = query.values[i];
            if (v.typeId() == QMetaType::QString) {
                const QByteArray utf8 = v.toString().toUtf8();
                sqlite3_bind_text(statement, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(statement, i + 1, v.toLongLong());
            }
        }
        int rows = 0;
        qint64 read = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    read += sqlite3_column_int64(statement, c);
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    read += sqlite3_column_bytes(statement, c) + *sqlite3_column_text(statement, c);
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(read);
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(rows);
    }
}

void BM_PaymentRecords(benchmark::State& state)
{
    readThroughTheModel(state, payment_records::list(kOwner, kMarch), payment_records::columns());
}
void BM_PaymentRecordsDirect(benchmark::State& state)
{
    readDirectly(state, payment_records::list(kOwner, kMarch), payment_records::columns());
}
void BM_Arrears(benchmark::State& state)
{
    readThroughTheModel(state, arrears::list(kOwner, kMarch), arrears::columns());
}
void BM_ArrearsDirect(benchmark::State& state)
{
    readDirectly(state, arrears::list(kOwner, kMarch), arrears::columns());
}
void BM_IncomeByType(benchmark::State& state)
{
    readThroughTheModel(state, income_by_type::list(estate().context.db, kMarch), income_by_type::columns());
}
void BM_IncomeByTypeDirect(benchmark::State& state)
{
    readDirectly(state, income_by_type::list(estate().context.db, kMarch), income_by_type::columns());
}
BENCHMARK(BM_PaymentRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaymentRecordsDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arrears)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrearsDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncomeByType)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncomeByTypeDirect)->Unit(benchmark::kMillisecond);

// The income chart of the whole year, drawn from the million records.
void BM_IncomeChartOfAMillionRecords(benchmark::State& state)
{
    IncomeByTypeScreen screen(estate().context);
    screen.show();
    screen.findChild<QDateEdit*>(QStringLiteral("dtpStart"))->setDate(QDate(2025, 1, 1));
    screen.findChild<QDateEdit*>(QStringLiteral("dtpEnd"))->setDate(QDate(2025, 12, 31));
    auto* query = screen.findChild<QPushButton*>(QStringLiteral("btnQuery"));
    for (auto _ : state) {
        query->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_IncomeChartOfAMillionRecords)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runScreenBenchmarks(argc, argv, [] { estate(); });
}
