#pragma once

#include "app/OperatorAccounts.h"

#include <QDialog>
#include <QSqlDatabase>

class Messages;
class QLineEdit;
class QPushButton;

// The login dialog: operator code and password, three attempts, and the way to
// change one's own password. An empty operator table first receives the default
// administrator. Shown modally by the main window at start-up and at a change of
// operator; after Accepted, login() holds who logged in.
class LoginDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxAttempts = 3;

    LoginDialog(QSqlDatabase db, Messages& messages, QWidget* parent = nullptr);

    // At a change of operator the dialog cannot be cancelled by its button or Esc.
    void setCancelAllowed(bool allowed);

    const operator_accounts::Login& login() const { return m_login; }
    int attempts() const { return m_attempts; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void tryLogin();
    void changePassword();

    QSqlDatabase m_db;
    Messages& m_messages;
    QLineEdit* m_code;
    QLineEdit* m_password;
    QPushButton* m_cancel;
    int m_attempts = 0;
    operator_accounts::Login m_login;
};
