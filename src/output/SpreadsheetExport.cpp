#include "output/SpreadsheetExport.h"

#include "db/DbError.h"
#include "output/ExportFileName.h"
#include "output/WorkbookWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>

#include <atomic>
#include <memory>

namespace {

// An export shorter than this shows no progress dialog.
constexpr qint64 kQuietMilliseconds = 400;

} // namespace

bool exportList(const ScreenContext& context, const ExportDescription& description, RecordSource& rows,
                QWidget* parent)
{
    const QString folder = context.desktop->exportsFolder();
    QDir().mkpath(folder);
    const QString title = description.title.isEmpty() ? description.windowCaption : description.title;
    const QString path = export_file_name::uniquePath(
        folder, export_file_name::baseName(title, context.clock->now()), QStringLiteral(".xlsx"));

    // The progress dialog is made only once the export has taken a moment, and
    // gone before any message box shows.
    std::unique_ptr<QProgressDialog> progress;
    std::atomic_bool cancel = false;
    QElapsedTimer clock;
    clock.start();

    WorkbookWriter writer(description);
    writer.setCancelFlag(&cancel);
    writer.setProgress([&](qint64 written) {
        if (!progress && clock.elapsed() > kQuietMilliseconds) {
            progress = std::make_unique<QProgressDialog>(QString(), QStringLiteral("取消"), 0, 0, parent);
            progress->setWindowTitle(description.windowCaption);
            progress->setWindowModality(Qt::WindowModal);
            progress->show();
        }
        if (!progress)
            return;
        progress->setLabelText(QStringLiteral("正在导出……已写入 %1 行").arg(written));
        QCoreApplication::processEvents();
        if (progress->wasCanceled())
            cancel = true;
    });

    WorkbookWriter::Result result;
    try {
        result = writer.write(rows, path);
    } catch (const DbError& e) {
        progress.reset();
        context.messages->error(e.text(), {}, e.detail());
        return false;
    }
    progress.reset();

    switch (result.outcome) {
    case WorkbookWriter::Outcome::EmptyList:
        context.messages->error(QStringLiteral("没有数据可打印！"));
        return false;
    case WorkbookWriter::Outcome::Cancelled:
        return false;
    case WorkbookWriter::Outcome::Failed:
        context.messages->error(description.failureText);
        return false;
    case WorkbookWriter::Outcome::TooManyRows:
        context.messages->error(result.error);
        return false;
    case WorkbookWriter::Outcome::Written:
        break;
    }
    if (!context.desktop->openFile(path)) {
        context.messages->error(description.failureText);
        return false;
    }
    return true;
}
