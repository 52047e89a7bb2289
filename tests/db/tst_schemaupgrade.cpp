#include "charging/Receipt.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/Sql.h"
#include "db/SqliteDialect.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestSchemaUpgrade : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void currentFileOpensUnchanged();
    void stepsRunInOrder_data();
    void stepsRunInOrder();
    void failedUpgradeLeavesFileAlone_data();
    void failedUpgradeLeavesFileAlone();
    void openRefusesFileItCannotUpgrade_data();
    void openRefusesFileItCannotUpgrade();
    void versionOneFileUpgraded();
    void paymentsBeforeReceiptsKeptOnHistoricalReceipts();
    void versionOneValuesKeptOrPutRight_data();
    void versionOneValuesKeptOrPutRight();
    void whatScriptsAddedIsKept();
};

namespace {

// Everything that makes up the file's schema, in one text.
QString schemaText(const QSqlDatabase& db)
{
    QStringList parts;
    QSqlQuery q = sql::exec(db, "select type || ' ' || name || ' ' || coalesce(sql, '') from sqlite_master "
                                "order by type, name");
    while (q.next())
        parts << q.value(0).toString();
    return parts.join(u'\n');
}

int versionOf(const QSqlDatabase& db)
{
    return sql::scalar(db, "PRAGMA user_version").toInt();
}

// Step n makes the table step_<n> and notes that it ran.
schema_upgrade::Step step(int from, QList<int>* ran)
{
    return {from, [from, ran](const QSqlDatabase& db) {
                sql::exec(db, u"create table step_" + QString::number(from) + u" (x)");
                ran->append(from);
            }};
}

QStringList stepTables(const QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery q = sql::exec(db, "select name from sqlite_master where name like 'step\\_%' escape '\\' "
                                "order by name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QStringList tablesOf(const QList<int>& steps)
{
    QStringList names;
    for (int from : steps)
        names << u"step_" + QString::number(from);
    return names;
}

// A pelm.mdb as the first release made it, with a connection of its own to fill
// it; close() it before pelm opens the file.
class VersionOneFile
{
public:
    VersionOneFile() : m_path(m_dir.filePath("pelm.mdb")), m_name(u"version1-" + QString::number(++s_count))
    {
        QFile file(QStringLiteral(PELM_SCHEMA_V1));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " PELM_SCHEMA_V1);
        m_db = QSqlDatabase::addDatabase(SqlDialect::of(SqlDialect::Engine::Sqlite).driverName(), m_name);
        SqliteDialect::setConnection(m_db, m_path, true, 1000);
        if (!m_db.open())
            throw std::runtime_error("cannot make a version-1 file");
        Transaction transaction(m_db);
        for (QString statement : QString::fromUtf8(file.readAll()).split(";\n")) {
            statement.remove(QRegularExpression("^--.*$", QRegularExpression::MultilineOption));
            if (!statement.trimmed().isEmpty())
                sql::exec(m_db, statement);
        }
        transaction.commit();
    }
    ~VersionOneFile() { close(); }
    VersionOneFile(const VersionOneFile&) = delete;
    VersionOneFile& operator=(const VersionOneFile&) = delete;

    QString path() const { return m_path; }
    QSqlDatabase db() const { return m_db; }
    void exec(const QString& statement, const QVariantList& values = {})
    {
        sql::exec(m_db, statement, values);
    }
    void close()
    {
        if (!m_db.isValid())
            return;
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

private:
    static inline int s_count = 0;
    QTemporaryDir m_dir;
    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace

void TestSchemaUpgrade::currentFileOpensUnchanged()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    t.exec("insert into garden (garden_name) values ('一号楼')");
    const QString before = schemaText(t.db());

    QString error;
    {
        QSqlDatabase db = database_file::open(t.path(), "reopened", &error);
        QCOMPARE(error, QString());
        QCOMPARE(schemaText(db), before);
        QCOMPARE(versionOf(db), schema::kVersion);
        QCOMPARE(sql::scalar(db, "select garden_name from garden").toString(), QStringLiteral("一号楼"));
        db.close();
    }
    QSqlDatabase::removeDatabase("reopened");
}

void TestSchemaUpgrade::stepsRunInOrder_data()
{
    QTest::addColumn<int>("fileVersion");
    QTest::addColumn<QList<int>>("listed"); // steps in the order of the list
    QTest::addColumn<QList<int>>("ran");

    QTest::newRow("1 to 3") << 1 << QList<int>{1, 2} << QList<int>{1, 2};
    QTest::newRow("listed backwards") << 1 << QList<int>{2, 1} << QList<int>{1, 2};
    QTest::newRow("2 to 3") << 2 << QList<int>{1, 2} << QList<int>{2};
    QTest::newRow("already at 3") << 3 << QList<int>{1, 2} << QList<int>{};
}

void TestSchemaUpgrade::stepsRunInOrder()
{
    SKIP_ON_SERVER();
    QFETCH(int, fileVersion);
    QFETCH(QList<int>, listed);
    QFETCH(QList<int>, ran);
    TestDatabase t;
    t.exec(u"PRAGMA user_version = " + QString::number(fileVersion));
    t.exec("insert into garden (garden_name) values ('一号楼')");

    QList<int> log;
    std::vector<schema_upgrade::Step> steps;
    for (int from : listed)
        steps.push_back(step(from, &log));
    schema_upgrade::upgrade(t.db(), steps, 3);

    QCOMPARE(log, ran);
    QCOMPARE(stepTables(t.db()), tablesOf(ran));
    QCOMPARE(versionOf(t.db()), 3);
    QCOMPARE(t.scalar("select garden_name from garden").toString(), QStringLiteral("一号楼"));
    QCOMPARE(Transaction::depth(t.db()), 0);
}

void TestSchemaUpgrade::failedUpgradeLeavesFileAlone_data()
{
    QTest::addColumn<QList<int>>("listed");
    QTest::addColumn<int>("failing");    // the step that fails; 0: none fails, one is missing
    QTest::addColumn<QString>("detail"); // a part of it

    QTest::newRow("last step fails") << QList<int>{1, 2} << 2 << "从版本2升级时出错：no such table";
    QTest::newRow("first step fails") << QList<int>{1, 2} << 1 << "从版本1升级时出错：no such table";
    QTest::newRow("step missing") << QList<int>{1} << 0 << "缺少从版本2升级的步骤";
}

void TestSchemaUpgrade::failedUpgradeLeavesFileAlone()
{
    SKIP_ON_SERVER();
    QFETCH(QList<int>, listed);
    QFETCH(int, failing);
    QFETCH(QString, detail);
    TestDatabase t;
    t.exec("PRAGMA user_version = 1");
    t.exec("insert into garden (garden_name) values ('一号楼')");
    const QString before = schemaText(t.db());

    QList<int> log;
    std::vector<schema_upgrade::Step> steps;
    for (int from : listed) {
        if (from == failing)
            steps.push_back(
                {from, [](const QSqlDatabase& db) { sql::exec(db, "alter table no_such_table add x"); }});
        else
            steps.push_back(step(from, &log));
    }
    try {
        schema_upgrade::upgrade(t.db(), steps, 3);
        QFAIL("a failed upgrade passed");
    } catch (const DbError& e) {
        QCOMPARE(e.text(), QStringLiteral("数据库文件无法从版本1升级到版本3，文件未做任何改动。"));
        QVERIFY2(e.detail().contains(detail), qPrintable(e.detail()));
    }
    QCOMPARE(versionOf(t.db()), 1);
    QCOMPARE(schemaText(t.db()), before);
    QCOMPARE(t.scalar("select garden_name from garden").toString(), QStringLiteral("一号楼"));
    QCOMPARE(Transaction::depth(t.db()), 0);
}

void TestSchemaUpgrade::openRefusesFileItCannotUpgrade_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("error"); // a part of it

    // This release has no step from a version before its first.
    QTest::newRow("older, no way up") << 0 << "无法从版本0升级到版本" + QString::number(schema::kVersion);
    QTest::newRow("newer") << schema::kVersion + 1 << "来自更新的版本";
}

void TestSchemaUpgrade::openRefusesFileItCannotUpgrade()
{
    SKIP_ON_SERVER();
    QFETCH(int, version);
    QFETCH(QString, error);
    TestDatabase t;
    t.exec(u"PRAGMA user_version = " + QString::number(version));
    const QString before = schemaText(t.db());

    QString openError;
    {
        QSqlDatabase db = database_file::open(t.path(), "refused", &openError);
        QVERIFY(!db.isOpen());
    }
    QSqlDatabase::removeDatabase("refused");
    QVERIFY2(openError.contains(error), qPrintable(openError));
    QCOMPARE(versionOf(t.db()), version);
    QCOMPARE(schemaText(t.db()), before);
}

void TestSchemaUpgrade::versionOneFileUpgraded()
{
    SKIP_ON_SERVER();
    VersionOneFile v1;
    QCOMPARE(versionOf(v1.db()), 1);
    // Three buildings, the last removed: its number is not handed out again.
    v1.exec("insert into garden (garden_name, finish_date) values "
            "('一号楼', '2002-07-10'), ('二号楼', null), ('三号楼', '2026-02-30')");
    v1.exec("delete from garden where garden_id = 3");
    v1.exec("insert into rooms_info (room_id, garden_id, build_area) values ('101', 1, 10050)");
    v1.exec("insert into owner_info (owner_name, in_date) values ('甲公司', '2020-05-01 08:00:00')");
    v1.exec("insert into owner_rooms (room_id, owner_id) values ('101', 1)");
    v1.exec("insert into charge_take (owner_id, type_id) values (1, 2)");
    v1.close();

    TestDatabase fresh; // as this release makes a new file
    QString error;
    {
        QSqlDatabase db = database_file::open(v1.path(), "upgraded", &error);
        QCOMPARE(error, QString());
        QCOMPARE(versionOf(db), schema::kVersion);
        // The same tables, checks and indexes as a new file.
        QCOMPARE(schemaText(db), schemaText(fresh.db()));
        QCOMPARE(sql::scalar(db, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));

        QCOMPARE(sql::scalar(db, "select group_concat(garden_id || ':' || garden_name || ':' || "
                                 "coalesce(finish_date, ''), ' ') from garden")
                     .toString(),
                 QStringLiteral("1:一号楼:2002-07-10 2:二号楼:"));
        QCOMPARE(sql::scalar(db, "select build_area from rooms_info where room_id = '101'").toLongLong(),
                 10050LL);
        QCOMPARE(sql::scalar(db, "select in_date from owner_info").toString(),
                 QStringLiteral("2020-05-01 08:00:00"));
        QCOMPARE(sql::scalar(db, "select if_manage from owner_rooms").toString(), QStringLiteral("是"));
        QCOMPARE(sql::insert(db, "garden", {{"garden_name", "四号楼"}}), 4LL);
        // The fee records kept, and a fee of a charge type numbered past 255.
        QCOMPARE(sql::insert(db, "charge_take", {{"owner_id", 1}, {"type_id", 300}}), 2LL);
        QCOMPARE(sql::scalar(db, "select group_concat(type_id) from charge_take").toString(),
                 QString("2,300"));

        // The checks of this release hold.
        try {
            sql::insert(db, "garden", {{"garden_name", "五号楼"}, {"finish_date", "2026-02-30"}});
            QFAIL("an impossible date was stored");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), QStringLiteral("竣工日期不是有效的日期。"));
        }
        QCOMPARE(Transaction::depth(db), 0);
        db.close();
    }
    QSqlDatabase::removeDatabase("upgraded");
}

void TestSchemaUpgrade::versionOneValuesKeptOrPutRight_data()
{
    QTest::addColumn<QString>("insert"); // one value bound
    QTest::addColumn<QString>("select");
    QTest::addColumn<QVariant>("stored");   // as version 1 took it
    QTest::addColumn<QVariant>("upgraded"); // as version 2 has it; invalid for null

    const QString finish = "insert into garden (garden_name, finish_date) values ('a', ?)";
    const QString finishDate = "select finish_date from garden";
    const QString sent = "insert into message_info (sender, send_time) values ('admin', ?)";
    const QString sendTime = "select send_time from message_info";
    QTest::newRow("a date") << finish << finishDate << QVariant("2002-07-10") << QVariant("2002-07-10");
    QTest::newRow("29 February of a leap year")
        << finish << finishDate << QVariant("2024-02-29") << QVariant("2024-02-29");
    QTest::newRow("a date and time") << sent << sendTime << QVariant("2026-01-05 08:30:00")
                                     << QVariant("2026-01-05 08:30:00");
    QTest::newRow("no date") << finish << finishDate << QVariant() << QVariant();
    QTest::newRow("30 February") << finish << finishDate << QVariant("2026-02-30") << QVariant();
    QTest::newRow("month 19, day 39") << finish << finishDate << QVariant("9999-19-39") << QVariant();
    QTest::newRow("day 00") << finish << finishDate << QVariant("2026-01-00") << QVariant();
    QTest::newRow("year 0000") << finish << finishDate << QVariant("0000-01-01") << QVariant();
    QTest::newRow("hour 25 keeps the day")
        << sent << sendTime << QVariant("2026-01-05 25:00:00") << QVariant("2026-01-05");
    QTest::newRow("impossible day with a time")
        << sent << sendTime << QVariant("2026-02-30 10:00:00") << QVariant();

    const QString name = "insert into garden (garden_name) values (?)";
    const QString gardenName = "select garden_name from garden";
    const QChar nul(0);
    const QChar replacement(QChar::ReplacementCharacter);
    QTest::newRow("text at its size")
        << name << gardenName << QVariant(QString(30, u'楼')) << QVariant(QString(30, u'楼'));
    QTest::newRow("NUL in a text") << name << gardenName << QVariant(QString("ab") + nul + "cd")
                                   << QVariant(QString("ab") + replacement + "cd");
    QTest::newRow("NUL hiding a long text")
        << name << gardenName << QVariant(QString("一号楼") + nul + QString(100, 'x'))
        << QVariant(QString("一号楼") + replacement + QString(26, 'x'));
    // 30 characters are 31 UTF-16 units here: the cut keeps the pair whole.
    QTest::newRow("cut after a pair of surrogates")
        << name << gardenName << QVariant(nul + QString(28, 'a') + QString::fromUtf8("😀") + "b")
        << QVariant(replacement + QString(28, 'a') + QString::fromUtf8("😀"));
    QTest::newRow("NUL in a memo, nothing cut")
        << "insert into department (dept_name, duty_desc) values ('a', ?)"
        << "select duty_desc from department" << QVariant(QString("职责") + nul + QString(300, 'x'))
        << QVariant(QString("职责") + replacement + QString(300, 'x'));
    QTest::newRow("NUL in a room number")
        << "insert into rooms_info (room_id, garden_id, build_area) values (?, 1, 100)"
        << "select room_id from rooms_info" << QVariant(QString("10") + nul + "1")
        << QVariant(QString("10") + replacement + "1");
}

void TestSchemaUpgrade::versionOneValuesKeptOrPutRight()
{
    QFETCH(QString, insert);
    QFETCH(QString, select);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, upgraded);
    VersionOneFile v1;
    v1.exec(insert, {stored});
    // Version 1 took the value as it was.
    const QVariant before = sql::scalar(v1.db(), select);
    QCOMPARE(before.isNull(), stored.isNull());
    QCOMPARE(before.toString(), stored.toString());

    // A value put right is reported; a value kept is not.
    const QRegularExpression report("升级到版本2：表\\w+中有1个值不是有效的日期或含有空字符，已修正。");
    if (upgraded != stored)
        QTest::ignoreMessage(QtWarningMsg, report);
    else
        QTest::failOnWarning(report);
    schema_upgrade::upgrade(v1.db(), schema_upgrade::steps(), schema::kVersion);
    QCOMPARE(versionOf(v1.db()), schema::kVersion);
    const QVariant after = sql::scalar(v1.db(), select);
    QCOMPARE(after.isNull(), upgraded.isNull());
    if (!upgraded.isNull())
        QCOMPARE(after.toString(), upgraded.toString());
}

void TestSchemaUpgrade::whatScriptsAddedIsKept()
{
    // The tables are made again from their own declarations in the file: a
    // column, an index or a table that a script added stays.
    VersionOneFile v1;
    v1.exec("alter table car add column mileage integer");
    v1.exec("create index car_mileage on car (mileage)");
    v1.exec("create table notes (id integer primary key, note text)");
    v1.exec("insert into car (owner_id, car_no, mileage) values (1, '粤A1', 1000)");
    v1.exec("insert into notes (note) values ('x')");
    const QString notes =
        sql::scalar(v1.db(), "select sql from sqlite_master where name = 'notes'").toString();

    schema_upgrade::upgrade(v1.db(), schema_upgrade::steps(), schema::kVersion);
    QCOMPARE(sql::scalar(v1.db(), "select car_no || ':' || mileage from car").toString(),
             QStringLiteral("粤A1:1000"));
    QVERIFY(
        sql::exists(v1.db(), "select name from sqlite_master where type = 'index' and name = 'car_mileage'"));
    QCOMPARE(sql::scalar(v1.db(), "select sql from sqlite_master where name = 'notes'").toString(), notes);
    QCOMPARE(sql::scalar(v1.db(), "select note from notes").toString(), QStringLiteral("x"));
    // The table has the checks of this release.
    try {
        sql::insert(v1.db(), "car", {{"car_no", QString(QString("粤A2") + QChar(0))}, {"mileage", 5}});
        QFAIL("a NUL was stored");
    } catch (const DbError& e) {
        QCOMPARE(e.text(), QStringLiteral("车牌号含有无法保存的字符。"));
    }
}

// Every fee record paid before receipts existed keeps what it was paid, on one
// historical receipt per owner with a line per paid record, so that each
// record's payment_real is the sum of its lines from the first day.
void TestSchemaUpgrade::paymentsBeforeReceiptsKeptOnHistoricalReceipts()
{
    SKIP_ON_SERVER();
    VersionOneFile v1;
    v1.exec("insert into owner_info (owner_name) values ('甲公司'), ('乙公司')");
    v1.exec(
        "insert into charge_take (owner_id, type_id, should_pay, payment_real) values "
        "(1, 1, 30000, 12050), (1, 2, 5000, 5000), (2, 1, 100, 0), (2, 1, 900, 900), (null, 1, 700, 700)");
    v1.close();
    QString error;
    {
        QSqlDatabase db = database_file::open(v1.path(), "upgraded", &error);
        QCOMPARE(error, QString());
        QCOMPARE(receipt_store::unbalancedRecords(db), QList<qlonglong>{});
        QCOMPARE(sql::scalar(
                     db,
                     "select group_concat(coalesce(owner_id, 0) || ':' || receipt_no || ':' || total, ' ') "
                     "from (select * from receipt order by receipt_seq)")
                     .toString(),
                 QString("0:历史:700 1:历史:17050 2:历史:900"));
        QCOMPARE(sql::scalar(db, "select group_concat(take_id) from receipt_line").toString(),
                 QString("1,2,4,5"));
        db.close();
    }
    QSqlDatabase::removeDatabase("upgraded");
}

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
