#include "base/Owner.h"
#include "db/DatabaseFile.h"
#include "db/PinyinCollation.h"
#include "db/Sql.h"
#include "output/Fonts.h"
#include "output/ListReportLayouts.h"
#include "output/MemoryRecordSource.h"
#include "output/ReportPaginator.h"
#include "output/ReportRenderer.h"
#include "output/StatementRecordSource.h"
#include "output/WorkbookWriter.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unicode/ucol.h>
#include <xlsxwriter.h>

#include <cstring>

#include <string>
#include <vector>

namespace {

constexpr int kExportRows = 100000;
constexpr int kOwners = 10000;

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// A payment list of 11 columns as the payment-records screen exports it.
const QStringList kFields = {s("take_id"),      s("owner_name"), s("type_name"), s("should_pay"),
                             s("payment_real"), s("owe_money"),  s("start_num"), s("end_num"),
                             s("take_date"),    s("link_tel"),   s("remarks")};

QList<QVariantList> paymentRows()
{
    QList<QVariantList> rows;
    rows.reserve(kExportRows);
    const QDate first(2020, 1, 1);
    for (int i = 0; i < kExportRows; ++i) {
        rows.append({i + 1, QString(s("北京华信科技有限公司") + QString::number(i % 997)), s("物业管理费"),
                     qlonglong(45050 + i % 100), qlonglong(40000 + i % 50), qlonglong(-5050 - i % 50),
                     QString::number(1000 + i).rightJustified(6, u'0'),
                     QString::number(1100 + i).rightJustified(6, u'0'),
                     first.addDays(i % 2000).toString(Qt::ISODate),
                     QString(s("010-8888") + QString::number(i % 10000)),
                     i % 3 == 0 ? QVariant() : QVariant(s("按月缴纳"))});
    }
    return rows;
}

ExportDescription paymentDescription()
{
    ExportDescription d;
    d.title = s("缴费记录清单");
    d.columnWidths = {{1, 6}, {2, 10}};
    d.columns = {ExportColumn::text(s("序号"), s("take_id")),
                 ExportColumn::text(s("住户名称"), s("owner_name")),
                 ExportColumn::text(s("费用名"), s("type_name")),
                 ExportColumn::text(s("应付款"), s("should_pay"), FieldFormat::Decimal),
                 ExportColumn::text(s("实付款"), s("payment_real"), FieldFormat::Decimal),
                 ExportColumn::plain(s("欠款金额"), s("owe_money"), FieldFormat::Decimal),
                 ExportColumn::text(s("本次抄数"), s("end_num")),
                 ExportColumn::text(s("上次抄数"), s("start_num")),
                 ExportColumn::date(s("付款日期"), s("take_date")),
                 ExportColumn::text(s("联系电话"), s("link_tel")),
                 ExportColumn::text(s("备注"), s("remarks"))};
    return d;
}

// The export through the record source and the writer, as a screen runs it.
void exportWorkbook(benchmark::State& state)
{
    MemoryRecordSource rows(kFields, paymentRows());
    const ExportDescription d = paymentDescription();
    QTemporaryDir dir;
    for (auto _ : state) {
        const QString path = dir.filePath(s("export.xlsx"));
        const WorkbookWriter::Result result = WorkbookWriter(d).write(rows, path);
        if (result.outcome != WorkbookWriter::Outcome::Written)
            state.SkipWithError("export failed");
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kExportRows);
}
BENCHMARK(exportWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime();

// libxlsxwriter writing the same cells with the same formats, from values already
// converted: what the export costs at the least.
void libxlsxwriterAlone(benchmark::State& state)
{
    struct Row
    {
        std::vector<std::string> texts; // the ten text columns, empty for a blank cell
        double owed;
        lxw_datetime date;
    };
    std::vector<Row> rows;
    for (const QVariantList& r : paymentRows()) {
        Row row;
        const QDate date = QDate::fromString(r[8].toString(), Qt::ISODate);
        row.date = {date.year(), date.month(), date.day(), 0, 0, 0};
        row.owed = r[5].toLongLong() / 100.0;
        for (int c : {0, 1, 2})
            row.texts.push_back(r[c].toString().toStdString());
        row.texts.push_back(QString::number(r[3].toLongLong() / 100.0, 'f', 2).toStdString());
        row.texts.push_back(QString::number(r[4].toLongLong() / 100.0, 'f', 2).toStdString());
        for (int c : {7, 6, 9, 10})
            row.texts.push_back(r[c].toString().toStdString());
        rows.push_back(std::move(row));
    }
    QTemporaryDir dir;
    const std::string path = QFile::encodeName(dir.filePath(s("direct.xlsx"))).toStdString();
    for (auto _ : state) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
        lxw_format* column = workbook_add_format(workbook);
        format_set_font_name(column, "仿宋_GB2312");
        format_set_font_size(column, 10);
        format_set_align(column, LXW_ALIGN_CENTER);
        lxw_format* title = workbook_add_format(workbook);
        format_set_font_name(title, "楷体_GB2312");
        format_set_font_size(title, 14);
        format_set_bold(title);
        format_set_align(title, LXW_ALIGN_CENTER);
        lxw_format* cell = workbook_add_format(workbook);
        format_set_font_name(cell, "仿宋_GB2312");
        format_set_font_size(cell, 10);
        format_set_align(cell, LXW_ALIGN_CENTER);
        format_set_border(cell, LXW_BORDER_THIN);
        lxw_format* date = workbook_add_format(workbook);
        format_set_font_name(date, "仿宋_GB2312");
        format_set_font_size(date, 10);
        format_set_align(date, LXW_ALIGN_CENTER);
        format_set_border(date, LXW_BORDER_THIN);
        format_set_num_format(date, "yyyy-mm-dd");
        worksheet_set_column(sheet, 0, 0, 6, column);
        worksheet_set_column(sheet, 1, 1, 10, column);
        worksheet_set_column(sheet, 2, 25, LXW_DEF_COL_WIDTH, column);
        worksheet_merge_range(sheet, 0, 0, 0, 12, "缴费记录清单", title);
        for (lxw_col_t c = 0; c < 11; ++c)
            worksheet_write_string(sheet, 2, c, "表头", cell);
        lxw_row_t r = 3;
        for (const Row& row : rows) {
            lxw_col_t c = 0;
            for (int t = 0; t < 9; ++t, ++c) {
                if (c == 5) {
                    worksheet_write_number(sheet, r, c, row.owed, cell);
                    ++c;
                }
                if (c == 8) {
                    worksheet_write_datetime(sheet, r, c, const_cast<lxw_datetime*>(&row.date), date);
                    ++c;
                }
                if (row.texts[t].empty())
                    worksheet_write_blank(sheet, r, c, cell);
                else
                    worksheet_write_string(sheet, r, c, row.texts[t].c_str(), cell);
            }
            ++r;
        }
        if (workbook_close(workbook) != LXW_NO_ERROR)
            state.SkipWithError("libxlsxwriter failed");
        state.PauseTiming();
        QFile::remove(QFile::decodeName(path.c_str()));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kExportRows);
}
BENCHMARK(libxlsxwriterAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same export read from the database by a statement, end to end.
void exportWorkbookFromDatabase(benchmark::State& state)
{
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(s("QSQLITE"), s("bench"));
        db.setDatabaseName(dir.filePath(s("bench.db")));
        db.open();
        sql::exec(db,
                  s("create table pay (take_id integer, owner_name text, type_name text, should_pay integer, "
                    "payment_real integer, owe_money integer, start_num text, end_num text, take_date text, "
                    "link_tel text, remarks text)"));
        sql::exec(db, s("begin"));
        for (const QVariantList& row : paymentRows())
            sql::exec(db, s("insert into pay values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"), row);
        sql::exec(db, s("commit"));
        StatementRecordSource rows(db, s("select * from pay where take_id > ? order by take_id"), {0});
        const ExportDescription d = paymentDescription();
        for (auto _ : state) {
            const QString path = dir.filePath(s("export.xlsx"));
            if (WorkbookWriter(d).write(rows, path).outcome != WorkbookWriter::Outcome::Written)
                state.SkipWithError("export failed");
            state.PauseTiming();
            QFile::remove(path);
            state.ResumeTiming();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(s("bench"));
    state.SetItemsProcessed(state.iterations() * kExportRows);
}
BENCHMARK(exportWorkbookFromDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

MemoryRecordSource ownerRows()
{
    QList<QVariantList> rows;
    for (int i = 0; i < kOwners; ++i) {
        rows.append({QString(s("北京华信科技有限公司") + QString::number(i)), s("王五"), s("010-88886666"),
                     s("A"), qlonglong(150000 + i), s("李六 13900001111")});
    }
    return MemoryRecordSource(
        {s("owner_name"), s("linker"), s("link_tel"), s("credit"), s("bail_money"), s("jjlink")}, rows);
}

// The owner list of 10,000 owners laid out and printed to a PDF file.
void ownerListToPdf(benchmark::State& state)
{
    MemoryRecordSource rows = ownerRows();
    const ReportLayout layout = reports::rptOwner();
    QTemporaryDir dir;
    for (auto _ : state) {
        const PlacedReport report = ReportPaginator(layout).paginate(rows, QDate(2026, 12, 10));
        if (!ReportRenderer(report).writePdf(dir.filePath(s("owners.pdf"))))
            state.SkipWithError("PDF not written");
        state.counters[s("pages").toStdString()] = double(report.pages.size());
    }
    state.SetItemsProcessed(state.iterations() * kOwners);
}
BENCHMARK(ownerListToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The layout alone, without painting.
void ownerListPagination(benchmark::State& state)
{
    MemoryRecordSource rows = ownerRows();
    const ReportLayout layout = reports::rptOwner();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReportPaginator(layout).paginate(rows, QDate(2026, 12, 10)));
    state.SetItemsProcessed(state.iterations() * kOwners);
}
BENCHMARK(ownerListPagination)->Unit(benchmark::kMillisecond)->UseRealTime();

// A pelm database with 10,000 owners of made-up but realistic names: people
// (surname and given name) and companies (place, trade, form), with the
// collation PINYIN on its connection and two more for comparison.
class OwnerNames
{
public:
    OwnerNames()
    {
        const QString path = m_dir.filePath(s("pelm.mdb"));
        database_file::create(path);
        QString error;
        m_db = database_file::open(path, s("bench-names"), &error);
        registerPinyinCollation(m_db);
        const QString surnames =
            s("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘"
              "于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江"
              "尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤");
        const QString given = s("伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华建国志红");
        const QStringList places{s("北京"), s("上海"), s("深圳"), s("广州"), s("杭州"), s("成都"), s("武汉")};
        const QStringList trades{s("华信科技"), s("宏达贸易"), s("万通物流"), s("安居置业"),
                                 s("金桥咨询"), s("鼎盛餐饮"), s("博雅设计"), s("中联建设")};
        const QStringList forms{s("有限公司"), s("股份有限公司"), s("工作室"), s("商行")};
        QRandomGenerator random(20261210);
        Transaction transaction(m_db);
        for (int i = 0; i < kOwners; ++i) {
            QString name;
            if (i % 3 == 0) {
                name = places[random.bounded(int(places.size()))] +
                       trades[random.bounded(int(trades.size()))] + forms[random.bounded(int(forms.size()))];
            } else {
                name = surnames[random.bounded(int(surnames.size()))];
                for (int k = random.bounded(1, 3); k > 0; --k)
                    name += given[random.bounded(int(given.size()))];
            }
            sql::exec(m_db, s("insert into owner_info (owner_name, in_out) values (?, ?)"),
                      {name, s("居住")});
        }
        transaction.commit();

        sqlite3* handle = *static_cast<sqlite3* const*>(m_db.driver()->handle().constData());
        UErrorCode status = U_ZERO_ERROR;
        m_icu = ucol_open("zh@collation=pinyin", &status);
        sqlite3_create_collation_v2(handle, "ICU_ALONE", SQLITE_UTF8, m_icu, icuAlone, nullptr);
        m_qt.setLocale(QLocale(QLocale::Chinese, QLocale::China));
        sqlite3_create_collation_v2(handle, "QCOLLATOR", SQLITE_UTF8, &m_qt, qtCollator, nullptr);
    }
    ~OwnerNames() { ucol_close(m_icu); }

    // Reads the owner register's list (number and name) in the given order.
    void read(benchmark::State& state, const ListQuery& list)
    {
        for (auto _ : state) {
            QSqlQuery q = sql::exec(m_db, list.statement({s("owner_id"), s("owner_name")}), list.values);
            int rows = 0;
            for (; q.next(); ++rows)
                benchmark::DoNotOptimize(q.value(1));
            if (rows != kOwners)
                state.SkipWithError("owners missing");
        }
        state.SetItemsProcessed(state.iterations() * kOwners);
    }

    // The register's list ordered by name through `collation`, or by code point.
    static ListQuery byName(const QString& collation)
    {
        ListQuery q = owner_store::list(owner_store::Occupants::All, owner_store::OwnerOrder::ByNumber);
        q.orderBy.prepend(collation.isEmpty() ? s("owner_name") : s("owner_name COLLATE ") + collation);
        return q;
    }

private:
    static int ties(int aSize, const void* a, int bSize, const void* b)
    {
        const int c = std::memcmp(a, b, std::size_t(std::min(aSize, bSize)));
        return c != 0 ? c : aSize - bSize;
    }
    static int icuAlone(void* collator, int aSize, const void* a, int bSize, const void* b)
    {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r =
            ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(a), aSize,
                             static_cast<const char*>(b), bSize, &status);
        return r != UCOL_EQUAL ? int(r) : ties(aSize, a, bSize, b);
    }
    static int qtCollator(void* collator, int aSize, const void* a, int bSize, const void* b)
    {
        const int r =
            static_cast<QCollator*>(collator)->compare(QString::fromUtf8(static_cast<const char*>(a), aSize),
                                                       QString::fromUtf8(static_cast<const char*>(b), bSize));
        return r != 0 ? r : ties(aSize, a, bSize, b);
    }

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    UCollator* m_icu = nullptr;
    QCollator m_qt;
};

OwnerNames& ownerNames()
{
    static OwnerNames names;
    return names;
}

// 10,000 owner names by code point (the order before pinyin) and by pinyin, side
// by side: the register's list as the grid reads it. ICU alone (without the
// table of weights) and QCollator show what the collation's shortcut saves.
void ownerNamesByCodePoint(benchmark::State& state)
{
    ownerNames().read(state, OwnerNames::byName({}));
}
BENCHMARK(ownerNamesByCodePoint)->Unit(benchmark::kMillisecond);

// The same by code point, sorted as the pinyin order must be: without the index
// on the name, whose order (RTRIM) the sort by the column's own order reads.
void ownerNamesByCodePointSorted(benchmark::State& state)
{
    ownerNames().read(state, OwnerNames::byName(s("BINARY")));
}
BENCHMARK(ownerNamesByCodePointSorted)->Unit(benchmark::kMillisecond);

void ownerNamesByPinyin(benchmark::State& state)
{
    ownerNames().read(state, owner_store::list(owner_store::Occupants::All, owner_store::OwnerOrder::ByName));
}
BENCHMARK(ownerNamesByPinyin)->Unit(benchmark::kMillisecond);

void ownerNamesByIcuAlone(benchmark::State& state)
{
    ownerNames().read(state, OwnerNames::byName(s("ICU_ALONE")));
}
BENCHMARK(ownerNamesByIcuAlone)->Unit(benchmark::kMillisecond);

void ownerNamesByQCollator(benchmark::State& state)
{
    ownerNames().read(state, OwnerNames::byName(s("QCOLLATOR")));
}
BENCHMARK(ownerNamesByQCollator)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
