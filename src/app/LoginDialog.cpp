#include "app/LoginDialog.h"

#include "app/PasswordDialog.h"
#include "app/WindowPlacement.h"
#include "db/DbError.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* makeEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

} // namespace

LoginDialog::LoginDialog(QSqlDatabase db, Messages& messages, QWidget* parent)
    : QDialog(parent), m_db(std::move(db)), m_messages(messages)
{
    setObjectName(QStringLiteral("TOpLoginFrm"));
    setWindowTitle(QStringLiteral("登录"));
    setWindowModality(Qt::ApplicationModal);

    m_code = makeEdit("edtName", this);
    m_password = makeEdit("edtPass", this);
    m_password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员"), m_code);
    form->addRow(QStringLiteral("密码"), m_password);

    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("退出 &E."), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* change = new QPushButton(QStringLiteral("修改密码"), this);
    change->setObjectName(QStringLiteral("BitBtn1"));
    change->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(change);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 24);
    layout->addLayout(form);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(change, &QPushButton::clicked, this, &LoginDialog::changePassword);
}

void LoginDialog::setCancelAllowed(bool allowed)
{
    m_cancel->setEnabled(allowed);
}

void LoginDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc is the cancel button's key: it does nothing while that button is disabled.
    if (event->key() == Qt::Key_Escape && !m_cancel->isEnabled()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LoginDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x1f, 0x5f, 0x8f));
    sky.setColorAt(1, QColor(0xd8, 0xe8, 0xf0));
    painter.fillRect(rect(), sky);
    QDialog::paintEvent(event);
}

void LoginDialog::tryLogin()
{
    if (++m_attempts > kMaxAttempts) {
        reject();
        return;
    }
    runAction(m_messages, [&] {
        operator_accounts::ensureDefaultAdministrator(m_db);
        const Checked<operator_accounts::Login> login =
            operator_accounts::logIn(m_db, m_code->text(), m_password->text());
        if (!login.ok()) {
            m_messages.information(login.refusal().text);
            return;
        }
        m_login = login.value();
        accept();
    });
}

void LoginDialog::changePassword()
{
    const QString code = m_code->text().trimmed();
    const QString password = m_password->text().trimmed();
    runAction(m_messages, [&] {
        if (const Checked<> may = operator_accounts::mayChangePassword(m_db, code, password); !may.ok()) {
            m_messages.information(may.refusal().text);
            return;
        }
        m_password->clear();
        auto* dialog = new PasswordDialog(m_db, m_messages, code, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        window_placement::centreOnScreen(*dialog, *screen());
        dialog->open();
    });
}
