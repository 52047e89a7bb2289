#pragma once

#include "output/ExportDescription.h"
#include "output/RecordSource.h"

#include <QString>

#include <functional>

class QIODevice;

// Writes an exported list as CSV: UTF-8 with a byte-order mark (what a
// spreadsheet program in a Chinese office opens correctly), the captions in the
// first line and one line per record, quoted as RFC 4180 says (a field holding a
// comma, a quote or a line break in quotes, its quotes doubled; lines end in
// CR LF). Each field is the text the workbook's cell shows: amounts with two
// decimals ("12.50"), dates "yyyy-MM-dd", texts as they are. The title, which
// the workbook puts above the captions, is not written: a CSV file is a table.
class CsvWriter
{
public:
    struct Result
    {
        bool written = false; // false: the list is empty and the description asks for the check,
                              // or the device refused a write (see `error`)
        qint64 rows = 0;
        QString error;
    };

    // Called now and then with the number of data rows written so far.
    using Progress = std::function<void(qint64 rowsWritten)>;

    explicit CsvWriter(const ExportDescription& description) : m_description(description) {}

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Reads `rows` from their first record and writes to `out`, which is open for
    // writing. Throws DbError when the source does.
    Result write(RecordSource& rows, QIODevice& out) const;

    // One field as the file holds it.
    static QString quoted(const QString& field);

private:
    const ExportDescription& m_description;
    Progress m_progress;
};
