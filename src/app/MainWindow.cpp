#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/BackupDialog.h"
#include "app/BuiltInPicture.h"
#include "app/FunctionTable.h"
#include "app/GroupPanel.h"
#include "app/LoginDialog.h"
#include "app/WindowPlacement.h"
#include "db/DbError.h"
#include "db/DefaultRows.h"
#include "gui/FunctionLabel.h"

#include <QCloseEvent>
#include <QDebug>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr QSize kWindowSize(800, 600);
// Top-left corners of the six group buttons: two rows of three.
constexpr QPoint kButtonPositions[] = {{110, 220}, {330, 220}, {550, 220},
                                       {110, 380}, {330, 380}, {550, 380}};
constexpr QSize kButtonSize(140, 56);

const QString kNoRight = QStringLiteral("无此功能的权限，请让管理员在操作员信息中授权。");

QLabel* makeBanner(const QString& text, int pointSize, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f(QStringLiteral("楷体_GB2312"), pointSize);
    f.setBold(true);
    f.setItalic(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, Qt::red);
    p.setColor(QPalette::WindowText, Qt::yellow);
    label->setPalette(p);
    label->setContentsMargins(16, 4, 16, 4);
    return label;
}

} // namespace

MainWindow::MainWindow(const ScreenContext& shared, QWidget* parent)
    : QWidget(parent), m_context(shared), m_timer(new QTimer(this))
{
    m_context.canWrite = false;
    m_context.op = {};

    setObjectName(QStringLiteral("TmainfFrm"));
    setWindowTitle(QStringLiteral("物业管理系统"));
    setFixedSize(kWindowSize);
    setMouseTracking(true);
    m_picture = QPixmap::fromImage(builtInPicture(kWindowSize));

    buildBanner();
    buildGroups();

    auto* exit = new QToolButton(this);
    exit->setObjectName(QStringLiteral("SpeedButton7"));
    exit->setToolTip(QStringLiteral("退出"));
    exit->setText(QStringLiteral("退出"));
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    exit->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    exit->setAutoRaise(true);
    exit->setStyleSheet(QStringLiteral("QToolButton { color: white; }"));
    exit->setGeometry(kWindowSize.width() - 96, kWindowSize.height() - 44, 84, 32);
    connect(exit, &QToolButton::clicked, this, &QWidget::close);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kTimerIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::checkConnectionAndReminder);
    m_timer->start();

    applyRights();
    window_placement::centreOnScreen(*this, *screen());
}

void MainWindow::buildBanner()
{
    auto* name = makeBanner(QStringLiteral("环球商务中心"), 20, this);
    auto* system = makeBanner(QStringLiteral("物 业 管 理 系 统"), 26, this);
    name->adjustSize();
    system->adjustSize();
    name->move((kWindowSize.width() - name->width()) / 2, 40);
    system->move((kWindowSize.width() - system->width()) / 2, 40 + name->height() + 16);
}

void MainWindow::buildGroups()
{
    const std::span<const FunctionGroup> groups = functionGroups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const FunctionGroup& group = groups[i];
        const QString caption = QString::fromUtf8(group.caption);

        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1StringView(group.buttonName));
        button->setText(caption);
        button->setToolTip(caption);
        button->setAutoRaise(true);
        QFont f = button->font();
        f.setPointSize(14);
        f.setBold(true);
        button->setFont(f);
        button->setGeometry(QRect(kButtonPositions[i], kButtonSize));
        button->setStyleSheet(QStringLiteral("QToolButton { color: white; background: rgba(0, 64, 96, 150); "
                                             "border: 1px solid rgba(255, 255, 255, 120); }"
                                             "QToolButton:hover { background: rgba(0, 96, 128, 200); }"));

        auto* panel = new GroupPanel(this);
        panel->setObjectName(QLatin1StringView(group.panelName));
        for (const FunctionRow& function : functionTable()) {
            if (function.group != group.group)
                continue;
            FunctionLabel* label = panel->addEntry(QLatin1StringView(function.objectName), function.text());
            m_entries.push_back({&function, label});
            connect(label, &FunctionLabel::clicked, this, [this, &function] {
                openFunction(function, m_rights.access(function.group, function.position) == Access::Edit);
            });
        }
        if (group.group == RightsGroup::Base) {
            FunctionLabel* change =
                panel->addEntry(QStringLiteral("labChange"), QStringLiteral("更换操作员"));
            connect(change, &FunctionLabel::clicked, this, [this] { openLogin(false); });
        } else if (group.group == RightsGroup::Para) {
            m_backup = panel->addEntry(QStringLiteral("labBackup"), QStringLiteral("数据备份"));
            connect(m_backup, &FunctionLabel::clicked, this, &MainWindow::openBackup);
            FunctionLabel* about = panel->addEntry(QStringLiteral("labAbout"), QStringLiteral("关于..."));
            connect(about, &FunctionLabel::clicked, this, [this] {
                auto* dialog = new AboutDialog(this);
                dialog->setAttribute(Qt::WA_DeleteOnClose);
                window_placement::centreOnScreen(*dialog, *screen());
                dialog->show();
            });
        }
        panel->setMinimumWidth(kButtonSize.width());
        panel->adjustSize();
        panel->move(kButtonPositions[i]);
        panel->hide();
        m_panels.push_back(panel);
        connect(button, &QToolButton::clicked, this, [this, panel] { showPanel(panel); });
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_started) {
        m_started = true;
        // After the window is on screen, so that the login appears over it.
        QTimer::singleShot(0, this, &MainWindow::startUp);
    }
}

void MainWindow::startUp()
{
    m_started = true;
    loadPicture();
    if (!m_context.db.isOpen()) {
        // Opening already showed the engine's error; end at once rather than at the next tick.
        checkConnectionAndReminder();
        return;
    }
    const bool seeded = runAction(*m_context.messages, [&] { default_rows::seedChargeTypes(m_context.db); });
    if (!seeded)
        return; // no login; the connection check ends the application
    openLogin(true);
}

void MainWindow::loadPicture()
{
    QPixmap picture;
    if (picture.load(QStringLiteral("build.jpg")))
        m_picture = picture;
    update();
}

void MainWindow::openLogin(bool atStartUp)
{
    auto* dialog = new LoginDialog(m_context.db, *m_context.messages, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setCancelAllowed(atStartUp);
    window_placement::centreOnScreen(*dialog, *screen());
    connect(dialog, &QDialog::finished, this, [this, dialog, atStartUp](int result) {
        const bool succeeded = result == QDialog::Accepted;
        if (atStartUp && !succeeded) {
            close();
            return;
        }
        takeLogin(*dialog, succeeded);
        if (atStartUp)
            hidePanels();
    });
    dialog->open();
}

void MainWindow::takeLogin(const LoginDialog& dialog, bool succeeded)
{
    // Without a successful login the window has no operator and no rights.
    const operator_accounts::Login login = succeeded ? dialog.login() : operator_accounts::Login{};
    m_context.op = {login.identity.code.trimmed(), login.identity.name.trimmed()};
    m_rights = login.rights;
    applyRights();
}

void MainWindow::applyRights()
{
    // An entry whose screen is not built yet would open nothing: it stays greyed
    // out whatever the rights say, and says nothing of rights. One the operator
    // lacks the right for says so when the pointer rests on it.
    for (const Entry& entry : m_entries) {
        const FunctionRow& function = *entry.function;
        const bool allowed = m_rights.access(function.group, function.position) != Access::None;
        entry.label->setEnabled(function.open && allowed);
        entry.label->setToolTip(function.open && !allowed ? kNoRight : QString());
    }
    // A backup holds every operator's data: it is for those who may edit the operators.
    const bool mayBackUp = m_rights.mayEditOperators();
    m_backup->setEnabled(mayBackUp);
    m_backup->setVisible(mayBackUp);
    m_backup->parentWidget()->adjustSize();
}

void MainWindow::openBackup()
{
    if (!m_backup->isEnabled())
        return;
    auto* dialog = new BackupDialog(m_context, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    window_placement::centreOnScreen(*dialog, *screen());
    dialog->open();
}

void MainWindow::openFunction(const FunctionRow& function, bool canWrite)
{
    if (!function.open)
        return; // not built yet
    ScreenContext context = m_context;
    context.canWrite = canWrite;
    QWidget* screen = function.open(context, this);
    if (function.screenCaption)
        screen->setWindowTitle(QString::fromUtf8(function.screenCaption));
    screen->setWindowFlag(Qt::Window);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (function.modal)
        screen->setWindowModality(Qt::ApplicationModal);
    window_placement::centreOnScreen(*screen, *this->screen());
    screen->show();
}

void MainWindow::checkConnectionAndReminder()
{
    if (!m_context.db.isOpen()) {
        m_timer->stop();
        m_context.messages->error(QStringLiteral("数据库连接失败！"));
        close();
        return;
    }
    try {
        if (m_reminder.takeDue(m_context.db, m_context.op.code, m_context.clock->now())) {
            if (const FunctionRow* plans = findFunction(QStringLiteral("labPlan")))
                openFunction(*plans, false);
        }
    } catch (const DbError& e) {
        // Busy or locked for longer than the timeout: the next tick asks again.
        qWarning() << "work-plan reminder:" << e.text();
    }
}

void MainWindow::showPanel(GroupPanel* panel)
{
    for (GroupPanel* p : m_panels)
        p->setVisible(p == panel);
    panel->raise();
}

void MainWindow::hidePanels()
{
    for (GroupPanel* p : m_panels)
        p->hide();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_timer->stop();
    event->accept();
    Q_EMIT finished();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Only moves over the picture itself hide the panels.
    if (!childAt(event->position().toPoint()))
        hidePanels();
    QWidget::mouseMoveEvent(event);
}
