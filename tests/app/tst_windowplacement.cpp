#include "app/LoginDialog.h"
#include "app/MainWindow.h"
#include "app/PasswordHash.h"
#include "gui/FunctionLabel.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

// Where the windows open: the main window in the middle of the screen, the
// function screens in the middle of the screen the main window is on, and the
// dialogs over the window that opens them, so in the middle too.
class TestWindowPlacement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void mainWindowAndLogin();
    void screensAndTheirDialogs_data();
    void screensAndTheirDialogs();
};

namespace {

// Whether the window, frame included, stands in the middle of the screen's free
// area, give or take `slack` pixels (and one for rounding).
bool centredOn(const QWidget* window, const QScreen* screen, int slack = 0)
{
    const QPoint off = window->frameGeometry().center() - screen->availableGeometry().center();
    if (std::abs(off.x()) <= slack + 1 && std::abs(off.y()) <= slack + 1)
        return true;
    qWarning() << window->objectName() << window->frameGeometry() << "is not centred on" << screen->name()
               << screen->availableGeometry();
    return false;
}

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    throw std::runtime_error("no screen " + name.toStdString());
}

// Shows the main window, which opens the login once it is on screen.
LoginDialog* showAndWaitForLogin(MainWindow& window)
{
    window.show();
    LoginDialog* login = nullptr;
    if (!QTest::qWaitFor([&] { return (login = openChild<LoginDialog>(&window, "TOpLoginFrm")) != nullptr; }))
        throw std::runtime_error("no login dialog opened");
    return login;
}

} // namespace

void TestWindowPlacement::cleanup()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestWindowPlacement::mainWindowAndLogin()
{
    TestDatabase t;
    t.exec("insert into operator (op_code, op_name, password) values ('clerk', '张三', ?)",
           {password_hash::hash("1")});
    MainWindow window(t.context());
    LoginDialog* login = showAndWaitForLogin(window);
    QCOMPARE(window.screen(), QGuiApplication::primaryScreen());
    // The first window of the application is placed before any frame is known:
    // it may stand off by the frame's width.
    const QMargins frame = window.windowHandle()->frameMargins();
    const int slack = std::max({frame.left(), frame.top(), frame.right(), frame.bottom()});
    QVERIFY(centredOn(&window, window.screen(), slack));
    QVERIFY(centredOn(login, window.screen()));

    control<QLineEdit>(login, "edtName")->setText("clerk");
    control<QLineEdit>(login, "edtPass")->setText("1");
    control<QPushButton>(login, "BitBtn1")->click();
    auto* password = openChild<QDialog>(login, "TmodiPassFrm");
    QVERIFY(password);
    QVERIFY(centredOn(password, window.screen()));
}

void TestWindowPlacement::screensAndTheirDialogs_data()
{
    QTest::addColumn<QPoint>("moveTo"); // where the operator drags the main window first; null: nowhere
    QTest::addColumn<QString>("screen");

    QTest::newRow("where it opened") << QPoint() << "left";
    QTest::newRow("dragged to the corner of its screen") << QPoint(0, 0) << "left";
    QTest::newRow("dragged to the other screen") << QPoint(1400, 40) << "right";
}

void TestWindowPlacement::screensAndTheirDialogs()
{
    QFETCH(QPoint, moveTo);
    QFETCH(QString, screen);
    TestDatabase t;
    MainWindow window(t.context());
    LoginDialog* login = showAndWaitForLogin(window);
    control<QLineEdit>(login, "edtName")->setText("admin");
    control<QPushButton>(login, "btnOk")->click();
    QCOMPARE(window.currentOperator().code, QStringLiteral("admin"));
    if (!moveTo.isNull())
        window.move(moveTo);
    QTRY_COMPARE(window.screen()->name(), screen);

    control<FunctionLabel>(&window, "labBuild")->clicked();
    auto* buildings = openChild<QWidget>(&window, "TgardenFrm");
    QVERIFY(buildings);
    QVERIFY(QTest::qWaitForWindowExposed(buildings));
    QCOMPARE(buildings->screen(), screenNamed(screen));
    QVERIFY(centredOn(buildings, buildings->screen()));

    // An editor opens over its screen.
    control<QPushButton>(buildings, "btnAdd")->click();
    auto* editor = openChild<QDialog>(buildings, "TbuildmFrm");
    QVERIFY(editor);
    QVERIFY(centredOn(editor, buildings->screen()));
    editor->close();
    buildings->close();

    // The main window's own dialogs open on its screen too.
    control<FunctionLabel>(&window, "labAbout")->clicked();
    auto* about = openChild<QDialog>(&window, "TaboutFrm");
    QVERIFY(about);
    QVERIFY(centredOn(about, window.screen()));
    about->close();
    control<FunctionLabel>(&window, "labChange")->clicked();
    login = openChild<LoginDialog>(&window, "TOpLoginFrm");
    QVERIFY(login);
    QVERIFY(centredOn(login, window.screen()));
}

int main(int argc, char* argv[])
{
    // Two screens of different sizes side by side, both larger than the main
    // window, so that a window in the middle of its screen is told apart from one
    // in a corner or on the other screen. Always offscreen: a window manager would
    // have its own say about where windows go.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELM_TWO_SCREENS);
    QApplication app(argc, argv);
    TestWindowPlacement test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplacement.moc"
