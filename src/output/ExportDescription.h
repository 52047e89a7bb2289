#pragma once

#include "db/ListQuery.h"
#include "output/FieldText.h"

#include <QList>
#include <QString>
#include <QStringList>

// One column of an exported list: its caption in row 3 and where the value of
// each data row comes from.
struct ExportColumn
{
    enum class Source {
        TextField, // the field's text, kept as text: "00123" keeps its zeros
        // The field's text, a number cell where the number reads back as that
        // same text ("12", "-3.5"; "0101" and "12.50" stay text); an amount
        // (FieldFormat::Decimal) a number cell shown with two decimals ("12.50").
        PlainField,
        DateField,   // the field's date as a date cell shown yyyy-mm-dd; none: an empty cell
        ScreenValue, // a text the screen holds (the chosen owner's name), kept as text
    };

    QString caption;
    Source source = Source::TextField;
    QString field;                           // the field read by the three field sources
    FieldFormat format = FieldFormat::Plain; // how the field's text is made (money in yuan)
    QString value;                           // the text of a screen value

    static ExportColumn text(QString caption, QString field, FieldFormat format = FieldFormat::Plain);
    static ExportColumn plain(QString caption, QString field, FieldFormat format = FieldFormat::Plain);
    static ExportColumn date(QString caption, QString field);
    static ExportColumn screenValue(QString caption, QString value);

    // The exported columns of a list's description, in its order, with their
    // captions and the way each is written.
    static QList<ExportColumn> listed(const QList<ListColumn>& columns);
};

// A width, in characters, that a column of the sheet gets; columns are counted from 1.
struct ExportColumnWidth
{
    int column = 1;
    double width = 0;
};

// What a list screen hands the spreadsheet export: which rows (the record source,
// given separately), how the sheet is labelled and laid out, and what to say when
// the workbook cannot be written or opened.
//
// The sheet: the title in row 1, merged over the first `titleWidth` columns,
// centred, "楷体_GB2312" 14 bold; row 2 empty; the captions in row 3; one row per
// record from row 4; every caption and data cell framed by a thin border; the
// columns (those of the list, and A to Z at least) centred in "仿宋_GB2312" 10.
// Printed, the used columns (the list's and those the title spans) fit one A4
// page width, landscape when they are wider than a portrait page.
struct ExportDescription
{
    // Which sheet of a new workbook the office's spreadsheet filled: a new sheet
    // in front of the default ones (standard) or the first default sheet (the
    // office-goods lists). A written workbook holds the one sheet either way.
    enum class Family { Standard, OfficeGoods };

    // The department-goods list is written bare: its title alone in row 1,
    // column 3, without merging, sheet font, centring or borders.
    enum class Layout { Framed, DepartmentGoods };

    bool emptyCheck = true; // an empty list stops the export with "没有数据可打印！"
    QString windowCaption = QStringLiteral("物业管理报表"); // the workbook's title property
    QString title;                                          // row 1; a leading "'" is not shown
    int titleWidth = 13;                                    // columns row 1 is merged over
    QList<ExportColumnWidth> columnWidths;                  // the others keep the default width
    QList<ExportColumn> columns;                            // columns 1..n, in order
    Family family = Family::Standard;
    Layout layout = Layout::Framed;
    // Shown when the workbook cannot be written or opened.
    QString failureText = QStringLiteral("Excel 运行失败，请重新登录WINDOWS ！");

    QStringList captions() const;

    // A title or caption as the sheet shows it: a leading apostrophe (which marks
    // a typed text in a spreadsheet) is not shown.
    static QString shownText(const QString& typed);

    // The department goods of one department: title "<department>办公用品清单" in
    // cell (1, 3), plain values, no empty check, the failure text of that list.
    static ExportDescription departmentGoods(const QString& departmentName, QList<ExportColumn> columns);
};
