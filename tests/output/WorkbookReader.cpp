#include "WorkbookReader.h"

#include <QFile>
#include <QXmlStreamReader>

#include <unzip.h>

namespace {

QMap<QString, QByteArray> readZip(const QString& path, bool* ok)
{
    QMap<QString, QByteArray> entries;
    *ok = false;
    unzFile zip = unzOpen(QFile::encodeName(path).constData());
    if (!zip)
        return entries;
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
        char name[512];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            unzClose(zip);
            return entries;
        }
        QByteArray data;
        char buffer[65536];
        int n = 0;
        while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, n);
        unzCloseCurrentFile(zip);
        if (n < 0) {
            unzClose(zip);
            return entries;
        }
        entries.insert(QString::fromUtf8(name), data);
        status = unzGoToNextFile(zip);
    }
    unzClose(zip);
    *ok = status == UNZ_END_OF_LIST_OF_FILE;
    return entries;
}

// The text of the element the reader stands on, with the text of its children.
QString elementText(QXmlStreamReader& xml)
{
    return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

int rowOf(const QString& ref)
{
    qsizetype i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    return ref.mid(i).toInt();
}

} // namespace

WorkbookReader::WorkbookReader(const QString& path)
{
    m_entries = readZip(path, &m_valid);
    if (!m_valid)
        return;
    QXmlStreamReader strings(m_entries.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd()) {
        if (strings.readNextStartElement() && strings.name() == u"si")
            m_sharedStrings << elementText(strings);
    }
    readSheet();
    readStyles();
    QXmlStreamReader book(m_entries.value(QStringLiteral("xl/workbook.xml")));
    while (!book.atEnd()) {
        if (book.readNextStartElement() && book.name() == u"definedName" &&
            book.attributes().value(QLatin1StringView("name")) == u"_xlnm.Print_Area") {
            m_pageSetup.printArea = elementText(book).section(u'!', 1);
        }
    }
}

void WorkbookReader::readSheet()
{
    QXmlStreamReader xml(m_entries.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == u"col") {
            m_columns << Column{a.value(QLatin1StringView("min")).toInt(),
                                a.value(QLatin1StringView("max")).toInt(),
                                a.value(QLatin1StringView("width")).toDouble(),
                                a.value(QLatin1StringView("customWidth")) == u"1",
                                a.value(QLatin1StringView("style")).toInt()};
        } else if (xml.name() == u"pageSetUpPr") {
            m_pageSetup.fitToPage = a.value(QLatin1StringView("fitToPage")) == u"1";
        } else if (xml.name() == u"pageSetup") {
            m_pageSetup.paperSize = a.value(QLatin1StringView("paperSize")).toInt();
            m_pageSetup.landscape = a.value(QLatin1StringView("orientation")) == u"landscape";
            if (a.hasAttribute(QLatin1StringView("fitToWidth")))
                m_pageSetup.fitToWidth = a.value(QLatin1StringView("fitToWidth")).toInt();
            if (a.hasAttribute(QLatin1StringView("fitToHeight")))
                m_pageSetup.fitToHeight = a.value(QLatin1StringView("fitToHeight")).toInt();
        } else if (xml.name() == u"mergeCell") {
            m_merges << a.value(QLatin1StringView("ref")).toString();
        } else if (xml.name() == u"c") {
            const QString ref = a.value(QLatin1StringView("r")).toString();
            Cell cell{
                a.value(QLatin1StringView("t")).toString(), {}, a.value(QLatin1StringView("s")).toInt()};
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v" || xml.name() == u"is")
                    cell.text = elementText(xml);
                else
                    xml.skipCurrentElement();
            }
            if (cell.type == u"s")
                cell.text = m_sharedStrings.value(cell.text.toInt());
            m_cells.insert(ref, cell);
            m_rows[rowOf(ref)] << ref;
        }
    }
}

void WorkbookReader::readStyles()
{
    struct Font
    {
        QString name;
        double size = 0;
        bool bold = false;
    };
    QList<Font> fonts;
    QList<bool> borders;
    // The built-in formats a workbook names by number alone.
    QHash<int, QString> formats{{1, QStringLiteral("0")}, {2, QStringLiteral("0.00")}};
    QXmlStreamReader xml(m_entries.value(QStringLiteral("xl/styles.xml")));
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            inCellXfs = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == u"numFmt") {
            formats.insert(a.value(QLatin1StringView("numFmtId")).toInt(),
                           a.value(QLatin1StringView("formatCode")).toString());
        } else if (xml.name() == u"font") {
            Font font;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"b")
                    font.bold = true;
                else if (xml.name() == u"sz")
                    font.size = xml.attributes().value(QLatin1StringView("val")).toDouble();
                else if (xml.name() == u"name")
                    font.name = xml.attributes().value(QLatin1StringView("val")).toString();
                xml.skipCurrentElement();
            }
            fonts << font;
        } else if (xml.name() == u"border") {
            int thin = 0;
            while (xml.readNextStartElement()) {
                if (xml.attributes().value(QLatin1StringView("style")) == u"thin" &&
                    (xml.name() == u"left" || xml.name() == u"right" || xml.name() == u"top" ||
                     xml.name() == u"bottom"))
                    ++thin;
                xml.skipCurrentElement();
            }
            borders << (thin == 4);
        } else if (xml.name() == u"cellXfs") {
            inCellXfs = true;
        } else if (xml.name() == u"xf" && inCellXfs) {
            Style style;
            const Font font = fonts.value(a.value(QLatin1StringView("fontId")).toInt());
            style.fontName = font.name;
            style.fontSize = font.size;
            style.bold = font.bold;
            style.thinBorder = borders.value(a.value(QLatin1StringView("borderId")).toInt());
            style.numberFormat = formats.value(a.value(QLatin1StringView("numFmtId")).toInt());
            while (xml.readNextStartElement()) {
                if (xml.name() == u"alignment")
                    style.horizontal = xml.attributes().value(QLatin1StringView("horizontal")).toString();
                xml.skipCurrentElement();
            }
            m_styles << style;
        }
    }
}

int WorkbookReader::sheetCount() const
{
    int count = 0;
    QXmlStreamReader xml(m_entries.value(QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
        if (xml.readNextStartElement() && xml.name() == u"sheet")
            ++count;
    }
    return count;
}

QString WorkbookReader::title() const
{
    QXmlStreamReader xml(m_entries.value(QStringLiteral("docProps/core.xml")));
    while (!xml.atEnd()) {
        if (xml.readNextStartElement() && xml.name() == u"title")
            return elementText(xml);
    }
    return {};
}

std::optional<WorkbookReader::Cell> WorkbookReader::cell(const QString& ref) const
{
    const auto found = m_cells.find(ref);
    if (found == m_cells.end())
        return std::nullopt;
    return *found;
}

QStringList WorkbookReader::cellsOfRow(int row) const
{
    return m_rows.value(row);
}

int WorkbookReader::lastRow() const
{
    return m_rows.isEmpty() ? 0 : m_rows.lastKey();
}

std::optional<WorkbookReader::Column> WorkbookReader::column(int column) const
{
    for (const Column& c : m_columns) {
        if (column >= c.min && column <= c.max)
            return c;
    }
    return std::nullopt;
}

WorkbookReader::Style WorkbookReader::style(int index) const
{
    return m_styles.value(index);
}
