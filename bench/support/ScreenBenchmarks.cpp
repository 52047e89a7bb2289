#include "ScreenBenchmarks.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

void SilentMessages::information(const QString& text, const QString&, const QString&)
{
    std::fprintf(stderr, "information: %s\n", qPrintable(text));
}

void SilentMessages::error(const QString& text, const QString&, const QString&)
{
    std::fprintf(stderr, "error: %s\n", qPrintable(text));
}

bool SilentMessages::confirm(const QString&, const QString&, Buttons)
{
    return true;
}

std::optional<QString> SilentMessages::askText(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

namespace {

// The offscreen platform warns about every window it shows; keep the report readable.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.contains(QStringLiteral("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "", qPrintable(message));
}

} // namespace

int runScreenBenchmarks(int argc, char** argv, const std::function<void()>& prepare)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreenWarnings);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    prepare();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
