#include "core/FunctionRow.h"

#include <QTest>

#include <vector>

Q_DECLARE_METATYPE(FunctionRow)

// The check that every function row has what the main window and the rights
// editor need, run here over planted rows; the office's own rows are checked
// in tests/app.
class TestFunctionRows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void soundRowsPass();
    void faultsAreNamed_data();
    void faultsAreNamed();
};

namespace {

using G = RightsGroup;

const std::vector<FunctionRow> kSound = {
    {G::Base, 1, "labA", "甲", "cbxAR", "cbxAW"},
    {G::Base, 2, "labB", "乙", nullptr, "cbxBW"},
    {G::Query, 1, "labC", "丙", "cbxCR", nullptr},
};

} // namespace

void TestFunctionRows::soundRowsPass()
{
    QCOMPARE(function_rows::problems(kSound), QStringList());
}

void TestFunctionRows::faultsAreNamed_data()
{
    QTest::addColumn<FunctionRow>("planted"); // added to the sound rows
    QTest::addColumn<QString>("problem");

    QTest::newRow("no tick box") << FunctionRow{G::Base, 3, "labD", "丁", nullptr, nullptr}
                                 << "labD: no tick box in the rights editor";
    QTest::newRow("position taken") << FunctionRow{G::Base, 2, "labD", "丁", "cbxDR", "cbxDW"}
                                    << "labD: its group already has position 2";
    QTest::newRow("a gap") << FunctionRow{G::Base, 4, "labD", "丁", "cbxDR", "cbxDW"}
                           << "group 0: positions leave a gap";
    QTest::newRow("position 0") << FunctionRow{G::Admin, 0, "labD", "丁", "cbxDR", "cbxDW"}
                                << "labD: position below 1";
    QTest::newRow("entry named twice")
        << FunctionRow{G::Base, 3, "labA", "丁", "cbxDR", "cbxDW"} << "labA: labA is named twice";
    QTest::newRow("box named twice") << FunctionRow{G::Base, 3, "labD", "丁", "cbxDR", "cbxCR"}
                                     << "labD: cbxCR is named twice";
    QTest::newRow("no caption") << FunctionRow{G::Base, 3, "labD", "", "cbxDR", "cbxDW"}
                                << "labD: no caption";
}

void TestFunctionRows::faultsAreNamed()
{
    QFETCH(FunctionRow, planted);
    QFETCH(QString, problem);
    std::vector<FunctionRow> rows = kSound;
    rows.push_back(planted);
    QVERIFY2(function_rows::problems(rows).contains(problem),
             qPrintable(function_rows::problems(rows).join(u'\n')));
}

QTEST_APPLESS_MAIN(TestFunctionRows)
#include "tst_functionrows.moc"
