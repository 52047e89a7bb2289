#include "output/PrintPreview.h"

#include "output/ExportFileName.h"
#include "output/ReportLayout.h"
#include "output/ReportPaginator.h"
#include "output/ReportRenderer.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include <memory>

void PrintPreview::preview(const ReportLayout& layout, RecordSource& source, QWidget* parent)
{
    auto report =
        std::make_shared<const PlacedReport>(ReportPaginator(layout).paginate(source, m_clock.today()));

    auto* dialog = new QPrintPreviewDialog(parent);
    dialog->setObjectName(QStringLiteral("dlgPreview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(layout.title);
    dialog->printer()->setPageLayout(report->pageLayout);
    dialog->printer()->setDocName(layout.title);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [report](QPrinter* printer) { ReportRenderer(*report).paint(*printer); });

    int width = dialog->width();
    if (auto* toolBar = dialog->findChild<QToolBar*>()) {
        toolBar->addSeparator();
        QAction* pdf = toolBar->addAction(QStringLiteral("PDF"));
        pdf->setObjectName(QStringLiteral("actPdf"));
        pdf->setToolTip(QStringLiteral("保存为 PDF 文件"));
        QObject::connect(pdf, &QAction::triggered, dialog,
                         [this, dialog, report] { askForPdf(dialog, report); });
        width = qMax(width, toolBar->sizeHint().width() + 20);
    }
    // Wide enough for every button, tall enough to show a whole page.
    if (const QScreen* screen = dialog->screen()) {
        const QRect room = screen->availableGeometry();
        dialog->resize(qMin(room.width(), qMax(width, room.height() * 3 / 4)), room.height() * 9 / 10);
    }
    dialog->open();
    if (auto* pages = dialog->findChild<QPrintPreviewWidget*>())
        pages->setCurrentPage(1);
}

void PrintPreview::askForPdf(QPrintPreviewDialog* dialog, const std::shared_ptr<const PlacedReport>& report)
{
    const QString suggested = export_file_name::uniquePath(
        m_desktop.exportsFolder(), export_file_name::baseName(report->title, m_clock.now()),
        QStringLiteral(".pdf"));
    auto* files = new QFileDialog(dialog, QStringLiteral("保存为 PDF 文件"), suggested,
                                  QStringLiteral("PDF 文件 (*.pdf)"));
    files->setObjectName(QStringLiteral("dlgSavePdf"));
    files->setAttribute(Qt::WA_DeleteOnClose);
    files->setAcceptMode(QFileDialog::AcceptSave);
    files->setDefaultSuffix(QStringLiteral("pdf"));
    files->selectFile(suggested);
    QObject::connect(files, &QFileDialog::fileSelected, dialog, [this, report](const QString& path) {
        if (!ReportRenderer(*report).writePdf(path))
            m_messages.error(QStringLiteral("PDF 文件无法写入：") + QDir::toNativeSeparators(path));
    });
    files->open();
}
