#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Reads back what a test needs of a written .xlsx: the parts of the package,
// the cells, merges and columns of the first sheet, and the cell styles.
class WorkbookReader
{
public:
    struct Cell
    {
        QString type; // "s" (shared string), "inlineStr", "str", "n" or "" (number), "b"
        QString text; // the string, or the number as written
        int style = 0;
    };

    struct Style
    {
        QString fontName;
        double fontSize = 0;
        bool bold = false;
        QString horizontal;      // "center", or empty
        bool thinBorder = false; // thin on all four sides
        QString numberFormat;    // the format code, or empty for "General"
    };

    // How the sheet prints.
    struct PageSetup
    {
        int paperSize = 0; // 9: A4
        bool landscape = false;
        bool fitToPage = false;
        int fitToWidth = 1;  // pages across, when fitted
        int fitToHeight = 1; // pages down, when fitted; 0: as many as needed
        QString printArea;   // "$A$1:$M$5", or empty
    };

    struct Column
    {
        int min = 0;
        int max = 0;
        double width = 0;
        bool customWidth = false;
        int style = 0;
    };

    explicit WorkbookReader(const QString& path);

    bool isValid() const { return m_valid; }
    QStringList entries() const { return m_entries.keys(); }
    QByteArray entry(const QString& name) const { return m_entries.value(name); }

    int sheetCount() const;
    QString title() const; // docProps/core.xml dc:title

    std::optional<Cell> cell(const QString& ref) const;
    // The references of the cells of one row ("A4", "B4"...), in order.
    QStringList cellsOfRow(int row) const;
    int lastRow() const;
    QStringList merges() const { return m_merges; }
    // The <col> element that covers a column (from 1).
    std::optional<Column> column(int column) const;
    Style style(int index) const;
    PageSetup pageSetup() const { return m_pageSetup; }

private:
    void readSheet();
    void readStyles();

    bool m_valid = false;
    QMap<QString, QByteArray> m_entries;
    QStringList m_sharedStrings;
    QHash<QString, Cell> m_cells;
    QMap<int, QStringList> m_rows;
    QStringList m_merges;
    QList<Column> m_columns;
    QList<Style> m_styles;
    PageSetup m_pageSetup;
};
