#include "app/MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget* parentWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// A box without a caption of its own is captioned with the application's title.
QString captionOrTitle(const QString& caption)
{
    return caption.isEmpty() ? QStringLiteral("物业管理") : caption;
}

} // namespace

void MessageBoxes::information(const QString& text, const QString& caption, const QString& detail)
{
    QMessageBox box(QMessageBox::Information, captionOrTitle(caption), text, QMessageBox::Ok, parentWindow());
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

void MessageBoxes::error(const QString& text, const QString& caption, const QString& detail)
{
    QMessageBox box(QMessageBox::Critical, captionOrTitle(caption), text, QMessageBox::Ok, parentWindow());
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

bool MessageBoxes::confirm(const QString& text, const QString& caption, Buttons buttons)
{
    const bool okCancel = buttons == Buttons::OkCancel;
    const QMessageBox::StandardButton yes = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const QMessageBox::StandardButton no = okCancel ? QMessageBox::Cancel : QMessageBox::No;
    return QMessageBox::question(parentWindow(), captionOrTitle(caption), text, yes | no, yes) == yes;
}

std::optional<QString> MessageBoxes::askText(const QString& caption, const QString& prompt,
                                             const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), captionOrTitle(caption), prompt,
                                               QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}
