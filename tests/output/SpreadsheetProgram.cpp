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
// hold a comma or a quote.
QStringList csvFields(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    while (!fields.isEmpty() && fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

} // namespace

QList<QStringList> spreadsheetProgramRows(const QString& workbookPath)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        throw std::runtime_error("LibreOffice Calc is needed: scripts/install-deps.sh --tests");
    QTemporaryDir dir;
    QProcess convert;
    // UTF-8 CSV, comma-separated, cells as shown (formatted), every sheet's first.
    convert.start(office,
                  {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true"),
                   QStringLiteral("--outdir"), dir.path(), workbookPath});
    if (!convert.waitForFinished(120000))
        throw std::runtime_error("LibreOffice did not finish converting the workbook");
    QFile csv(dir.filePath(QFileInfo(workbookPath).completeBaseName() + QStringLiteral(".csv")));
    if (!csv.open(QIODevice::ReadOnly))
        throw std::runtime_error("LibreOffice could not read the workbook: " +
                                 convert.readAllStandardError().toStdString());
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(csv.readAll()).split(u'\n'))
        rows << csvFields(QString(line).remove(u'\r'));
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}
