#include "db/Schema.h"
#include "gui/EditorSet.h"
#include "gui/FormFields.h"
#include "gui/WidgetFactory.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

namespace {

// A paid service order as typed, one member of each kind of box, and one no box
// reads.
struct Typed
{
    qlonglong id = 0;
    QString dept = {};
    QString money = {};
    QString choice = {};
    QString item = {};
    QDate day = {};
    QString recorder = {};
};

// The form under test, in its layout order: two pairs, a pair alone before a
// wide memo, the memo across the row, then a date kept on clear beside a box
// with a caption of its own.
struct Form
{
    QWidget page;
    EditorSet editors;
    FormFields<Typed> fields{"serveorder"};
    QGridLayout* grid;

    Form()
    {
        fields.text("send_dept", "edtDept", &Typed::dept)
            .number("take_money", "edtMoney", &Typed::money)
            .choice("rece_dept", "cmbRece", {"客服部", "工程部"}, &Typed::choice)
            .memo("server_item", "memItem", &Typed::item)
            .wide()
            .height(40)
            .date("record_date", "dtpDay", &Typed::day)
            .keptOnClear()
            .text("recorder", "edtRecorder", &Typed::recorder)
            .caption("经办人");
        grid = fields.build(&page, &editors);
        page.setLayout(grid);
    }
};

void compareTyped(const Typed& read, const Typed& shown)
{
    QCOMPARE(read.dept, shown.dept);
    QCOMPARE(read.money, shown.money);
    QCOMPARE(read.choice, shown.choice);
    QCOMPARE(read.item, shown.item);
    QCOMPARE(read.day, shown.day);
    QCOMPARE(read.recorder, shown.recorder);
}

} // namespace

class TestFormFields : public QObject
{
    Q_OBJECT
private slots:
    void showThenReadGivesItBack_data();
    void showThenReadGivesItBack();
    void readKeepsWhatNoBoxHolds();
    void clearKeepsTheKeptFields();
    void layout_data();
    void layout();
    void boxesAreNamedLimitedAndWatched();
};

void TestFormFields::showThenReadGivesItBack_data()
{
    QTest::addColumn<QString>("dept");
    QTest::addColumn<QString>("money");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("recorder");

    QTest::newRow("filled") << "客服部"
                            << "88.50"
                            << "工程部"
                            << "清洗油烟机" << QDate(2026, 12, 8) << "老张";
    // Read as typed: the number unparsed, blanks and lines kept.
    QTest::newRow("as typed") << " 前台 "
                              << " ８８ "
                              << "工程部"
                              << " 第一行\n第二行\n"
                              << QDate(2000, 2, 29) << "";
    QTest::newRow("a choice not listed") << ""
                                         << ""
                                         << "保安部"
                                         << "" << QDate(2026, 1, 1) << "";
    QTest::newRow("empty, no date") << ""
                                    << ""
                                    << ""
                                    << "" << QDate() << "";
}

void TestFormFields::showThenReadGivesItBack()
{
    QFETCH(QString, dept);
    QFETCH(QString, money);
    QFETCH(QString, choice);
    QFETCH(QString, item);
    QFETCH(QDate, day);
    QFETCH(QString, recorder);
    Form form;
    // Something else shown first, so that nothing passes by being left as it was.
    form.fields.show({0, "旧", "1.00", "客服部", "旧内容", QDate(2026, 6, 6), "旧人"});
    const Typed shown{0, dept, money, choice, item, day, recorder};
    form.fields.show(shown);
    compareTyped(form.fields.read(), shown);
}

void TestFormFields::readKeepsWhatNoBoxHolds()
{
    Form form;
    form.fields.show({0, "客服部", "", "", "", QDate(), ""});
    const Typed read = form.fields.read({7, "底", "底", "底", "底", QDate(1999, 1, 1), "底"});
    QCOMPARE(read.id, 7);
    QCOMPARE(read.dept, QString("客服部"));
    QCOMPARE(read.day, QDate());
}

void TestFormFields::clearKeepsTheKeptFields()
{
    Form form;
    form.fields.show({0, "客服部", "12.00", "工程部", "内容", QDate(2026, 12, 8), "老张"});
    form.fields.clear();
    compareTyped(form.fields.read(), {0, "", "", "", "", QDate(2026, 12, 8), ""});
    QCOMPARE(form.fields.box<QComboBox>("rece_dept")->currentIndex(), -1);
}

void TestFormFields::layout_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("pair");
    QTest::addColumn<int>("span");
    QTest::addColumn<QString>("caption");

    // The captions are the schema's labels unless given.
    QTest::newRow("first pair") << "send_dept" << 0 << 0 << 1 << "发单部门";
    QTest::newRow("second pair") << "take_money" << 0 << 1 << 1 << "费用";
    QTest::newRow("a pair alone before a wide one") << "rece_dept" << 1 << 0 << 1 << "收单部门";
    QTest::newRow("wide: a row of its own") << "server_item" << 2 << 0 << 3 << "服务内容";
    QTest::newRow("after the wide one") << "record_date" << 3 << 0 << 1 << "记录日期";
    QTest::newRow("caption of its own") << "recorder" << 3 << 1 << 1 << "经办人";
}

void TestFormFields::layout()
{
    QFETCH(QString, column);
    QFETCH(int, row);
    QFETCH(int, pair);
    QFETCH(int, span);
    QFETCH(QString, caption);
    Form form;
    QWidget* box = form.fields.box(qPrintable(column));
    QVERIFY(box);
    int r = -1, c = -1, rowSpan = 0, columnSpan = 0;
    form.grid->getItemPosition(form.grid->indexOf(box), &r, &c, &rowSpan, &columnSpan);
    QCOMPARE(r, row);
    QCOMPARE(c, pair * 2 + 1);
    QCOMPARE(columnSpan, span);
    auto* label = qobject_cast<QLabel*>(form.grid->itemAtPosition(row, pair * 2)->widget());
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    // No other box shares the row of a wide one.
    if (span > 1)
        QVERIFY(!form.grid->itemAtPosition(row, 2) || form.grid->itemAtPosition(row, 2)->widget() == box);
}

void TestFormFields::boxesAreNamedLimitedAndWatched()
{
    Form form;
    const QList<QPair<const char*, const char*>> named{
        {"send_dept", "edtDept"},   {"take_money", "edtMoney"}, {"rece_dept", "cmbRece"},
        {"server_item", "memItem"}, {"record_date", "dtpDay"},  {"recorder", "edtRecorder"}};
    for (const auto& [column, name] : named) {
        QWidget* box = form.fields.box(column);
        QCOMPARE(box->objectName(), QString(name));
        // Every box names its column, so that a refusal of the column finds it.
        QCOMPARE(box->property(widgets::kField).toString(), QString(column));
    }
    // A text box takes no more than its column holds; a number box takes
    // whatever is typed, to be trimmed and read as a number.
    QCOMPARE(form.fields.box<QLineEdit>("send_dept")->maxLength(),
             schema::maxLength("serveorder", "send_dept"));
    QCOMPARE(form.fields.box<QLineEdit>("recorder")->maxLength(),
             schema::maxLength("serveorder", "recorder"));
    QCOMPARE(form.fields.box<QLineEdit>("take_money")->maxLength(), QLineEdit().maxLength());
    QCOMPARE(form.fields.box<QPlainTextEdit>("server_item")->maximumHeight(), 40);
    // Every box is in the editor set: typing into any of them is noticed.
    QCOMPARE(form.editors.editors(), form.fields.boxes());
    QCOMPARE(form.fields.boxes().size(), named.size());
    QVERIFY(!form.fields.box("owner_id"));
}

QTEST_MAIN(TestFormFields)
#include "tst_formfields.moc"
