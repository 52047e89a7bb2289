#include "admin/MailCentreScreen.h"

#include "admin/MessageWindow.h"
#include "gui/FunctionLabel.h"
#include "gui/WidgetFactory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole;

FunctionLabel* link(QWidget* parent, const char* name, const QString& caption)
{
    // Fuchsia links, aqua under the pointer, bold.
    auto* label = new FunctionLabel(caption, parent, QColor(255, 0, 255), QColor(0, 255, 255));
    label->setObjectName(QLatin1StringView(name));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

MailCentreScreen::MailCentreScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TmesgMainFrm"));
    setWindowTitle(QStringLiteral("邮件中心"));
    resize(560, 420);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstvMsg"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({QStringLiteral("主　题"), QStringLiteral("发送人"), QStringLiteral("发送时间")});
    m_list->header()->resizeSection(0, 150);
    m_list->header()->resizeSection(1, 100);
    m_list->header()->resizeSection(2, 180);

    auto* write = link(this, "labWrite", QStringLiteral("发 信"));
    auto* read = link(this, "labRead", QStringLiteral("阅 读"));
    auto* remove = link(this, "labDelete", QStringLiteral("删 除"));
    auto* clear = link(this, "labRefresh", QStringLiteral("清 空"));
    auto* exit = link(this, "labExit", QStringLiteral("退 出"));
    auto* links = new QHBoxLayout;
    for (FunctionLabel* l : {write, read, remove, clear, exit})
        links->addWidget(l);
    links->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(links);
    layout->addWidget(m_list, 1);

    // Mail is the operator's own: the right to write is not asked.
    connect(write, &FunctionLabel::clicked, this, [this] { openMessage(false); });
    connect(read, &FunctionLabel::clicked, this, [this] { openMessage(true); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { openMessage(true); });
    connect(remove, &FunctionLabel::clicked, this, &MailCentreScreen::removeSelected);
    connect(clear, &FunctionLabel::clicked, this, &MailCentreScreen::clearMailbox);
    connect(exit, &FunctionLabel::clicked, this, &QWidget::close);

    run([&] { m_mailbox = mail_store::mailbox(db(), context.op.name); });
    showList();
}

void MailCentreScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void MailCentreScreen::showList()
{
    m_list->clear();
    const QIcon unread = style()->standardIcon(QStyle::SP_FileDialogNewFolder);
    const QIcon read = style()->standardIcon(QStyle::SP_FileIcon);
    for (const Message& m : m_mailbox) {
        auto* item = new QTreeWidgetItem(
            m_list, {m.subject, m.sender, m.sendTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
        item->setIcon(0, m.unread ? unread : read);
        item->setData(0, kIdRole, m.id);
    }
}

int MailCentreScreen::selectedIndex() const
{
    const QList<QTreeWidgetItem*> items = m_list->selectedItems();
    return items.isEmpty() ? -1 : m_list->indexOfTopLevelItem(items.first());
}

void MailCentreScreen::openMessage(bool read)
{
    std::optional<Message> message;
    const int index = selectedIndex();
    if (read) {
        if (index < 0)
            return;
        message = m_mailbox[index];
    }
    auto* window = new MessageWindow(context(), message, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MessageWindow::sent, this, [this](const mail_store::Sent& rows) {
        // What was sent to oneself joins the list; its order stays until reopened.
        run([&] {
            for (int i = 0; i < rows.ids.size(); ++i) {
                if (rows.receivers[i] == context().op.name) {
                    if (const std::optional<Message> own = mail_store::load(db(), rows.ids[i]))
                        m_mailbox << *own;
                }
            }
        });
    });
    connect(window, &QDialog::finished, this, &MailCentreScreen::showList);
    if (read)
        m_mailbox[index].unread = false; // opened: read for good
    window->open();
}

void MailCentreScreen::removeSelected()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    run([&] {
        mail_store::remove(db(), m_mailbox[index].id);
        m_mailbox.removeAt(index);
    });
    showList();
}

void MailCentreScreen::clearMailbox()
{
    // Exactly the messages listed: mail that arrived since stays.
    QList<qlonglong> ids;
    for (const Message& m : m_mailbox)
        ids << m.id;
    run([&] {
        mail_store::removeAll(db(), ids);
        m_mailbox.clear();
    });
    showList();
}
