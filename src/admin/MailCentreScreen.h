#pragma once

#include "admin/Mail.h"
#include "gui/Screen.h"

class QTreeWidget;

// The operator's mailbox: read, write, delete, clear. The list is read when the
// window opens; what others send meanwhile shows when it is opened again.
class MailCentreScreen : public Screen
{
    Q_OBJECT
public:
    explicit MailCentreScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showList();
    void openMessage(bool read);
    void removeSelected();
    void clearMailbox();
    int selectedIndex() const;

    QTreeWidget* m_list;
    QList<Message> m_mailbox; // as read when the window opened, with what changed since
};
