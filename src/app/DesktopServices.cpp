#include "app/DesktopServices.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

QString DesktopServices::exportsFolder() const
{
    const QString folder = QDir::current().absoluteFilePath(QStringLiteral("exports"));
    QDir().mkpath(folder);
    return folder;
}

bool DesktopServices::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
