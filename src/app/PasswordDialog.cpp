#include "app/PasswordDialog.h"

#include "app/OperatorAccounts.h"
#include "db/DbError.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(QSqlDatabase db, Messages& messages, QString operatorCode, QWidget* parent)
    : QDialog(parent), m_db(std::move(db)), m_messages(messages), m_code(std::move(operatorCode))
{
    setObjectName(QStringLiteral("TmodiPassFrm"));
    setWindowTitle(QStringLiteral("修改密码"));
    setWindowModality(Qt::ApplicationModal);

    m_first = new QLineEdit(this);
    m_first->setObjectName(QStringLiteral("edtOne"));
    m_first->setEchoMode(QLineEdit::Password);
    m_second = new QLineEdit(this);
    m_second->setObjectName(QStringLiteral("edtTwo"));
    m_second->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("输入密码"), m_first);
    form->addRow(QStringLiteral("确认密码"), m_second);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &PasswordDialog::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordDialog::store()
{
    const Checked<QString> password = operator_accounts::checkNewPassword(m_first->text(), m_second->text());
    if (!password.ok()) {
        m_messages.information(password.refusal().text);
        // Two different passwords close the dialog; a long one keeps it open for a
        // shorter one.
        if (password.refusal().text == operator_accounts::kPasswordsDiffer)
            reject();
        return;
    }
    runAction(m_messages, [&] {
        operator_accounts::setPassword(m_db, m_code, password.value());
        m_messages.information(QStringLiteral("密码修改成功！！"));
    });
    accept();
}
