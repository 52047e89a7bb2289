#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
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

} // namespace

void TestSchemaUpgrade::currentFileOpensUnchanged()
{
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
    QFETCH(QList<int>, listed);
    QFETCH(int, failing);
    QFETCH(QString, detail);
    TestDatabase t;
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
    QTest::newRow("older, no way up") << 0 << "无法从版本0升级到版本1";
    QTest::newRow("newer") << schema::kVersion + 1 << "来自更新的版本";
}

void TestSchemaUpgrade::openRefusesFileItCannotUpgrade()
{
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

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
