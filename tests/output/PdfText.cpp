#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

constexpr double kMmPerPoint = 25.4 / 72;

QByteArray runBytes(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QString run(const QString& program, const QStringList& arguments)
{
    return QString::fromUtf8(runBytes(program, arguments));
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

QList<PdfWord> pdfWords(const QString& path)
{
    QList<PdfWord> words;
    QXmlStreamReader xml(runBytes("pdftotext", {"-enc", "UTF-8", "-bbox-layout", path, "-"}));
    int page = -1;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == u"page") {
            ++page;
        } else if (xml.name() == u"word") {
            const auto a = xml.attributes();
            const QPointF topLeft(a.value("xMin").toDouble(), a.value("yMin").toDouble());
            const QPointF bottomRight(a.value("xMax").toDouble(), a.value("yMax").toDouble());
            words.append(
                {page, QRectF(topLeft * kMmPerPoint, bottomRight * kMmPerPoint), xml.readElementText()});
        }
    }
    return words;
}

QImage pdfPageImage(const QString& path, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    const QString number = QString::number(page + 1);
    QProcess process;
    process.start("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", number, "-l", number, "-singlefile",
                               path, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QImage(prefix + ".png");
}

QList<QSizeF> pdfPageSizes(const QString& path)
{
    QList<QSizeF> sizes;
    static const QRegularExpression size("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts");
    for (const QString& line : run("pdfinfo", {"-f", "1", "-l", "100000", path}).split('\n')) {
        const QRegularExpressionMatch m = size.match(line);
        if (m.hasMatch())
            sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) * kMmPerPoint;
    }
    return sizes;
}
