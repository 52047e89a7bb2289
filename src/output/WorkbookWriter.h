#pragma once

#include "output/ExportDescription.h"
#include "output/RecordSource.h"

#include <QString>

#include <atomic>
#include <functional>

// Writes an exported list as an .xlsx workbook with libxlsxwriter, row after row
// in constant-memory mode, so that a list of any length needs little memory.
//
// The workbook is written under a temporary name beside `path` and renamed to
// `path` only when it is complete: a cancelled or failed export leaves no file.
class WorkbookWriter
{
public:
    enum class Outcome {
        Written,   // the workbook is at `path`
        EmptyList, // the description asks for the empty check and there is no row; nothing written
        Cancelled, // the cancel flag was raised; nothing written
        Failed,    // the file could not be written (see `error`); nothing written
        // The list has more rows than a sheet holds (see `error`, kMaxDataRows); nothing written.
        TooManyRows,
    };

    // The most data rows a sheet holds below its title and captions.
    static constexpr qint64 kMaxDataRows = 1048576 - 3;

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        qint64 rows = 0; // data rows written
        QString error;   // what went wrong, for a failed write or too many rows
    };

    // Called now and then with the number of data rows written so far.
    using Progress = std::function<void(qint64 rowsWritten)>;

    explicit WorkbookWriter(const ExportDescription& description) : m_description(description) {}

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Raised (from the progress callback or another thread), it stops the export
    // at the next row.
    void setCancelFlag(const std::atomic_bool* cancel) { m_cancel = cancel; }

    // Reads `rows` from their first record. Throws DbError when the source does;
    // nothing is left behind then either. `path` must not exist yet.
    Result write(RecordSource& rows, const QString& path) const;

private:
    const ExportDescription& m_description;
    Progress m_progress;
    const std::atomic_bool* m_cancel = nullptr;
};
