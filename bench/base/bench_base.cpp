#include "EstateGenerator.h"
#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"
#include "core/Clock.h"
#include "db/DatabaseFile.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Messages that nobody reads: the benchmarks show none.
class SilentMessages final : public Messages
{
public:
    void information(const QString&, const QString&) override {}
    void error(const QString& text, const QString&, const QString&) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    bool confirm(const QString&, const QString&, Buttons) override { return true; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

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

} // namespace

// The offscreen platform warns about every window it shows; keep the report readable.
static void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.contains(QStringLiteral("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "", qPrintable(message));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreenWarnings);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    estate();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
