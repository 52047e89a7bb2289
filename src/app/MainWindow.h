#pragma once

#include "app/Rights.h"
#include "app/WorkPlanReminder.h"
#include "core/ScreenContext.h"

#include <QPixmap>
#include <QWidget>

#include <vector>

class FunctionLabel;
class GroupPanel;
class LoginDialog;
class QTimer;
struct FunctionRow;

// The home screen: six group buttons, each with a panel of function entries
// gated by the operator's rights (an entry without a screen stays disabled). It
// runs the start-up (default fee types, login), opens the function screens in
// the middle of its screen and checks the connection every ten seconds, opening
// the work-plan reminder once per run.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTimerIntervalMs = 10000;
    // `shared` holds what every screen gets: the connection, messages, clock,
    // desktop and print preview. The operator and can-write flag are set here.
    // The window stands in the middle of its screen.
    explicit MainWindow(const ScreenContext& shared, QWidget* parent = nullptr);

    // The show sequence: picture, default fee types, login. Runs once, when the
    // window is first shown.
    void startUp();
    // One tick of the ten-second timer.
    void checkConnectionAndReminder();

    const OperatorIdentity& currentOperator() const { return m_context.op; }
    const OperatorRights& rights() const { return m_rights; }
    bool reminderShown() const { return m_reminder.shown(); }

Q_SIGNALS:
    // The main window was closed: the application ends.
    void finished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Entry
    {
        const FunctionRow* function;
        FunctionLabel* label;
    };

    void buildBanner();
    void buildGroups();
    void loadPicture();
    void openLogin(bool atStartUp);
    void takeLogin(const LoginDialog& dialog, bool succeeded);
    void applyRights();
    void openFunction(const FunctionRow& function, bool canWrite);
    void openBackup();
    void showPanel(GroupPanel* panel);
    void hidePanels();

    ScreenContext m_context; // the operator lives here; canWrite is set per screen
    OperatorRights m_rights;
    WorkPlanReminder m_reminder;
    QTimer* m_timer;
    QPixmap m_picture;
    std::vector<GroupPanel*> m_panels;
    std::vector<Entry> m_entries;
    FunctionLabel* m_backup = nullptr; // "数据备份", beside "关于..."
    bool m_started = false;
};
