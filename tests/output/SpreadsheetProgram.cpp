#include "SpreadsheetProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

// One line of the program's CSV: fields separated by commas, quoted when they
// hold text (or a comma or a quote).
QList<SpreadsheetCell> csvFields(const QString& line)
{
    QList<SpreadsheetCell> fields;
    SpreadsheetCell field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field.shown += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field.shown += c;
            }
        } else if (c == u'"') {
            quoted = true;
            field.isText = true;
        } else if (c == u',') {
            fields << field;
            field = {};
        } else {
            field.shown += c;
        }
    }
    fields << field;
    while (!fields.isEmpty() && fields.last().shown.isEmpty())
        fields.removeLast();
    return fields;
}

// Runs LibreOffice on the workbook; returns the file it wrote into `dir`.
QString convert(const QString& workbookPath, const QString& filter, const QString& suffix,
                const QTemporaryDir& dir)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        throw std::runtime_error("LibreOffice Calc is needed: scripts/install-deps.sh --tests");
    QProcess process;
    process.start(office,
                  {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                   QStringLiteral("--outdir"), dir.path(), workbookPath});
    if (!process.waitForFinished(120000))
        throw std::runtime_error("LibreOffice did not finish converting the workbook");
    const QString written = dir.filePath(QFileInfo(workbookPath).completeBaseName() + suffix);
    if (!QFileInfo::exists(written))
        throw std::runtime_error("LibreOffice could not read the workbook: " +
                                 process.readAllStandardError().toStdString());
    return written;
}

QList<QList<SpreadsheetCell>> csvCells(const QString& workbookPath, bool quoteTexts)
{
    QTemporaryDir dir;
    // UTF-8 CSV, comma-separated, cells as shown (formatted), every sheet's first;
    // text cells quoted when asked.
    const QString filter = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,%1,true,true")
                               .arg(quoteTexts ? QStringLiteral("true") : QStringLiteral("false"));
    QFile csv(convert(workbookPath, filter, QStringLiteral(".csv"), dir));
    if (!csv.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read LibreOffice's CSV file");
    QList<QList<SpreadsheetCell>> rows;
    for (const QString& line : QString::fromUtf8(csv.readAll()).split(u'\n'))
        rows << csvFields(QString(line).remove(u'\r'));
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}

} // namespace

QList<QStringList> spreadsheetProgramRows(const QString& workbookPath)
{
    QList<QStringList> rows;
    for (const QList<SpreadsheetCell>& cells : csvCells(workbookPath, false)) {
        QStringList row;
        for (const SpreadsheetCell& cell : cells)
            row << cell.shown;
        rows << row;
    }
    return rows;
}

QList<QList<SpreadsheetCell>> spreadsheetProgramCells(const QString& workbookPath)
{
    return csvCells(workbookPath, true);
}

void spreadsheetProgramPdf(const QString& workbookPath, const QString& pdfPath)
{
    QTemporaryDir dir;
    const QString written = convert(workbookPath, QStringLiteral("pdf"), QStringLiteral(".pdf"), dir);
    QFile::remove(pdfPath);
    if (!QFile::copy(written, pdfPath))
        throw std::runtime_error("cannot keep LibreOffice's PDF file");
}
