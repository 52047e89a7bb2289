#include "app/PasswordHash.h"
#include "app/Rights.h"
#include "base/OwnersScreen.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"
#include "db/SqliteDialect.h"
#include "output/PdfText.h"
#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "queries/ArrearsScreen.h"
#include "queries/PaymentRecordsScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

// `pelm <command>` as a script runs it: a process, its exit status, what it
// writes to standard output and error, and the files it leaves. What it exports
// and prints is compared with what the screens export and print of the same list.
class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void refusals_data();
    void refusals();
    void billTriesThenBillsOnceWithTheScreensRules();
    void exportEqualsTheScreensExport_data();
    void exportEqualsTheScreensExport();
    void csvToStandardOutput();
    void printCarriesThePreviewsValues();
    void checkUpgradeAndAliases();
    void helpIsChinese();

private:
    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QString err;
    };
    // Runs pelm on the test's database in the test's folder; the password file
    // holds `password` unless it is null.
    Run pelm(QStringList arguments, const QString& password = QStringLiteral("pw1"));
    QString file(const QString& name) const { return m_dir->filePath(name); }
    int feeRecords() const { return sql::scalar(t->db(), "select count(*) from charge_take").toInt(); }

    TestDatabase* t = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

// An operator with one rights string per group, in group order.
void addOperator(TestDatabase& t, const QString& code, const QString& password,
                 const std::array<QString, kRightsGroupCount>& rights)
{
    QStringList columns{"op_code", "op_name", "password"};
    QVariantList values{code, code, password_hash::hash(password)};
    for (int g = 0; g < kRightsGroupCount; ++g) {
        columns << OperatorRights::columnName(RightsGroup(g));
        values << rights[std::size_t(g)];
    }
    t.exec("insert into operator (" + columns.join(", ") + ") values (?" +
               QString(", ?").repeated(columns.size() - 1) + ")",
           values);
}

int rowOf(QTableView* view, const QString& text)
{
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            if (view->model()->index(row, column).data().toString().trimmed() == text)
                return row;
        }
    }
    return -1;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The records of a CSV file as RFC 4180 reads them.
QList<QStringList> csvRecords(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

} // namespace

void TestCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    e.addChargeType("电费", "0.6", "表读数*单价");
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower, .buildArea = "100.50"});
    e.addRoom({.id = "102", .building = tower, .buildArea = "80"});
    e.addRoom({.id = "0201", .building = tower, .buildArea = "33.33"});
    // A name with a comma and quotes is quoted in a CSV file.
    const qlonglong jia = e.addOwner({.name = "甲公司", .linkTel = "0755-1234567", .inDate = "2020-05-01"});
    const qlonglong yi = e.addOwner({.name = "乙,\"好\"商行", .bailMoney = "1000"});
    const qlonglong bing = e.addOwner({.name = "丙公司", .inOut = "搬出"});
    e.linkRoom(jia, "101");
    e.linkRoom(jia, "0201");
    e.linkRoom(yi, "102");
    e.linkRoom(bing, "102");
    e.addFee({.owner = jia, .type = 1, .shouldPay = "480", .paid = "300", .date = "2003-08-31"});
    e.addFee({.owner = jia, .type = 2, .shouldPay = "72", .paid = "72", .date = "2003-08-01"});
    e.addFee({.owner = yi, .type = 1, .shouldPay = "10.5", .paid = "0", .date = "2003-08-15"});
    t->exec("update charge_take set start_num = '100', end_num = '220' where take_id = 2");
    // base: rooms and owners browsed; charging: the monthly run; queries: all three.
    addOperator(*t, "clerk", "pw1", {"0110", "", "2", "", "111", ""});
    addOperator(*t, "viewer", "pw1", {"0010", "", "0", "", "", ""});
}

void TestCommands::cleanup()
{
    delete t;
    m_dir.reset();
}

TestCommands::Run TestCommands::pelm(QStringList arguments, const QString& password)
{
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("QT_QPA_PLATFORM"); // a command needs no display of any kind
    env.remove("DISPLAY");
    env.remove("PELM_PASSWORD_FILE");
    if (!password.isNull()) {
        QFile f(file("password"));
        if (f.open(QIODevice::WriteOnly))
            f.write(password.toUtf8() + "\n");
        env.insert("PELM_PASSWORD_FILE", file("password"));
    }
    process.setProcessEnvironment(env);
    // The database first, where a script's own options may name another.
    arguments.prepend(t->path());
    arguments.prepend("--database");
    process.start(PELM_EXECUTABLE, arguments);
    process.closeWriteChannel(); // standard input is no terminal
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

void TestCommands::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password"); // null: no password file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString pw = "pw1";
    const QStringList clerk{"--operator", "clerk"};
    // Bad usage: 2.
    QTest::newRow("unknown command") << QStringList{"bil"} << pw << 2 << "未知的命令：bil";
    QTest::newRow("unknown option") << QStringList{"export", "owners", "-o", "a.csv", "--colour"} << pw << 2
                                    << "未知的选项：--colour";
    QTest::newRow("option without its value")
        << QStringList{"bill", "--from"} << pw << 2 << "选项 --from 缺少值";
    QTest::newRow("month that is no month")
        << (QStringList{"bill", "--from", "2026-13", "--to", "2026-03"} + clerk) << pw << 2
        << "--from 的值“2026-13”不是月份";
    QTest::newRow("day that is no day")
        << (QStringList{"export", "payments", "--from", "2026-02-30", "--to", "2026-03", "-o", "a.csv"} +
            clerk)
        << pw << 2 << "--from 的值“2026-02-30”不是日期";
    QTest::newRow("bill without its months")
        << (QStringList{"bill", "--from", "2026-01"} + clerk) << pw << 2 << "bill 需要 --from 和 --to";
    QTest::newRow("unknown list") << (QStringList{"export", "ownrs", "-o", "a.csv"} + clerk) << pw << 2
                                  << "未知的列表：ownrs";
    QTest::newRow("no output") << (QStringList{"export", "owners"} + clerk) << pw << 2 << "请用 -o 指定";
    QTest::newRow("neither workbook nor csv")
        << (QStringList{"export", "owners", "-o", "a.txt"} + clerk) << pw << 2 << "只能导出为 .xlsx 或 .csv";
    QTest::newRow("filter the list has not")
        << (QStringList{"export", "rooms", "--owner", "甲公司", "-o", "a.csv"} + clerk) << pw << 2
        << "rooms 不接受 --owner";
    QTest::newRow("filter the list needs") << (QStringList{"export", "income", "-o", "a.csv"} + clerk) << pw
                                           << 2 << "income 需要 --from 和 --to";
    QTest::newRow("no operator") << QStringList{"export", "owners", "-o", "a.csv"} << pw << 2 << "--operator";
    // Refused: 1.
    QTest::newRow("wrong password") << (QStringList{"export", "owners", "-o", "a.csv"} + clerk) << "pw2" << 1
                                    << "用户名密码不一致，请重新输入！！";
    QTest::newRow("no password and no terminal")
        << (QStringList{"export", "owners", "-o", "a.csv"} + clerk) << QString() << 1 << "PELM_PASSWORD_FILE";
    QTest::newRow("billing without the edit right")
        << QStringList{"bill", "--from", "2026-01", "--to", "2026-01", "--operator", "viewer"} << pw << 1
        << "操作员 viewer 没有“物管费自动生成”的编辑权限。";
    QTest::newRow("export without the browse right")
        << QStringList{"export", "arrears", "-o", "a.csv", "--operator", "viewer"} << pw << 1
        << "操作员 viewer 没有“欠费清单”的浏览权限。";
    QTest::newRow("months reversed") << (QStringList{"bill", "--from", "2026-03", "--to", "2026-01"} + clerk)
                                     << pw << 1 << "起始月份不能大于截止月份！";
    QTest::newRow("owner not found")
        << (QStringList{"export", "arrears", "--owner", "丁公司", "-o", "a.csv"} + clerk) << pw << 1
        << "找不到住户“丁公司”。";
    QTest::newRow("empty list")
        << (QStringList{"export", "payments", "--from", "2026-01", "--to", "2026-01", "-o", "a.csv"} + clerk)
        << pw << 1 << "没有数据可打印！";
    QTest::newRow("restore without --yes") << QStringList{"restore", "backup.mdb"} << pw << 1 << "请加 --yes";
}

void TestCommands::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const int records = feeRecords();
    const Run run = pelm(arguments, password);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(run.out.isEmpty(), run.out.constData()); // no data, no half a file
    QVERIFY(!QFile::exists(file("a.csv")));
    QCOMPARE(feeRecords(), records);
    if (exitCode == 2)
        QVERIFY(run.err.contains("运行 pelm --help 查看用法。"));
}

void TestCommands::billTriesThenBillsOnceWithTheScreensRules()
{
    const QStringList months{"bill", "--from", "2026-01", "--to", "2026-03", "--operator", "clerk", "--json"};
    const int before = feeRecords();

    // The trial: the owners with a room link (the one who moved out too), each
    // owner's floor area × 2.50 × 3 months, and nothing stored.
    const Run trial = pelm(months + QStringList{"--dry-run"});
    QCOMPARE(trial.exitCode, 0);
    const QJsonObject tried = QJsonDocument::fromJson(trial.out).object();
    QCOMPARE(tried["bills"].toInt(), 3);
    // 甲 133.83 m² × 7.50 = 1003.725 → 1003.70 (one decimal, halves away);
    // 乙 and 丙 80 m² × 7.50 = 600.00 each.
    QCOMPARE(tried["total"].toString(), "2203.70");
    QCOMPARE(tried["dryRun"].toBool(), true);
    QCOMPARE(feeRecords(), before);

    const Run billed = pelm(months);
    QCOMPARE(billed.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(billed.out).object()["total"].toString(), "2203.70");
    QCOMPARE(feeRecords(), before + 3);
    QCOMPARE(sql::scalar(t->db(), "select cast(sum(should_pay) as bigint) from charge_take where take_id > 3")
                 .toLongLong(),
             220370);
    const QDate today = QDate::currentDate();
    QCOMPARE(
        sql::scalar(t->db(), "select min(start_num) from charge_take where take_id > 3").toString().trimmed(),
        QDate(2026, 1, std::min(today.day(), 31)).toString(Qt::ISODate));

    // The guard of the screen: the months are billed once.
    const Run again = pelm(months);
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.err.contains("2026-01月份已经对一部分住户收过物管费了"), qPrintable(again.err));
    QVERIFY2(again.err.contains("甲公司，房号0201、101"), qPrintable(again.err)); // the records behind it
    QCOMPARE(feeRecords(), before + 3);
}

void TestCommands::exportEqualsTheScreensExport_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("filters");
    QTest::newRow("owners") << "owners" << QStringList{};
    QTest::newRow("payments of an owner")
        << "payments" << QStringList{"--owner", "甲公司", "--from", "2003-08-01", "--to", "2003-08-31"};
    QTest::newRow("arrears of an owner") << "arrears" << QStringList{"--owner", "甲公司"};
}

void TestCommands::exportEqualsTheScreensExport()
{
    QFETCH(QString, list);
    QFETCH(QStringList, filters);

    // The screen's export of the list.
    std::unique_ptr<QWidget> screen;
    if (list == "owners") {
        screen = std::make_unique<OwnersScreen>(t->context(false));
    } else {
        if (list == "payments")
            screen = std::make_unique<PaymentRecordsScreen>(t->context(false));
        else
            screen = std::make_unique<ArrearsScreen>(t->context(false));
        auto* owners = control<QTableView>(screen.get(), "DBGrid1");
        owners->selectRow(rowOf(owners, "甲公司"));
        // The arrears list shows the owner's totals over all dates until a query.
        if (list == "payments") {
            control<QDateEdit>(screen.get(), "dtpStart")->setDate(QDate(2003, 8, 1));
            control<QDateEdit>(screen.get(), "dtpEnd")->setDate(QDate(2003, 8, 31));
            control<QPushButton>(screen.get(), "btnQuery")->click();
        }
    }
    control<QPushButton>(screen.get(), "Btnexcela")->click();
    QVERIFY2(t->messages().texts().isEmpty(), qPrintable(t->messages().texts().join('\n')));
    QCOMPARE(t->desktop().opened().size(), 1);
    const QString screens = t->desktop().opened().first();

    const QStringList command = QStringList{"export", list} + filters + QStringList{"--operator", "clerk"};
    const Run workbook = pelm(command + QStringList{"-o", "list.xlsx"});
    QVERIFY2(workbook.exitCode == 0, qPrintable(workbook.err));
    QVERIFY2(workbook.err.contains("已导出"), qPrintable(workbook.err));
    const Run csv = pelm(command + QStringList{"-o", "list.csv"});
    QCOMPARE(csv.exitCode, 0);

    // The workbook: the same sheet, cell by cell, with the same styles.
    const WorkbookReader ours(screens);
    const WorkbookReader theirs(file("list.xlsx"));
    QVERIFY(ours.isValid() && theirs.isValid());
    QCOMPARE(theirs.lastRow(), ours.lastRow());
    QCOMPARE(theirs.merges(), ours.merges());
    for (int row = 1; row <= ours.lastRow(); ++row) {
        QCOMPARE(theirs.cellsOfRow(row), ours.cellsOfRow(row));
        for (const QString& ref : ours.cellsOfRow(row)) {
            QCOMPARE(theirs.cell(ref)->type, ours.cell(ref)->type);
            QCOMPARE(theirs.cell(ref)->text, ours.cell(ref)->text);
            QCOMPARE(theirs.style(theirs.cell(ref)->style).numberFormat,
                     ours.style(ours.cell(ref)->style).numberFormat);
        }
    }
    QCOMPARE(theirs.title(), ours.title());

    // The CSV file: the captions and rows as the spreadsheet program shows the
    // screen's workbook from its third row on, after a byte-order mark.
    const QByteArray bytes = contents(file("list.csv"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QList<QStringList> records = csvRecords(bytes.mid(3));
    for (QStringList& record : records) {
        while (!record.isEmpty() && record.last().isEmpty())
            record.removeLast(); // the program leaves empty cells at the end off
    }
    const QList<QStringList> shown = spreadsheetProgramRows(screens).mid(2);
    QCOMPARE(records, shown);
}

void TestCommands::csvToStandardOutput()
{
    const Run run = pelm({"export", "owners", "--all", "-o", "-", "--operator", "clerk", "--json"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = run.out.mid(3).split('\n');
    QVERIFY(lines.first().endsWith('\r')); // CR LF
    // A field with a comma or quotes is quoted, its quotes doubled; the deposit an
    // exact amount.
    QVERIFY2(run.out.contains("\"乙,\"\"好\"\"商行\""), run.out.constData());
    const QList<QStringList> records = csvRecords(run.out.mid(3));
    QCOMPARE(records.size(), 4); // captions and three owners, the one moved out too
    QCOMPARE(records[0].first(), "单位名称");
    // In pinyin order: 丙, 甲, 乙.
    QCOMPARE(records[1].first(), "丙公司");
    QCOMPARE(records[2].first(), "甲公司");
    QCOMPARE(records[2][5], "2020-05-01");
    QCOMPARE(records[3].first(), "乙,\"好\"商行");

    // The summary goes to standard error while standard output carries the data.
    const QJsonObject summary = QJsonDocument::fromJson(run.err.trimmed().toUtf8()).object();
    QCOMPARE(summary["rows"].toInt(), 3);
    QCOMPARE(summary["file"].toString(), "-");
}

void TestCommands::printCarriesThePreviewsValues()
{
    // The arrears of every owner as the dunning list prints them.
    const Run run =
        pelm({"print", "arrears", "--owner", "甲公司", "-o", "arrears.pdf", "--operator", "clerk"});
    QCOMPARE(run.exitCode, 0);
    const QStringList pages = pdfPageTexts(file("arrears.pdf"));
    QCOMPARE(pages.size(), 1);

    ArrearsScreen screen(t->context(false));
    auto* owners = control<QTableView>(&screen, "DBGrid1");
    owners->selectRow(rowOf(owners, "甲公司"));
    control<QPushButton>(&screen, "btnPrint")->click();
    QCOMPARE(t->reports().last().layoutName, "rptOwe");
    // Every text of the preview's page is on the printed page, but the date of
    // printing, which is the test clock's on the screen and today's on the command line.
    const QRegularExpression date("\\d{4}年\\d{1,2}月\\d{1,2}日|\\d{4}-\\d{2}-\\d{2}");
    for (QString text : t->reports().pageTexts(0)) {
        text.remove(QRegularExpression("\\s"));
        if (!date.match(text).hasMatch())
            QVERIFY2(pages.first().contains(text), qPrintable(text + " / " + pages.first()));
    }
    QVERIFY(pages.first().contains("180.00")); // 甲's 480 − 300 still owed
}

void TestCommands::checkUpgradeAndAliases()
{
    const Run checked = pelm({"check", "--json"}, QString());
    QCOMPARE(checked.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(checked.out).object()["ok"].toBool(), true);

    // The aliases of before: a backup, and a restore that never asked.
    QCOMPARE(pelm({"--backup", file("backup.db")}, QString()).exitCode, 0);
    QVERIFY(QFile::exists(file("backup.db")));
    QCOMPARE(pelm({"backup", file("backup.db")}, QString()).exitCode, 1); // never overwritten

    SKIP_ON_SERVER();
    // A file of the first release: refused by check, brought up to date by upgrade.
    const QString old = file("old.mdb");
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(SqlDialect::of(SqlDialect::Engine::Sqlite).driverName(), "v1");
        SqliteDialect::setConnection(db, old, true, 1000);
        QVERIFY(db.open());
        QFile schema(PELM_SCHEMA_V1);
        QVERIFY(schema.open(QIODevice::ReadOnly));
        for (QString statement : QString::fromUtf8(schema.readAll()).split(";\n")) {
            statement.remove(QRegularExpression("^--.*$", QRegularExpression::MultilineOption));
            if (!statement.trimmed().isEmpty())
                sql::exec(db, statement);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("v1");
    QStringList onOld{"--database", old};
    const Run refused = pelm(QStringList{"check"} + onOld, QString());
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("是旧版本（版本1") && refused.err.contains("pelm upgrade"),
             qPrintable(refused.err));
    const Run upgraded = pelm(QStringList{"upgrade"} + onOld, QString());
    QCOMPARE(upgraded.exitCode, 0);
    QVERIFY2(upgraded.err.contains("已从版本1升级到版本"), qPrintable(upgraded.err));
    QCOMPARE(pelm(QStringList{"check"} + onOld, QString()).exitCode, 0);
}

void TestCommands::helpIsChinese()
{
    const Run help = pelm({"--help"}, QString());
    QCOMPARE(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    for (const char* word : {"init", "check", "upgrade", "bill", "export", "print", "backup", "restore"})
        QVERIFY2(text.contains(QString("\n  ") + word + ' '), word);
    QVERIFY(text.contains("用法："));
    QVERIFY(!text.contains("Usage"));

    const Run exportHelp = pelm({"export", "--help"}, QString());
    QCOMPARE(exportHelp.exitCode, 0);
    QVERIFY(QString::fromUtf8(exportHelp.out).contains("payments"));
    QVERIFY(QString::fromUtf8(exportHelp.out).contains("--owner 住户"));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
