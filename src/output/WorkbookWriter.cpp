#include "output/WorkbookWriter.h"

#include "output/ExportedCell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kCaptionRow = 2;
constexpr lxw_row_t kFirstDataRow = 3;
constexpr lxw_col_t kBareTitleColumn = 2;
constexpr lxw_col_t kLastColumn = LXW_COL_MAX - 1;
// The sheet font and centring go on the columns of the list and on the columns
// up to Z at least, where the operator goes on typing. Formatting all 16,384
// columns would make the library walk every one of them for each row written.
constexpr lxw_col_t kFormattedColumns = 26;
// The longest text a cell holds.
constexpr qsizetype kMaxCellText = 32767;
// How often the progress callback is told, in rows.
constexpr qint64 kProgressInterval = 500;
// The page the sheet prints on: A4 (the spreadsheet's paper number 9) with the
// default margins of 0.7 inch left and right.
constexpr std::uint8_t kPaperA4 = 9;
constexpr double kPortraitWidthMm = 210 - 2 * 0.7 * 25.4;

struct WorkbookCloser
{
    void operator()(lxw_workbook* workbook) const
    {
        if (workbook)
            workbook_close(workbook);
    }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookCloser>;

// The cell formats of one workbook; null formats on the bare layout.
struct Formats
{
    lxw_format* sheet = nullptr; // every column: sheet font, centred
    lxw_format* title = nullptr;
    lxw_format* cell = nullptr;  // captions and data: sheet font, centred, thin border
    lxw_format* date = nullptr;  // a data cell holding a date
    lxw_format* money = nullptr; // a data cell holding an amount, shown with two decimals
};

Formats makeFormats(lxw_workbook* workbook, ExportDescription::Layout layout)
{
    Formats f;
    f.date = workbook_add_format(workbook);
    format_set_num_format(f.date, "yyyy-mm-dd");
    f.money = workbook_add_format(workbook);
    format_set_num_format(f.money, "0.00");
    if (layout == ExportDescription::Layout::DepartmentGoods)
        return f;

    const auto sheetFont = [](lxw_format* format) {
        format_set_font_name(format, "仿宋_GB2312");
        format_set_font_size(format, 10);
        format_set_align(format, LXW_ALIGN_CENTER);
    };
    f.sheet = workbook_add_format(workbook);
    sheetFont(f.sheet);

    f.title = workbook_add_format(workbook);
    format_set_font_name(f.title, "楷体_GB2312");
    format_set_font_size(f.title, 14);
    format_set_bold(f.title);
    format_set_align(f.title, LXW_ALIGN_CENTER);

    f.cell = workbook_add_format(workbook);
    sheetFont(f.cell);
    format_set_border(f.cell, LXW_BORDER_THIN);

    sheetFont(f.date);
    format_set_border(f.date, LXW_BORDER_THIN);
    sheetFont(f.money);
    format_set_border(f.money, LXW_BORDER_THIN);
    return f;
}

class SheetWriter
{
public:
    SheetWriter(lxw_worksheet* sheet, const Formats& formats) : m_sheet(sheet), m_formats(formats) {}

    lxw_error text(lxw_row_t row, lxw_col_t col, const QString& text, lxw_format* format) const
    {
        if (text.isEmpty())
            return blank(row, col, format);
        const QByteArray utf8 = (text.size() > kMaxCellText ? text.left(kMaxCellText) : text).toUtf8();
        return worksheet_write_string(m_sheet, row, col, utf8.constData(), format);
    }

    lxw_error blank(lxw_row_t row, lxw_col_t col, lxw_format* format) const
    {
        // A blank cell without a format is no cell at all.
        return format ? worksheet_write_blank(m_sheet, row, col, format) : LXW_NO_ERROR;
    }

    lxw_error number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format) const
    {
        return worksheet_write_number(m_sheet, row, col, value, format);
    }

    lxw_error date(lxw_row_t row, lxw_col_t col, const QDate& date) const
    {
        lxw_datetime dt{date.year(), date.month(), date.day(), 0, 0, 0};
        return worksheet_write_datetime(m_sheet, row, col, &dt, m_formats.date);
    }

private:
    lxw_worksheet* m_sheet;
    const Formats& m_formats;
};

// A data column with its field looked up once.
struct ResolvedColumn
{
    const ExportColumn* column;
    int field;
};

lxw_error writeValue(const SheetWriter& out, lxw_row_t row, lxw_col_t col, const ResolvedColumn& c,
                     const RecordSource& rows, const Formats& formats)
{
    const ExportedCell cell = ExportedCell::of(*c.column, c.field, rows);
    switch (cell.kind) {
    case ExportedCell::Kind::Date:
        return out.date(row, col, cell.date);
    case ExportedCell::Kind::Amount:
        return out.number(row, col, cell.number, formats.money);
    case ExportedCell::Kind::Number:
        return out.number(row, col, cell.number, formats.cell);
    case ExportedCell::Kind::Text:
        return out.text(row, col, cell.text, formats.cell);
    case ExportedCell::Kind::Blank:
        break;
    }
    return out.blank(row, col, formats.cell);
}

// Column widths and the sheet format as ranges that do not overlap.
lxw_error setColumns(lxw_worksheet* sheet, const ExportDescription& d, lxw_format* sheetFormat)
{
    lxw_col_t formatted = kFormattedColumns;
    formatted = std::max<lxw_col_t>(formatted, lxw_col_t(std::min<qsizetype>(d.columns.size(), LXW_COL_MAX)));
    formatted = std::max<lxw_col_t>(formatted, lxw_col_t(std::clamp(d.titleWidth, 0, int(LXW_COL_MAX))));
    std::vector<ExportColumnWidth> widths;
    for (const ExportColumnWidth& w : d.columnWidths) {
        if (w.column >= 1 && lxw_col_t(w.column - 1) <= kLastColumn)
            widths.push_back(w);
    }
    std::stable_sort(
        widths.begin(), widths.end(),
        [](const ExportColumnWidth& a, const ExportColumnWidth& b) { return a.column < b.column; });
    lxw_col_t next = 0; // first column not yet set
    for (const ExportColumnWidth& w : widths) {
        const lxw_col_t col = lxw_col_t(w.column - 1);
        if (col < next)
            continue; // the same column listed twice: the first width holds
        if (sheetFormat && col > next) {
            if (lxw_error e = worksheet_set_column(sheet, next, col - 1, LXW_DEF_COL_WIDTH, sheetFormat))
                return e;
        }
        if (lxw_error e = worksheet_set_column(sheet, col, col, w.width, sheetFormat))
            return e;
        next = col + 1;
    }
    if (sheetFormat && next < formatted)
        return worksheet_set_column(sheet, next, formatted - 1, LXW_DEF_COL_WIDTH, sheetFormat);
    return LXW_NO_ERROR;
}

lxw_error writeTitle(const SheetWriter& out, lxw_worksheet* sheet, const ExportDescription& d,
                     const Formats& formats)
{
    const QString title = ExportDescription::shownText(d.title);
    if (d.layout == ExportDescription::Layout::DepartmentGoods)
        return out.text(kTitleRow, kBareTitleColumn, title, nullptr);
    if (d.titleWidth <= 1)
        return out.text(kTitleRow, 0, title, formats.title);
    const lxw_col_t last = lxw_col_t(std::min<int>(d.titleWidth, LXW_COL_MAX) - 1);
    const QByteArray utf8 = title.toUtf8();
    return worksheet_merge_range(sheet, kTitleRow, 0, kTitleRow, last, utf8.constData(), formats.title);
}

// The columns the sheet uses: the list's, and those its title spans.
lxw_col_t usedColumns(const ExportDescription& d)
{
    const qsizetype title = d.layout == ExportDescription::Layout::DepartmentGoods
                                ? kBareTitleColumn + 1
                                : std::max(d.titleWidth, 1);
    return lxw_col_t(std::clamp<qsizetype>(std::max(d.columns.size(), title), 1, LXW_COL_MAX));
}

// How wide the used columns print, in millimetres: a width of w characters is
// 7w + 5 pixels at 96 dots to the inch.
double usedWidthMm(const ExportDescription& d, lxw_col_t columns)
{
    double pixels = 0;
    for (lxw_col_t c = 0; c < columns; ++c) {
        double width = LXW_DEF_COL_WIDTH;
        for (const ExportColumnWidth& w : d.columnWidths) {
            if (w.column == int(c) + 1) {
                width = w.width;
                break; // the first width listed holds
            }
        }
        pixels += width < 1 ? std::round(width * 12) : std::round(width * 7) + 5;
    }
    return pixels * 25.4 / 96;
}

// The printed sheet: A4, the used columns fitted to one page width (a title is
// never split over two pages), landscape when they are wider than a portrait page.
lxw_error setPage(lxw_worksheet* sheet, const ExportDescription& d, lxw_row_t lastRow)
{
    const lxw_col_t columns = usedColumns(d);
    worksheet_set_paper(sheet, kPaperA4);
    if (usedWidthMm(d, columns) > kPortraitWidthMm)
        worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    return worksheet_print_area(sheet, 0, 0, lastRow, columns - 1);
}

QString errorText(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

WorkbookWriter::Result WorkbookWriter::write(RecordSource& rows, const QString& path) const
{
    const ExportDescription& d = m_description;
    Result result;
    bool more = rows.first();
    if (!more && d.emptyCheck) {
        result.outcome = Outcome::EmptyList;
        return result;
    }
    if (QFileInfo::exists(path)) {
        result.error = u"文件已存在：" + path;
        return result;
    }

    // A name of our own beside the target, removed unless the workbook completes.
    const QFileInfo target(path);
    QTemporaryFile part(target.dir().filePath(QStringLiteral(".pelm-export-XXXXXX.xlsx")));
    if (!part.open()) {
        result.error = part.errorString();
        return result;
    }
    part.close();

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray partName = QFile::encodeName(part.fileName());
    WorkbookPtr workbook(workbook_new_opt(partName.constData(), &options));
    if (!workbook) {
        result.error = errorText(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return result;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), nullptr);
    QByteArray caption = d.windowCaption.toUtf8();
    lxw_doc_properties properties{};
    properties.title = caption.data(); // copied by the library
    workbook_set_properties(workbook.get(), &properties);

    const Formats formats = makeFormats(workbook.get(), d.layout);
    const SheetWriter out(sheet, formats);

    std::vector<ResolvedColumn> columns;
    for (const ExportColumn& column : d.columns)
        columns.push_back({&column, rows.fieldIndex(column.field)});

    lxw_error error = setColumns(sheet, d, formats.sheet);
    if (!error)
        error = writeTitle(out, sheet, d, formats);
    for (lxw_col_t c = 0; !error && c < columns.size(); ++c)
        error =
            out.text(kCaptionRow, c, ExportDescription::shownText(columns[c].column->caption), formats.cell);

    lxw_row_t row = kFirstDataRow;
    while (more && !error) {
        if (row - kFirstDataRow >= kMaxDataRows) {
            workbook.reset();
            result.outcome = Outcome::TooManyRows;
            result.rows = row - kFirstDataRow;
            result.error =
                QStringLiteral("列表超过一张工作表能放的行数（最多%1行），未写出文件。请缩小查询范围。")
                    .arg(kMaxDataRows);
            return result;
        }
        if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
            workbook.reset(); // closes the partial workbook; the temporary file goes with `part`
            result.outcome = Outcome::Cancelled;
            result.rows = row - kFirstDataRow;
            return result;
        }
        for (lxw_col_t c = 0; !error && c < columns.size(); ++c)
            error = writeValue(out, row, c, columns[c], rows, formats);
        ++row;
        const qint64 written = row - kFirstDataRow;
        if (m_progress && written % kProgressInterval == 0)
            m_progress(written);
        more = rows.next();
    }
    result.rows = row - kFirstDataRow;
    if (!error)
        error = setPage(sheet, d, std::max<lxw_row_t>(row, kFirstDataRow) - 1);
    if (error) {
        workbook.reset();
        result.error = errorText(error);
        return result;
    }
    if (m_progress)
        m_progress(result.rows);

    if (const lxw_error closed = workbook_close(workbook.release())) {
        result.error = errorText(closed);
        return result;
    }
    if (!part.rename(path)) {
        result.error = part.errorString();
        return result;
    }
    part.setAutoRemove(false);
    result.outcome = Outcome::Written;
    return result;
}
