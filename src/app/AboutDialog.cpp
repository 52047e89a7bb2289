#include "app/AboutDialog.h"

#include "app/BuiltInPicture.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TaboutFrm"));
    setWindowTitle(QStringLiteral("关于..."));

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(builtInPicture(QSize(160, 120))));

    auto* lines = new QVBoxLayout;
    const QString texts[] = {
        QStringLiteral("pelm 物业管理系统 %1").arg(QCoreApplication::applicationVersion()),
        QStringLiteral("作者：pelm 开发组"),
        QStringLiteral("联系电话：(020) 0000-0000"),
        QStringLiteral("电子邮件：support@pelm.invalid"),
    };
    for (const QString& text : texts)
        lines->addWidget(new QLabel(text, this));

    auto* close = new QPushButton(QStringLiteral("确定"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(lines);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(close, 0, Qt::AlignRight);
}
