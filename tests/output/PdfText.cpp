#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QStringList pdfPageTexts(const QString& path)
{
    const QString text = run("pdftotext", {"-enc", "UTF-8", path, "-"});
    if (text.isEmpty())
        return {};
    QStringList pages = text.split(QChar('\f'));
    if (pages.size() > 1 && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& page : pages)
        page.remove(QRegularExpression("\\s"));
    return pages;
}

QStringList pdfFonts(const QString& path)
{
    return run("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2);
}
