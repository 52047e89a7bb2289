#include "output/ExportFileName.h"

#include <QDir>
#include <QFileInfo>

namespace export_file_name {

namespace {

// Long enough for any title of the office, short enough for every file system.
constexpr qsizetype kMaxTitleLength = 80;

bool isForbidden(QChar c)
{
    return c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
           c == u'"' || c == u'<' || c == u'>' || c == u'|' || c.unicode() == 0x7f;
}

} // namespace

QString baseName(const QString& title, const QDateTime& when)
{
    QString name = title.trimmed();
    if (name.startsWith(u'\''))
        name.remove(0, 1);
    for (QChar& c : name) {
        if (isForbidden(c))
            c = u'_';
    }
    name = name.left(kMaxTitleLength).trimmed();
    // A name of dots alone ("." or "..") names a folder.
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("导出");
    return name + u'_' + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

QString uniquePath(const QString& folder, const QString& base, const QString& suffix)
{
    const QDir dir(folder);
    QString path = dir.filePath(base + suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + u'(' + QString::number(n) + u')' + suffix);
    return path;
}

} // namespace export_file_name
