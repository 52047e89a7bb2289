#include "app/FunctionTable.h"
#include "app/LoginDialog.h"
#include "app/MainWindow.h"
#include "app/OperatorsScreen.h"
#include "app/PasswordHash.h"
#include "app/RightsTable.h"
#include "commands/ListCatalogue.h"
#include "gui/FunctionLabel.h"
#include "gui/WidgetFactory.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// Every entry of the main window opens its screen for an operator with every
// right, on an estate with something in each list, and every screen closes
// again without a message.
class TestEveryScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void everyFunctionRowIsWiredIn();
    void everyEntryOpensAndCloses_data();
    void everyEntryOpensAndCloses();
    void everyNumberBoxTakesAPastedValueWhole();
    void everyCommandListNamesAFunction();
};

namespace {

void logIn(MainWindow& window, const QString& code, const QString& password)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LoginDialog* dialog = nullptr;
    for (LoginDialog* open : window.findChildren<LoginDialog*>()) {
        if (open->isVisible())
            dialog = open;
    }
    if (!dialog)
        throw std::runtime_error("no login dialog is open");
    control<QLineEdit>(dialog, "edtName")->setText(code);
    control<QLineEdit>(dialog, "edtPass")->setText(password);
    control<QPushButton>(dialog, "btnOk")->click();
}

// The windows of the main window that are showing.
QList<QWidget*> openWindows(const MainWindow& window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QWidget*> open;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isWindow() && child->isVisible())
            open << child;
    }
    return open;
}

// One of each thing the screens list or choose from.
void buildEstate(TestDatabase& t)
{
    Estate e = t.estate();
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower, .buildArea = "88.50"});
    const qlonglong owner = e.addOwner({.name = "王五", .linkTel = "0755-1234567"});
    e.linkRoom(owner, "101");
    const qlonglong type = e.addChargeType("停车费", "150", "普通收费");
    e.addFee({.owner = owner, .type = type, .shouldPay = "150", .paid = "150", .date = "2026-12-01"});
    const qlonglong dept = e.addDepartment("工程部");
    e.addEmployee(dept, "张三");
    e.addGoods({.name = "签字笔", .type = e.addGoodsType("文具"), .stock = 10});
    e.addDeviceType("电梯");
}

// Starts the main window and logs in an operator with every right.
void logInWithEveryRight(TestDatabase& t, MainWindow& window)
{
    const auto every = rights_table::strings(functionTable(), [](const FunctionRow&) {
        return RightsTicks{true, true};
    });
    QVariantList values{"chief", "主管", password_hash::hash("1")};
    for (const QString& string : every)
        values << string;
    t.exec("insert into operator (op_code, op_name, password, popebase, popeadmin, popecharge, popemanage, "
           "popequery, popepara) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
           values);
    window.startUp();
    logIn(window, "chief", "1");
}

} // namespace

void TestEveryScreen::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestEveryScreen::everyFunctionRowIsWiredIn()
{
    // The rows make one table: each with its tick boxes, no position, name or box twice.
    const QStringList problems = function_rows::problems(functionTable());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

    // The main window shows each row's entry on its group's panel, with its caption.
    TestDatabase t;
    MainWindow window(t.context());
    for (const FunctionRow& f : functionTable()) {
        const auto* label = control<FunctionLabel>(&window, f.objectName);
        QCOMPARE(label->text(), f.text());
        const FunctionGroup& group = functionGroups()[static_cast<std::size_t>(f.group)];
        QCOMPARE(label->parentWidget()->objectName(), QString::fromLatin1(group.panelName));
    }

    // The rights editor shows exactly the rows' boxes, each on its group's page.
    OperatorsScreen editor(t.context());
    const auto* pages = control<QTabWidget>(&editor, "PageControl2");
    QStringList shown;
    for (const QCheckBox* box : pages->findChildren<QCheckBox*>())
        shown << box->objectName();
    QStringList declared;
    for (const FunctionRow& f : functionTable()) {
        for (const char* name : {f.browseBox, f.editBox}) {
            if (!name)
                continue;
            declared << QString::fromLatin1(name);
            const auto* box = control<QCheckBox>(&editor, name);
            QCOMPARE(box->parentWidget(), pages->widget(static_cast<int>(f.group)));
        }
    }
    shown.sort();
    declared.sort();
    QCOMPARE(shown, declared);
}

void TestEveryScreen::everyEntryOpensAndCloses_data()
{
    QTest::addColumn<QString>("entry");
    // One entry per character of the rights strings.
    std::size_t characters = 0;
    for (int g = 0; g < kRightsGroupCount; ++g)
        characters += static_cast<std::size_t>(
            rights_table::stringLength(functionTable(), static_cast<RightsGroup>(g)));
    QCOMPARE(functionTable().size(), characters);
    for (const FunctionRow& f : functionTable())
        QTest::newRow(f.objectName) << QString::fromLatin1(f.objectName);
}

void TestEveryScreen::everyEntryOpensAndCloses()
{
    QFETCH(QString, entry);
    TestDatabase t;
    buildEstate(t);
    MainWindow window(t.context());
    logInWithEveryRight(t, window);
    QCOMPARE(window.currentOperator().code, QString("chief"));

    auto* label = control<FunctionLabel>(&window, qPrintable(entry));
    QVERIFY2(label->isEnabled(), "the entry is not enabled");
    const QList<QWidget*> before = openWindows(window);
    emit label->clicked();
    QCoreApplication::processEvents();
    QList<QWidget*> opened;
    for (QWidget* w : openWindows(window)) {
        if (!before.contains(w))
            opened << w;
    }
    QCOMPARE(opened.size(), 1);
    QPointer<QWidget> screen = opened.first();
    QVERIFY(!screen->windowTitle().isEmpty());
    QVERIFY2(t.messages().texts().isEmpty(), qPrintable(t.messages().texts().join(" / ")));

    QVERIFY(screen->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(screen.isNull(), "the screen was not closed");
    QVERIFY2(t.messages().texts().isEmpty(), qPrintable(t.messages().texts().join(" / ")));
    QCOMPARE(openWindows(window), before);
}

void TestEveryScreen::everyNumberBoxTakesAPastedValueWhole()
{
    // A value pasted with blanks before it reaches the number's parse whole: no
    // box cuts it to a length before the blanks are trimmed.
    const QString pasted = QString(30, u' ') + u"12345";
    TestDatabase t;
    buildEstate(t);
    MainWindow window(t.context());
    logInWithEveryRight(t, window);
    QStringList boxes;
    for (const FunctionRow& f : functionTable()) {
        const QList<QWidget*> before = openWindows(window);
        emit control<FunctionLabel>(&window, f.objectName)->clicked();
        QCoreApplication::processEvents();
        for (QWidget* screen : openWindows(window)) {
            if (before.contains(screen))
                continue;
            for (QLineEdit* box : screen->findChildren<QLineEdit*>()) {
                if (!box->property(widgets::kNumberBox).toBool())
                    continue;
                box->clear();
                box->insert(pasted);
                QVERIFY2(box->text() == pasted, qPrintable(box->objectName() + " in " + f.objectName));
                boxes << box->objectName();
            }
            screen->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The fee, deposit, supplies and services screens have number boxes.
    for (const char* box : {"edtShouldPay", "edtPaymentReal", "edtBailMoney", "dbeTakeNum", "DBEdit10"})
        QVERIFY2(boxes.contains(box), box);
}

// The command line's lists name the function whose rights govern them by its
// group and position: each must be that function, under its caption.
void TestEveryScreen::everyCommandListNamesAFunction()
{
    for (const auto& entries : {list_catalogue::exports(), list_catalogue::reports()}) {
        for (const ListEntry& entry : entries) {
            const FunctionRow* found = nullptr;
            for (const FunctionRow& f : functionTable()) {
                if (f.group == entry.group && f.position == entry.position)
                    found = &f;
            }
            QVERIFY2(found, entry.name);
            QCOMPARE(found->text(), QString::fromUtf8(entry.function));
            QVERIFY2(found->browseBox, entry.name); // a function that can be browsed
        }
    }
}

QTEST_MAIN(TestEveryScreen)
#include "tst_everyscreen.moc"
