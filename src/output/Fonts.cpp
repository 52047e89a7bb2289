#include "output/Fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const QString kai = QStringLiteral("AR PL UKai CN");
    const QString ming = QStringLiteral("AR PL UMing CN");
    const QString hei = QStringLiteral("WenQuanYi Zen Hei");
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), {kai, hei});
    QFont::insertSubstitutions(QStringLiteral("楷体"), {kai, hei});
    QFont::insertSubstitutions(QStringLiteral("仿宋_GB2312"), {ming, hei});
    QFont::insertSubstitutions(QStringLiteral("仿宋"), {ming, hei});
    QFont::insertSubstitutions(QStringLiteral("宋体"), {ming, hei});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {hei, ming});
}

QString emojiFontFamily()
{
    return QStringLiteral("Noto Color Emoji");
}
