#include "admin/MessageWindow.h"

#include "admin/Department.h"
#include "gui/WidgetFactory.h"

#include <QEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MessageWindow::MessageWindow(const ScreenContext& context, const std::optional<Message>& read,
                             QWidget* parent)
    : ScreenDialog(context, parent)
{
    setObjectName(QStringLiteral("TdetailFrm"));
    setWindowTitle(QStringLiteral("邮件"));
    setWindowModality(Qt::WindowModal);
    resize(520, 420);

    m_sender = widgets::lineEdit(this, "edtSender");
    m_sender->setEnabled(false);
    // Names of several operators: no one name's length limit.
    m_receivers = widgets::lineEdit(this, "edtReceive");
    widgets::setField(m_receivers, "receive");
    m_subject = widgets::lineEdit(this, "edtMesgHead", "message_info", "mesg_head");
    m_contents = widgets::memo(this, "memMesgContents");
    m_departments = new QListWidget(this);
    m_departments->setObjectName(QStringLiteral("lstGroup"));
    m_departments->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("发信人"), m_sender);
    form->addRow(QStringLiteral("收信人"), m_receivers);
    form->addRow(QString(), m_departments);
    form->addRow(QStringLiteral("主题"), m_subject);
    form->addRow(QStringLiteral("信件内容"), m_contents);
    auto* back = widgets::button(this, "btnBack", QStringLiteral("回复 &r."));
    auto* sendButton = widgets::button(this, "btnSend", QStringLiteral("发送 &s."));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({back, sendButton, exit}));

    connect(back, &QPushButton::clicked, this, &MessageWindow::reply);
    connect(sendButton, &QPushButton::clicked, this, &MessageWindow::send);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_receivers, &QLineEdit::returnPressed, this, &MessageWindow::showDepartments);
    connect(m_departments, &QListWidget::itemDoubleClicked, this, &MessageWindow::addDepartment);
    m_receivers->installEventFilter(this);
    m_departments->installEventFilter(this);

    if (read) {
        m_sender->setText(read->sender);
        m_receivers->setText(read->receiver);
        m_subject->setText(read->subject);
        m_contents->setPlainText(read->contents);
        run([&] { mail_store::markRead(db(), read->id); });
    } else {
        m_sender->setText(context.op.name);
        back->hide();
    }
    run([&] {
        for (const NamedKey& d : department_store::names(db())) {
            auto* item = new QListWidgetItem(d.name, m_departments);
            item->setData(Qt::UserRole, d.id); // two departments of one name stay two
        }
    });
}

bool MessageWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_receivers && event->type() == QEvent::MouseButtonDblClick) {
        showDepartments();
        return true;
    }
    if (watched == m_departments && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Only a department the operator selected is added: the list makes its first
        // row current when it takes the focus, selected or not. Without a selection
        // the key does nothing and the list stays.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            addDepartment();
            return true;
        }
    }
    return ScreenDialog::eventFilter(watched, event);
}

void MessageWindow::showDepartments()
{
    m_departments->show();
    m_departments->setFocus();
}

void MessageWindow::addDepartment()
{
    const QList<QListWidgetItem*> selected = m_departments->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* department = selected.first();
    run([&] {
        const QString names =
            mail_store::operatorsOf(db(), department->data(Qt::UserRole).toLongLong()).join(u';');
        const QString typed = m_receivers->text().trimmed();
        m_receivers->setText(typed.isEmpty() ? names : m_receivers->text() + u';' + names);
    });
    m_departments->hide();
    m_receivers->setFocus();
}

void MessageWindow::reply()
{
    m_receivers->setText(m_sender->text());
    m_sender->setText(context().op.name);
    m_subject->setText(mail_store::replySubject(m_subject->text()));
    m_contents->setPlainText(mail_store::replyBody(m_contents->toPlainText()));
    m_subject->setFocus();
}

void MessageWindow::send()
{
    run([&] {
        const Checked<mail_store::Sent> sent =
            mail_store::send(db(), context().op.name, m_receivers->text(), m_subject->text(),
                             m_contents->toPlainText(), context().clock->now());
        if (!sent.ok()) {
            refuse(sent.refusal());
            return;
        }
        Q_EMIT this->sent(sent.value());
        messages().information(QStringLiteral("信已成功发出！"));
        accept();
    });
}
