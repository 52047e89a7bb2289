#include "output/CsvWriter.h"

#include "output/ExportedCell.h"

#include <QIODevice>

#include <vector>

namespace {

constexpr qint64 kProgressInterval = 500;
// Lines are gathered and handed to the device in pieces of about this size.
constexpr qsizetype kChunkBytes = 64 * 1024;

} // namespace

QString CsvWriter::quoted(const QString& field)
{
    const bool needsQuotes =
        field.contains(u',') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r');
    if (!needsQuotes)
        return field;
    QString doubled = field;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

CsvWriter::Result CsvWriter::write(RecordSource& rows, QIODevice& out) const
{
    Result result;
    bool more = rows.first();
    if (!more && m_description.emptyCheck)
        return result;

    QByteArray chunk("\xEF\xBB\xBF"); // the byte-order mark
    const auto flush = [&](bool always) {
        if (chunk.isEmpty() || (!always && chunk.size() < kChunkBytes))
            return true;
        if (out.write(chunk) != chunk.size()) {
            result.error = out.errorString();
            return false;
        }
        chunk.clear();
        return true;
    };
    const auto endLine = [&](QStringList& fields) {
        chunk += fields.join(u',').toUtf8();
        chunk += "\r\n";
        fields.clear();
    };

    QStringList fields;
    std::vector<int> indexes;
    for (const ExportColumn& column : m_description.columns) {
        fields << quoted(ExportDescription::shownText(column.caption));
        indexes.push_back(rows.fieldIndex(column.field));
    }
    endLine(fields);

    while (more) {
        for (qsizetype c = 0; c < m_description.columns.size(); ++c)
            fields << quoted(ExportedCell::of(m_description.columns[c], indexes[std::size_t(c)], rows).text);
        endLine(fields);
        ++result.rows;
        if (!flush(false))
            return result;
        if (m_progress && result.rows % kProgressInterval == 0)
            m_progress(result.rows);
        more = rows.next();
    }
    if (!flush(true))
        return result;
    if (m_progress)
        m_progress(result.rows);
    result.written = true;
    return result;
}
