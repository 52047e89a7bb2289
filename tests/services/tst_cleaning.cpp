#include "services/CleaningScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Cleaning areas: the boxes beside the list are a working copy of the area
// chosen, which Save alone writes back.
class TestCleaning : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstArea();
    void typingIsDiscardedOnAnotherArea();
    void saveWritesTheBoxes();
    void entryOneAfterAnother();
    void saveOnAnEmptyListAdds();
    void nameRequired_data();
    void nameRequired();
    void deleteAsksFirst();
    void browseOnly();
    void previewListsEveryArea();
    void areaRemovedMeanwhile();

private:
    TestDatabase* t = nullptr;
};

namespace {

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

QString text(QWidget* s, const char* name)
{
    return control<QLineEdit>(s, name)->text();
}

void type(QWidget* s, const char* name, const QString& value)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(value);
    emit edit->textEdited(value);
}

QString duties(QWidget* s)
{
    return control<QPlainTextEdit>(s, "memRemark")->toPlainText();
}

QStringList listed(QWidget* s)
{
    auto* grid = control<QTableView>(s, "DBGrid1");
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (!grid->isColumnHidden(c))
            return columnTexts(grid->model(), c);
    }
    return {};
}

void selectRow(QWidget* s, int row)
{
    control<QTableView>(s, "DBGrid1")->selectRow(row);
    QCoreApplication::processEvents();
}

} // namespace

void TestCleaning::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addCleaningArea({.areaName = "大堂", .charger = "郑阿姨", .cycle = "每日", .remark = " 地面无水渍\n"});
    e.addCleaningArea({.areaName = "地下车库", .cycle = "每周"});
}

void TestCleaning::cleanup()
{
    delete t;
}

void TestCleaning::opensOnTheFirstArea()
{
    CleaningScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TcontFrm"));
    QCOMPARE(screen.windowTitle(), QString("环境保洁"));
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    int shown = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (!grid->isColumnHidden(c)) {
            ++shown;
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), QString("区域名称"));
        }
    }
    QCOMPARE(shown, 1);
    QCOMPARE(listed(&screen), (QStringList{"大堂", "地下车库"}));
    QCOMPARE(text(&screen, "edtAreaName"), QString("大堂"));
    QCOMPARE(text(&screen, "edtCharger"), QString("郑阿姨"));
    QCOMPARE(text(&screen, "edtCycle"), QString("每日"));
    QCOMPARE(duties(&screen), QString(" 地面无水渍\n"));
    const QList<std::pair<const char*, const char*>> captions{{"btnPrintDevice", "预览 &p."},
                                                              {"btnAdd", "增加 &a"},
                                                              {"btnDel", "删除 &d."},
                                                              {"btnSave", "保存 &s."},
                                                              {"BitBtn1", "退出 &e."}};
    for (const auto& [name, caption] : captions)
        QCOMPARE(control<QPushButton>(&screen, name)->text(), QString(caption));
    QVERIFY(control<QPushButton>(&screen, "btnSave")->isDefault());
    QCOMPARE(control<QLineEdit>(&screen, "edtCharger")->maxLength(), 8);
}

void TestCleaning::typingIsDiscardedOnAnotherArea()
{
    CleaningScreen screen(t->context());
    type(&screen, "edtAreaName", "改过的名字");
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText("改过");
    selectRow(&screen, 1);
    QCOMPARE(text(&screen, "edtAreaName"), QString("地下车库"));
    QCOMPARE(text(&screen, "edtCharger"), QString());
    QVERIFY(duties(&screen).isEmpty());
    selectRow(&screen, 0);
    QCOMPARE(text(&screen, "edtAreaName"), QString("大堂"));
    QCOMPARE(t->scalar("select group_concat(area_name || '|' || remark) from condition").toString(),
             QString("大堂| 地面无水渍\n"));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCleaning::saveWritesTheBoxes()
{
    CleaningScreen screen(t->context());
    selectRow(&screen, 1);
    type(&screen, "edtAreaName", "  地下车库B1 ");
    type(&screen, "edtCharger", " 钱师傅 ");
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText("  无积水\n");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select area_name || '|' || charger || '|' || cycle || '|' || remark "
                       "from condition where cond_id = 2")
                 .toString(),
             QString("地下车库B1|钱师傅|每周|  无积水\n"));
    QCOMPARE(listed(&screen), (QStringList{"大堂", "地下车库B1"}));
    QCOMPARE(control<QTableView>(&screen, "DBGrid1")->currentIndex().row(), 1);
    QCOMPARE(t->scalar("select count(*) from condition").toInt(), 2);

    // The duties hold the column's 100 characters, no more.
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText(QString(101, QChar(u'扫')));
    QCOMPARE(duties(&screen).size(), 100);
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select length(remark) from condition where cond_id = 2").toInt(), 100);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCleaning::entryOneAfterAnother()
{
    CleaningScreen screen(t->context());
    click(&screen, "btnAdd");
    for (const char* box : {"edtAreaName", "edtCharger", "edtCycle"})
        QVERIFY2(text(&screen, box).isEmpty(), box);
    QVERIFY(duties(&screen).isEmpty());
    type(&screen, "edtAreaName", "电梯间");
    type(&screen, "edtCycle", "每日两次");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select area_name || cycle from condition where cond_id = 3").toString(),
             QString("电梯间每日两次"));
    // The next area is ready: empty boxes, a new row after the one saved.
    QVERIFY(text(&screen, "edtAreaName").isEmpty());
    QVERIFY(text(&screen, "edtCycle").isEmpty());
    QCOMPARE(listed(&screen), (QStringList{"大堂", "地下车库", "电梯间", ""}));
    QCOMPARE(control<QTableView>(&screen, "DBGrid1")->currentIndex().row(), 3);
    // Enter in a box saves as well.
    type(&screen, "edtAreaName", "楼梯");
    QTest::keyClick(control<QLineEdit>(&screen, "edtAreaName"), Qt::Key_Return);
    QCOMPARE(t->scalar("select group_concat(area_name, ',') from condition").toString(),
             QString("大堂,地下车库,电梯间,楼梯"));

    // Leaving the new row drops it with what was typed.
    type(&screen, "edtAreaName", "未保存");
    selectRow(&screen, 0);
    QCOMPARE(listed(&screen).size(), 4);
    QCOMPARE(t->scalar("select count(*) from condition").toInt(), 4);
}

void TestCleaning::saveOnAnEmptyListAdds()
{
    t->exec("delete from condition");
    CleaningScreen screen(t->context());
    QVERIFY(listed(&screen).isEmpty());
    type(&screen, "edtAreaName", "花园");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select group_concat(area_name) from condition").toString(), QString("花园"));
    QCOMPARE(listed(&screen), (QStringList{"花园", ""}));
}

void TestCleaning::nameRequired_data()
{
    QTest::addColumn<bool>("adding");
    QTest::newRow("area shown") << false;
    QTest::newRow("new area") << true;
}

void TestCleaning::nameRequired()
{
    QFETCH(bool, adding);
    CleaningScreen screen(t->context());
    if (adding)
        click(&screen, "btnAdd");
    type(&screen, "edtCharger", "某人");
    type(&screen, "edtAreaName", " \u3000 ");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().texts(), QStringList{"请输入区域名称！"});
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "edtAreaName"));
    QCOMPARE(
        t->scalar("select group_concat(area_name || coalesce(charger, ''), ',') from condition").toString(),
        QString("大堂郑阿姨,地下车库"));
    QCOMPARE(text(&screen, "edtCharger"), QString("某人"));
}

void TestCleaning::deleteAsksFirst()
{
    CleaningScreen screen(t->context());
    t->messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
    QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
    QCOMPARE(t->scalar("select count(*) from condition").toInt(), 2);
    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select group_concat(area_name) from condition").toString(), QString("地下车库"));
    QCOMPARE(listed(&screen), QStringList{"地下车库"});
    QCOMPARE(text(&screen, "edtAreaName"), QString("地下车库"));
}

void TestCleaning::browseOnly()
{
    CleaningScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDel", "btnSave"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnPrintDevice", "BitBtn1"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    type(&screen, "edtAreaName", "改名");
    QTest::keyClick(control<QLineEdit>(&screen, "edtAreaName"), Qt::Key_Return);
    click(&screen, "btnSave");
    selectRow(&screen, 1);
    QCOMPARE(t->scalar("select group_concat(area_name) from condition").toString(), QString("大堂,地下车库"));
    // The list takes no typing either.
    QVERIFY(!(control<QTableView>(&screen, "DBGrid1")->editTriggers() & QAbstractItemView::AllEditTriggers));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCleaning::previewListsEveryArea()
{
    CleaningScreen screen(t->context(false));
    click(&screen, "btnPrintDevice");
    QCOMPARE(t->reports().last().layoutName, QString("rptConnt"));
    const QStringList page = t->reports().pageTexts(0);
    for (const QString text : {"环境保洁", "序号", "区域名称", "负责人", "保洁周期", "1", "大堂", "郑阿姨",
                               "每日", "2", "地下车库", "每周"})
        QVERIFY2(page.contains(text), qPrintable(text));
    QVERIFY(t->messages().texts().isEmpty());

    // Esc closes the screen.
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(control<QLineEdit>(&screen, "edtAreaName"), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
}

void TestCleaning::areaRemovedMeanwhile()
{
    CleaningScreen screen(t->context());
    t->exec("delete from condition where cond_id = 1"); // another copy
    type(&screen, "edtCycle", "每周两次");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().errors().size(), 1);
    QCOMPARE(t->scalar("select group_concat(area_name || cycle) from condition").toString(),
             QString("地下车库每周"));
    QCOMPARE(listed(&screen), QStringList{"地下车库"});
}

QTEST_MAIN(TestCleaning)
#include "tst_cleaning.moc"
