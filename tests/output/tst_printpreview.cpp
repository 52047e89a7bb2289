#include "PdfText.h"
#include "db/DbError.h"
#include "output/Fonts.h"
#include "output/ListReportLayouts.h"
#include "output/MemoryRecordSource.h"
#include "output/PrintPreview.h"
#include "output/ReportPaginator.h"
#include "output/ReportRenderer.h"
#include "output/StatementRecordSource.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QFileDialog>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

class TestPrintPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void previewOpensOnPageOneWithAPdfButton();
    void refusedStatementOpensNothing();
    void printsOnlyTheChosenPages();
    void screensGetTheRecordingPreview();
};

namespace {

MemoryRecordSource owners(int count)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QString("住户%1").arg(i), qlonglong(100 * i)});
    return MemoryRecordSource({"owner_name", "bail_money"}, rows);
}

} // namespace

void TestPrintPreview::previewOpensOnPageOneWithAPdfButton()
{
    TestDatabase t;
    PrintPreview preview(t.messages(), t.clock(), t.desktop());
    QWidget screen;
    MemoryRecordSource rows = owners(50);
    preview.preview(reports::rptOwner(), rows, &screen);

    auto* dialog = screen.findChild<QPrintPreviewDialog*>("dlgPreview");
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    auto* pages = dialog->findChild<QPrintPreviewWidget*>();
    QVERIFY(pages);
    QCOMPARE(pages->pageCount(), 2);
    QCOMPARE(pages->currentPage(), 1);
    QCOMPARE(dialog->printer()->pageLayout().pageSize().id(), QPageSize::A4);

    // The PDF button asks for a file name and writes the report there.
    auto* pdf = dialog->findChild<QAction*>("actPdf");
    QVERIFY(pdf);
    QCOMPARE(pdf->text(), "PDF");
    pdf->trigger();
    auto* files = dialog->findChild<QFileDialog*>("dlgSavePdf");
    QVERIFY(files);
    QVERIFY(files->selectedFiles().value(0).startsWith(t.desktop().exportsFolder()));
    QTemporaryDir dir;
    const QString path = dir.filePath("住户.pdf");
    files->selectFile(path);
    QMetaObject::invokeMethod(files, "accept");
    const QStringList texts = pdfPageTexts(path);
    QCOMPARE(texts.size(), 2);
    QVERIFY(texts[0].contains("住户信息一览表"));
    QVERIFY(texts[1].contains("总住户数:"));
    QCOMPARE(t.messages().texts(), QStringList());

    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!screen.findChild<QPrintPreviewDialog*>());
}

void TestPrintPreview::refusedStatementOpensNothing()
{
    TestDatabase t;
    PrintPreview preview(t.messages(), t.clock(), t.desktop());
    QWidget screen;
    // A device report asked for while no kind is chosen.
    StatementRecordSource rows(
        t.db(), "select a.*, b.type_name from device a, dev_type b where a.type_id = ? and", {1});
    QVERIFY_THROWS_EXCEPTION(DbError, preview.preview(reports::rptOwner(), rows, &screen));
    QVERIFY(!screen.findChild<QPrintPreviewDialog*>());
}

void TestPrintPreview::printsOnlyTheChosenPages()
{
    MemoryRecordSource rows = owners(50);
    const PlacedReport report = ReportPaginator(reports::rptOwner()).paginate(rows, QDate(2026, 12, 10));
    QTemporaryDir dir;
    const QString path = dir.filePath("page2.pdf");
    {
        QPdfWriter writer(path);
        QPageRanges second;
        second.addPage(2);
        writer.setPageRanges(second);
        QVERIFY(ReportRenderer(report).paint(writer));
    }
    const QStringList texts = pdfPageTexts(path);
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts[0].contains("总住户数:"));
    QVERIFY(!texts[0].contains("住户信息一览表"));
}

void TestPrintPreview::screensGetTheRecordingPreview()
{
    TestDatabase t;
    const ScreenContext context = t.context();
    MemoryRecordSource rows = owners(3);
    context.reports->preview(reports::rptOwner(), rows, nullptr);
    QCOMPARE(t.reports().last().layoutName, "rptOwner");
    const QStringList page = t.reports().pageTexts(0);
    QCOMPARE(page.first(), "住户信息一览表");
    QVERIFY(page.contains("住户3"));
    QCOMPARE(page.mid(page.indexOf("总住户数:"), 4), QStringList({"总住户数:", "3", "保证金:", "6.00"}));
    QCOMPARE(page.last(), "2026-12-10");
}

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
