#pragma once

#include "admin/Mail.h"
#include "gui/Screen.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// One message: written anew, or read (and replied to). Receivers are operators'
// names separated by ";"; a department's operators can be added from a list.
class MessageWindow : public ScreenDialog
{
    Q_OBJECT
public:
    // `read` is the message opened, or none to write one.
    MessageWindow(const ScreenContext& context, const std::optional<Message>& read, QWidget* parent);

Q_SIGNALS:
    // Messages were stored: one row per receiver.
    void sent(const mail_store::Sent& rows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDepartments();
    void addDepartment();
    void reply();
    void send();

    QLineEdit* m_sender;
    QLineEdit* m_receivers;
    QLineEdit* m_subject;
    QPlainTextEdit* m_contents;
    QListWidget* m_departments;
};
