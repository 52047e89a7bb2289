#pragma once

#include <QDialog>
#include <QSqlDatabase>

class Messages;
class QLineEdit;

// Sets a new password for one operator: typed twice, at most six characters.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    PasswordDialog(QSqlDatabase db, Messages& messages, QString operatorCode, QWidget* parent = nullptr);

private:
    void store();

    QSqlDatabase m_db;
    Messages& m_messages;
    QString m_code;
    QLineEdit* m_first;
    QLineEdit* m_second;
};
