#include "PdfText.h"
#include "SpreadsheetProgram.h"
#include "WorkbookReader.h"
#include "db/DbError.h"
#include "output/MemoryRecordSource.h"
#include "output/WorkbookWriter.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestWorkbookWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void smallListReadsBack();
    void cellValues_data();
    void cellValues();
    void departmentGoodsIsWrittenBare();
    void emptyListStopsWhenChecked();
    void cancelLeavesNoFile();
    void failedWriteLeavesNoFile();
    void sourceErrorLeavesNoFile();
    void moreRowsThanASheetHoldsLeavesNoFile();
    void spreadsheetProgramReadsIt();
    void plainCellsReadBackAsWritten();
    void sheetPrintsOnePageWide_data();
    void sheetPrintsOnePageWide();
};

namespace {

using Source = ExportColumn::Source;

// Rows of the staff list: name, department, telephone, birthday, deposit (fen), years.
MemoryRecordSource staff()
{
    return MemoryRecordSource({"emp_name", "dept_name", "link_tel", "birthday", "bail_money", "years"},
                              {
                                  {"张三", "工程部", "00123", "1980-05-17", 125050, 12},
                                  {"李四", "保安部", "13900001111", QVariant(), QVariant(), 3},
                              });
}

ExportDescription staffDescription()
{
    ExportDescription d;
    d.title = "部门员工资料";
    d.titleWidth = 11;
    d.columnWidths = {{1, 16}, {2, 6}, {3, 10}, {4, 10}};
    d.columns = {
        ExportColumn::text("姓名", "emp_name"),
        ExportColumn::text("部门", "dept_name"),
        ExportColumn::text("联系电话", "link_tel"),
        ExportColumn::date("出生日期", "birthday"),
        ExportColumn::text("保证金", "bail_money", FieldFormat::Decimal),
        ExportColumn::plain("工龄", "years"),
        ExportColumn::screenValue("备注", "在职"),
    };
    return d;
}

// Days from the spreadsheet's day zero, as a date cell holds them.
QString serial(const QDate& date)
{
    return QString::number(QDate(1899, 12, 30).daysTo(date));
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A source whose database goes away after the first rows.
class FailingSource final : public RecordSource
{
public:
    bool first() override
    {
        m_row = 0;
        return true;
    }
    bool next() override
    {
        if (++m_row == 700)
            throw DbError(QString("disk I/O error"));
        return true;
    }
    int fieldIndex(const QString&) const override { return 0; }
    QVariant value(int) const override { return m_row; }

private:
    int m_row = 0;
};

} // namespace

void TestWorkbookWriter::smallListReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("员工.xlsx");
    MemoryRecordSource rows = staff();
    const ExportDescription d = staffDescription();
    const WorkbookWriter::Result result = WorkbookWriter(d).write(rows, path);
    QCOMPARE(result.outcome, WorkbookWriter::Outcome::Written);
    QCOMPARE(result.rows, 2);

    const WorkbookReader book(path);
    QVERIFY(book.isValid());
    QCOMPARE(book.sheetCount(), 1);
    QCOMPARE(book.title(), "物业管理报表");

    // Row 1: the title, merged over the title width although there are 7 columns.
    QCOMPARE(book.merges(), QStringList{"A1:K1"});
    QCOMPARE(book.cell("A1")->text, "部门员工资料");
    const WorkbookReader::Style title = book.style(book.cell("A1")->style);
    QCOMPARE(title.fontName, "楷体_GB2312");
    QCOMPARE(title.fontSize, 14.0);
    QVERIFY(title.bold);
    QCOMPARE(title.horizontal, "center");

    // Row 2 empty, captions in row 3, data from row 4, framed and centred in the sheet font.
    QVERIFY(book.cellsOfRow(2).isEmpty());
    QStringList captions;
    for (const QString& ref : book.cellsOfRow(3)) {
        captions << book.cell(ref)->text;
        const WorkbookReader::Style s = book.style(book.cell(ref)->style);
        QCOMPARE(s.fontName, "仿宋_GB2312");
        QCOMPARE(s.fontSize, 10.0);
        QCOMPARE(s.horizontal, "center");
        QVERIFY(s.thinBorder);
    }
    QCOMPARE(captions, d.captions());
    QCOMPARE(book.lastRow(), 5);
    QCOMPARE(book.cellsOfRow(4).size(), 7);
    QCOMPARE(book.cellsOfRow(5).size(), 7); // the empty date and deposit are framed cells too
    for (const QString& ref : book.cellsOfRow(5))
        QVERIFY(book.style(book.cell(ref)->style).thinBorder);

    // Texts keep their zeros, dates are date cells, an empty date is an empty cell.
    QCOMPARE(book.cell("C4")->text, "00123");
    QVERIFY(book.cell("C4")->type == "inlineStr" || book.cell("C4")->type == "s");
    QCOMPARE(book.cell("D4")->type, "");
    QCOMPARE(book.cell("D4")->text, serial(QDate(1980, 5, 17)));
    QCOMPARE(book.style(book.cell("D4")->style).numberFormat, "yyyy-mm-dd");
    QCOMPARE(book.cell("D5")->text, "");
    QCOMPARE(book.cell("E4")->text, "1250.50");
    QCOMPARE(book.cell("E5")->text, "");
    QCOMPARE(book.cell("F4")->type, "");
    QCOMPARE(book.cell("F4")->text, "12");
    QCOMPARE(book.cell("G5")->text, "在职");

    // Widths where the description sets them; every column in the sheet font.
    QCOMPARE(int(book.column(1)->width), 16);
    QVERIFY(book.column(1)->customWidth);
    QCOMPARE(int(book.column(2)->width), 6);
    QCOMPARE(int(book.column(4)->width), 10);
    QVERIFY(!book.column(5)->customWidth);
    for (int c : {1, 5, 11, 26})
        QCOMPARE(book.style(book.column(c)->style).fontName, "仿宋_GB2312");
}

void TestWorkbookWriter::cellValues_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("format");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("type"); // "text", "number", "amount", "date" or "empty"
    QTest::addColumn<QString>("text");

    const int text = int(Source::TextField);
    const int plain = int(Source::PlainField);
    const int date = int(Source::DateField);
    const int asIs = int(FieldFormat::Plain);
    const int money = int(FieldFormat::Decimal);
    QTest::newRow("text keeps zeros") << text << asIs << QVariant("00123") << "text"
                                      << "00123";
    QTest::newRow("text of a number") << text << asIs << QVariant(42) << "text"
                                      << "42";
    QTest::newRow("text of money") << text << money << QVariant(qlonglong(-18000)) << "text"
                                   << "-180.00";
    QTest::newRow("text missing") << text << asIs << QVariant() << "empty"
                                  << "";
    QTest::newRow("plain number") << plain << asIs << QVariant(42) << "number"
                                  << "42";
    QTest::newRow("plain number text") << plain << asIs << QVariant("42") << "number"
                                       << "42";
    QTest::newRow("plain negative decimal") << plain << asIs << QVariant("-3.5") << "number"
                                            << "-3.5";
    QTest::newRow("plain real") << plain << asIs << QVariant(2.5) << "number"
                                << "2.5";
    QTest::newRow("plain eleven digits") << plain << asIs << QVariant("13900001111") << "number"
                                         << "13900001111";
    // A number would not read back as these texts: they stay text.
    QTest::newRow("plain leading zeros") << plain << asIs << QVariant("00123") << "text"
                                         << "00123";
    QTest::newRow("plain room number") << plain << asIs << QVariant("0101") << "text"
                                       << "0101";
    QTest::newRow("plain decimal zero") << plain << asIs << QVariant("12.50") << "text"
                                        << "12.50";
    QTest::newRow("plain plus sign") << plain << asIs << QVariant("+7") << "text"
                                     << "+7";
    QTest::newRow("plain exponent") << plain << asIs << QVariant("1e5") << "text"
                                    << "1e5";
    QTest::newRow("plain twelve digits") << plain << asIs << QVariant("139000011112") << "text"
                                         << "139000011112";
    QTest::newRow("plain identity card") << plain << asIs << QVariant("110101198005170012") << "text"
                                         << "110101198005170012";
    QTest::newRow("plain words") << plain << asIs << QVariant("3号楼") << "text"
                                 << "3号楼";
    // Amounts are numbers shown with their two decimals.
    QTest::newRow("plain money") << plain << money << QVariant(qlonglong(1250)) << "amount"
                                 << "12.5";
    QTest::newRow("plain money negative") << plain << money << QVariant(qlonglong(-18000)) << "amount"
                                          << "-180";
    QTest::newRow("plain money as text") << plain << money << QVariant("12.50") << "text"
                                         << "12.50";
    QTest::newRow("plain money missing") << plain << money << QVariant() << "empty"
                                         << "";
    QTest::newRow("date") << date << asIs << QVariant("2026-12-10") << "date" << serial(QDate(2026, 12, 10));
    QTest::newRow("date and time") << date << asIs << QVariant("2026-12-10 09:30:00") << "date"
                                   << serial(QDate(2026, 12, 10));
    QTest::newRow("date missing") << date << asIs << QVariant() << "empty"
                                  << "";
    QTest::newRow("date empty text") << date << asIs << QVariant("") << "empty"
                                     << "";
    QTest::newRow("date not a date") << date << asIs << QVariant("下月初") << "text"
                                     << "下月初";
    QTest::newRow("date impossible") << date << asIs << QVariant("2026-02-30") << "text"
                                     << "2026-02-30";
}

void TestWorkbookWriter::cellValues()
{
    QFETCH(int, source);
    QFETCH(int, format);
    QFETCH(QVariant, value);
    QFETCH(QString, type);
    QFETCH(QString, text);

    ExportDescription d;
    d.title = "值";
    d.columns = {{"值", Source(source), "value", FieldFormat(format), {}}};
    MemoryRecordSource rows({"value"}, {{value}});
    QTemporaryDir dir;
    const QString path = dir.filePath("x.xlsx");
    QCOMPARE(WorkbookWriter(d).write(rows, path).outcome, WorkbookWriter::Outcome::Written);

    const WorkbookReader book(path);
    const std::optional<WorkbookReader::Cell> cell = book.cell("A4");
    QVERIFY(cell);
    QCOMPARE(cell->text, text);
    const QString numberFormat = book.style(cell->style).numberFormat;
    if (type == "text")
        QVERIFY2(cell->type == "inlineStr" || cell->type == "s", qPrintable(cell->type));
    else if (type == "number")
        QVERIFY(cell->type.isEmpty() && numberFormat.isEmpty());
    else if (type == "amount")
        QVERIFY(cell->type.isEmpty() && numberFormat == "0.00");
    else if (type == "date")
        QVERIFY(cell->type.isEmpty() && numberFormat == "yyyy-mm-dd");
    else
        QVERIFY(cell->type.isEmpty() && cell->text.isEmpty());
    QVERIFY(book.style(cell->style).thinBorder);
}

void TestWorkbookWriter::departmentGoodsIsWrittenBare()
{
    const ExportDescription d = ExportDescription::departmentGoods(
        "财务部", {ExportColumn::plain("序号", "id"), ExportColumn::plain("用品名称", "goods_name"),
                   ExportColumn::plain("数量", "goods_num"), ExportColumn::plain("备注", "remark")});
    QTemporaryDir dir;

    // An empty list still gives its sheet: the title cell and the captions.
    MemoryRecordSource none({"id", "goods_name", "goods_num", "remark"}, {});
    QCOMPARE(WorkbookWriter(d).write(none, dir.filePath("empty.xlsx")).outcome,
             WorkbookWriter::Outcome::Written);
    const WorkbookReader empty(dir.filePath("empty.xlsx"));
    QCOMPARE(empty.cellsOfRow(1), QStringList{"C1"});
    QCOMPARE(empty.cell("C1")->text, "财务部办公用品清单");
    QCOMPARE(empty.cellsOfRow(3).size(), 4);
    QCOMPARE(empty.lastRow(), 3);

    MemoryRecordSource goods({"id", "goods_name", "goods_num", "remark"}, {{7, "订书机", 2.0, "蓝色"}});
    QCOMPARE(WorkbookWriter(d).write(goods, dir.filePath("goods.xlsx")).outcome,
             WorkbookWriter::Outcome::Written);
    const WorkbookReader book(dir.filePath("goods.xlsx"));
    QVERIFY(book.merges().isEmpty());
    QVERIFY(!book.column(1)); // no sheet format
    for (const QString& ref : book.cellsOfRow(1) + book.cellsOfRow(3) + book.cellsOfRow(4)) {
        const WorkbookReader::Style s = book.style(book.cell(ref)->style);
        QVERIFY2(!s.thinBorder && !s.bold && s.horizontal.isEmpty() && s.fontName != "仿宋_GB2312",
                 qPrintable(ref));
    }
    QCOMPARE(book.cell("A4")->text, "7");
    QCOMPARE(book.cell("C4")->text, "2");
    QCOMPARE(book.cell("D4")->text, "蓝色");
}

void TestWorkbookWriter::emptyListStopsWhenChecked()
{
    QTemporaryDir dir;
    MemoryRecordSource none({"emp_name"}, {});
    const WorkbookWriter::Result result =
        WorkbookWriter(staffDescription()).write(none, dir.filePath("x.xlsx"));
    QCOMPARE(result.outcome, WorkbookWriter::Outcome::EmptyList);
    QVERIFY(filesIn(dir.path()).isEmpty());
}

void TestWorkbookWriter::cancelLeavesNoFile()
{
    QList<QVariantList> many;
    for (int i = 0; i < 5000; ++i)
        many.append({QString::number(i)});
    MemoryRecordSource rows({"emp_name"}, many);
    QTemporaryDir dir;
    std::atomic_bool cancel = false;
    QList<qint64> told;
    const ExportDescription d = staffDescription();
    WorkbookWriter writer(d);
    writer.setCancelFlag(&cancel);
    writer.setProgress([&](qint64 written) {
        told << written;
        cancel = written >= 1000;
    });
    const WorkbookWriter::Result result = writer.write(rows, dir.filePath("x.xlsx"));
    QCOMPARE(result.outcome, WorkbookWriter::Outcome::Cancelled);
    QCOMPARE(told, QList<qint64>({500, 1000}));
    QCOMPARE(filesIn(dir.path()), QStringList());
}

void TestWorkbookWriter::failedWriteLeavesNoFile()
{
    QTemporaryDir dir;
    MemoryRecordSource rows = staff();
    const ExportDescription d = staffDescription();

    const WorkbookWriter::Result missingFolder = WorkbookWriter(d).write(rows, dir.filePath("gone/x.xlsx"));
    QCOMPARE(missingFolder.outcome, WorkbookWriter::Outcome::Failed);
    QVERIFY(!missingFolder.error.isEmpty());

    // A file of that name is never overwritten.
    QFile existing(dir.filePath("x.xlsx"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    QCOMPARE(WorkbookWriter(d).write(rows, existing.fileName()).outcome, WorkbookWriter::Outcome::Failed);
    QCOMPARE(filesIn(dir.path()), QStringList{"x.xlsx"});
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), "mine");
}

void TestWorkbookWriter::sourceErrorLeavesNoFile()
{
    QTemporaryDir dir;
    FailingSource rows;
    ExportDescription d;
    d.columns = {ExportColumn::plain("序号", "n")};
    QVERIFY_THROWS_EXCEPTION(DbError, WorkbookWriter(d).write(rows, dir.filePath("x.xlsx")));
    QCOMPARE(filesIn(dir.path()), QStringList());
}

// Rows numbered 1, 2, ... up to `count`, made as they are read.
class CountingSource final : public RecordSource
{
public:
    explicit CountingSource(qint64 count) : m_count(count) {}
    bool first() override { return (m_at = 1) <= m_count; }
    bool next() override { return ++m_at <= m_count; }
    int fieldIndex(const QString&) const override { return 0; }
    QVariant value(int) const override { return m_at; }

private:
    qint64 m_count;
    qint64 m_at = 0;
};

// A sheet holds 1,048,576 rows: a list longer than its room below the title and
// captions is refused whole, with a reason the office reads, instead of the
// library's English error or a sheet that ends without a word.
void TestWorkbookWriter::moreRowsThanASheetHoldsLeavesNoFile()
{
    QTemporaryDir dir;
    ExportDescription d;
    d.columns = {ExportColumn::plain("序号", "n")};
    CountingSource fits(WorkbookWriter::kMaxDataRows);
    QCOMPARE(WorkbookWriter(d).write(fits, dir.filePath("fits.xlsx")).outcome,
             WorkbookWriter::Outcome::Written);

    CountingSource tooMany(WorkbookWriter::kMaxDataRows + 1);
    const WorkbookWriter::Result refused = WorkbookWriter(d).write(tooMany, dir.filePath("x.xlsx"));
    QCOMPARE(refused.outcome, WorkbookWriter::Outcome::TooManyRows);
    QCOMPARE(refused.error,
             QString("列表超过一张工作表能放的行数（最多1048573行），未写出文件。请缩小查询范围。"));
    QCOMPARE(filesIn(dir.path()), QStringList{"fits.xlsx"});
}

// LibreOffice opens the workbook and reads back the title, the captions, the
// texts with their zeros and the date as a date.
void TestWorkbookWriter::spreadsheetProgramReadsIt()
{
    QTemporaryDir dir;
    MemoryRecordSource rows = staff();
    QCOMPARE(WorkbookWriter(staffDescription()).write(rows, dir.filePath("staff.xlsx")).outcome,
             WorkbookWriter::Outcome::Written);
    const QList<QStringList> sheet = spreadsheetProgramRows(dir.filePath("staff.xlsx"));
    QVERIFY(sheet.size() >= 5);
    QCOMPARE(sheet[0].value(0), QString("部门员工资料"));
    QCOMPARE(sheet[2].mid(0, 4), (QStringList{"姓名", "部门", "联系电话", "出生日期"}));
    QCOMPARE(sheet[3], (QStringList{"张三", "工程部", "00123", "1980-05-17", "1250.50", "12", "在职"}));
    QCOMPARE(sheet[4], (QStringList{"李四", "保安部", "13900001111", "", "", "3", "在职"}));
}

// Through the spreadsheet program, every plain value reads back as the text the
// list showed: a number where the number shows that text, text where it would not.
void TestWorkbookWriter::plainCellsReadBackAsWritten()
{
    struct Case
    {
        QVariant value;
        FieldFormat format;
        QString shown;
        bool isText;
    };
    const QList<Case> cases{
        {"0101", FieldFormat::Plain, "0101", true},
        {"12.50", FieldFormat::Plain, "12.50", true},
        {"+7", FieldFormat::Plain, "+7", true},
        {"139000011112", FieldFormat::Plain, "139000011112", true},
        {"42", FieldFormat::Plain, "42", false},
        {-3.5, FieldFormat::Plain, "-3.5", false},
        {"13900001111", FieldFormat::Plain, "13900001111", false},
        {qlonglong(1250), FieldFormat::Decimal, "12.50", false},
        {qlonglong(-9999999999), FieldFormat::Decimal, "-99999999.99", false},
    };
    ExportDescription d;
    d.title = "值";
    QStringList fields;
    QVariantList values;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        fields << QString("f%1").arg(i);
        values << cases[i].value;
        d.columns << ExportColumn::plain(QString::number(i), fields.last(), cases[i].format);
    }
    MemoryRecordSource rows(fields, {values});
    QTemporaryDir dir;
    QCOMPARE(WorkbookWriter(d).write(rows, dir.filePath("plain.xlsx")).outcome,
             WorkbookWriter::Outcome::Written);
    const QList<SpreadsheetCell> read = spreadsheetProgramCells(dir.filePath("plain.xlsx")).value(3);
    QCOMPARE(read.size(), cases.size());
    for (qsizetype i = 0; i < cases.size(); ++i)
        QCOMPARE(read[i], (SpreadsheetCell{cases[i].shown, cases[i].isText}));
}

void TestWorkbookWriter::sheetPrintsOnePageWide_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("titleWidth");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QString>("printArea");
    QTest::newRow("thirteen columns: landscape") << 9 << 13 << true << "$A$1:$M$5";
    QTest::newRow("six columns: portrait") << 3 << 6 << false << "$A$1:$F$5";
    QTest::newRow("wider than landscape: made smaller") << 30 << 13 << true << "$A$1:$AD$5";
}

// Printed from the spreadsheet program, the sheet is one page wide: the title
// and every column on the first page, landscape when the columns are wider than
// a portrait page.
void TestWorkbookWriter::sheetPrintsOnePageWide()
{
    QFETCH(int, columns);
    QFETCH(int, titleWidth);
    QFETCH(bool, landscape);
    QFETCH(QString, printArea);

    ExportDescription d;
    d.title = "物业管理系统房间资料";
    d.titleWidth = titleWidth;
    d.columnWidths = {{1, 10}};
    QStringList fields;
    QVariantList values;
    for (int c = 1; c <= columns; ++c) {
        fields << QString("f%1").arg(c);
        values << QString("值%1").arg(c);
        d.columns << ExportColumn::text(QString("列%1").arg(c), fields.last());
    }
    MemoryRecordSource rows(fields, {values, values});
    QTemporaryDir dir;
    const QString path = dir.filePath("wide.xlsx");
    QCOMPARE(WorkbookWriter(d).write(rows, path).outcome, WorkbookWriter::Outcome::Written);

    const WorkbookReader::PageSetup page = WorkbookReader(path).pageSetup();
    QCOMPARE(page.paperSize, 9);
    QCOMPARE(page.landscape, landscape);
    QVERIFY(page.fitToPage);
    QCOMPARE(page.fitToWidth, 1);
    QCOMPARE(page.fitToHeight, 0);
    QCOMPARE(page.printArea, printArea);

    const QString pdf = dir.filePath("wide.pdf");
    spreadsheetProgramPdf(path, pdf);
    const QList<QSizeF> sizes = pdfPageSizes(pdf);
    QCOMPARE(sizes.size(), 1);
    QCOMPARE(sizes[0].width() > sizes[0].height(), landscape);
    QCOMPARE(qRound(std::max(sizes[0].width(), sizes[0].height())), 297);
    const QString printed = pdfPageTexts(pdf).value(0);
    QVERIFY2(printed.contains("物业管理系统房间资料"), qPrintable(printed));
    QVERIFY2(printed.contains(QString("列%1").arg(columns)), qPrintable(printed));
}

QTEST_MAIN(TestWorkbookWriter)
#include "tst_workbookwriter.moc"
