#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/DefaultRows.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestDatabaseFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void createdSchemaMatchesDescription();
    void createdIndexesMatchDescription();
    void columnRulesAreEnforced_data();
    void columnRulesAreEnforced();
    void blankPaddedValuesCompareEqual();
    void defaultsAndKeys();
    void createRefusesExistingFile();
    void openNeverCreatesAFile();
    void openRefusesForeignFiles();
    void sharedFileSettings();
    void defaultChargeTypes();
    void defaultChargeTypesLeaveAnyRowAlone();
    void valuesAreBoundAsTyped();
};

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// How the file declares a column of each kind (see docs/architecture.md).
QString declaredType(schema::ColumnType type)
{
    using T = schema::ColumnType;
    switch (type) {
    case T::AutoNumber:
    case T::Integer:
    case T::SmallInteger:
    case T::Byte:
    case T::Decimal:
        return "INTEGER";
    case T::Float:
        return "REAL";
    case T::Text:
    case T::Char:
    case T::Memo:
    case T::DateTime:
        return "TEXT";
    }
    return {};
}

} // namespace

void TestDatabaseFile::createdSchemaMatchesDescription()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    QStringList described;
    for (const schema::Table& table : schema::tables()) {
        const QString name = QString::fromLatin1(table.name);
        described << name;
        QSqlQuery info = sql::exec(t.db(), u"PRAGMA table_info(\"" + name + u"\")");
        for (const schema::Column& column : table.columns) {
            const QString where = name + u'.' + QString::fromLatin1(column.name);
            QVERIFY2(info.next(), qPrintable(where + " missing"));
            QCOMPARE(info.value("name").toString(), QString::fromLatin1(column.name));
            QCOMPARE(info.value("type").toString(), declaredType(column.type));
            const bool key = column.key || column.type == schema::ColumnType::AutoNumber;
            QVERIFY2(info.value("pk").toBool() == key, qPrintable(where));
            QVERIFY2(info.value("notnull").toBool() == column.key, qPrintable(where));
            const QString defaultValue =
                column.defaultText ? u'\'' + QString::fromUtf8(column.defaultText) + u'\'' : QString();
            QCOMPARE(info.value("dflt_value").toString(), defaultValue);
        }
        QVERIFY2(!info.next(), qPrintable(name + " has a column the description lacks"));
    }
    QStringList created;
    QSqlQuery q = sql::exec(t.db(), "select name from sqlite_master where type = 'table' "
                                    "and name not like 'sqlite%' order by name");
    while (q.next())
        created << q.value(0).toString();
    described.sort();
    QCOMPARE(created, described);
}

void TestDatabaseFile::createdIndexesMatchDescription()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    // Indexes made by the file's own keys (origin "pk") are not described.
    QStringList created;
    for (const schema::Table& table : schema::tables()) {
        const QString name = QString::fromLatin1(table.name);
        QStringList indexNames;
        QSqlQuery list = sql::exec(t.db(), u"PRAGMA index_list(\"" + name + u"\")");
        while (list.next()) {
            if (list.value("origin").toString() == "c")
                indexNames << list.value("name").toString();
        }
        for (const QString& index : indexNames) {
            QSqlQuery info = sql::exec(t.db(), u"PRAGMA index_info(\"" + index + u"\")");
            QStringList columns;
            while (info.next())
                columns << info.value("name").toString();
            created << name + u'(' + columns.join(u',') + u')';
        }
    }
    QStringList described;
    for (const schema::Index& index : schema::indexes())
        described << QString::fromLatin1(index.table) + u'(' + QString::fromLatin1(index.columns) + u')';
    created.sort();
    described.sort();
    QCOMPARE(created, described);
}

void TestDatabaseFile::columnRulesAreEnforced_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QVariantList>("values");
    // Empty when the value is accepted; else what the operator is told.
    QTest::addColumn<QString>("refusal");

    const QString garden = "insert into garden (garden_name) values (?)";
    QTest::newRow("text at its size") << garden << QVariantList{QString(30, u'楼')} << "";
    QTest::newRow("text over its size")
        << garden << QVariantList{QString(31, u'楼')} << "大楼名称最多30个字符。";
    QTest::newRow("quote in a text") << garden << QVariantList{"O'Brien 大厦 100%"} << "";
    // The size counts characters: 30 beyond the first plane are 60 UTF-16 units.
    QTest::newRow("text at its size, beyond the first plane")
        << garden << QVariantList{QString::fromUtf8("😀").repeated(30)} << "";
    QTest::newRow("text over its size, beyond the first plane")
        << garden << QVariantList{QString::fromUtf8("😀").repeated(31)} << "大楼名称最多30个字符。";
    // length() stops at a NUL: a NUL would hide any length behind it.
    const QChar nul(0);
    QTest::newRow("NUL in a text") << garden << QVariantList{QString(QString("ab") + nul + "cd")}
                                   << "大楼名称含有无法保存的字符。";
    QTest::newRow("NUL hiding a long text")
        << garden << QVariantList{QString(QString("a") + nul + QString(100, u'楼'))}
        << "大楼名称含有无法保存的字符。";
    QTest::newRow("NUL in a memo") << "insert into department (dept_name, duty_desc) values ('a', ?)"
                                   << QVariantList{QString(QString("职责") + nul)}
                                   << "职责描述含有无法保存的字符。";
    QTest::newRow("NUL in a key")
        << "insert into rooms_info (room_id, garden_id, build_area) values (?, 1, 100)"
        << QVariantList{QString(QString("101") + nul)} << "房号含有无法保存的字符。";
    const QString rooms = "insert into garden (garden_name, rooms_num) values ('a', ?)";
    QTest::newRow("integer") << rooms << QVariantList{12} << "";
    QTest::newRow("integer from digits") << rooms << QVariantList{"12"} << "";
    QTest::newRow("integer from letters") << rooms << QVariantList{"twelve"} << "房间数必须是整数。";
    QTest::newRow("integer from fraction") << rooms << QVariantList{1.5} << "房间数必须是整数。";
    QTest::newRow("integer too large") << rooms << QVariantList{2147483648LL} << "房间数超出范围。";
    const QString area = "insert into garden (garden_name, build_area) values ('a', ?)";
    QTest::newRow("decimal(10,2) largest") << area << QVariantList{9999999999LL} << "";
    QTest::newRow("decimal(10,2) too large") << area << QVariantList{10000000000LL} << "建筑面积超出范围。";
    QTest::newRow("decimal(10,2) too small") << area << QVariantList{-10000000000LL} << "建筑面积超出范围。";
    QTest::newRow("decimal as text") << area << QVariantList{"12.5"} << "建筑面积不是有效的数值。";
    const QString take = "insert into charge_take (owner_id, type_id) values (1, ?)";
    // Charge types are numbered on without reuse: a fee may be of type 256 and on.
    QTest::newRow("charge type 255") << take << QVariantList{255} << "";
    QTest::newRow("charge type 256") << take << QVariantList{256} << "";
    QTest::newRow("charge type beyond an integer")
        << take << QVariantList{2147483648LL} << "收费类别超出范围。";
    const QString stock = "insert into goods (goods_name, store_num) values ('笔', ?)";
    QTest::newRow("small integer 32767") << stock << QVariantList{32767} << "";
    QTest::newRow("small integer 32768") << stock << QVariantList{32768} << "库存数量超出范围。";
    const QString price = "insert into goods_buy (goods_id, unit_price) values (1, ?)";
    QTest::newRow("float") << price << QVariantList{2.5} << "";
    QTest::newRow("float from letters") << price << QVariantList{"cheap"} << "单价不是有效的数值。";
    const QString date = "insert into garden (garden_name, finish_date) values ('a', ?)";
    QTest::newRow("date") << date << QVariantList{"2002-07-10"} << "";
    QTest::newRow("date and time") << date << QVariantList{"2002-07-10 08:30:00"} << "";
    QTest::newRow("date in another form") << date << QVariantList{"10/07/2002"} << "竣工日期不是有效的日期。";
    // Dates are calendar dates, not only of the right pattern.
    const QString notADate = "竣工日期不是有效的日期。";
    QTest::newRow("29 February of a leap year") << date << QVariantList{"2024-02-29"} << "";
    QTest::newRow("last date and time") << date << QVariantList{"9999-12-31 23:59:59"} << "";
    QTest::newRow("first date") << date << QVariantList{"0001-01-01"} << "";
    QTest::newRow("29 February otherwise") << date << QVariantList{"2025-02-29"} << notADate;
    QTest::newRow("30 February") << date << QVariantList{"2026-02-30"} << notADate;
    QTest::newRow("month 19, day 39") << date << QVariantList{"9999-19-39"} << notADate;
    QTest::newRow("month 00") << date << QVariantList{"2026-00-10"} << notADate;
    QTest::newRow("day 00") << date << QVariantList{"2026-01-00"} << notADate;
    QTest::newRow("year 0000") << date << QVariantList{"0000-01-01"} << notADate;
    QTest::newRow("negative year") << date << QVariantList{"-0001-01-01"} << notADate;
    QTest::newRow("hour 24") << date << QVariantList{"2026-01-01 24:00:00"} << notADate;
    QTest::newRow("second 60") << date << QVariantList{"2026-01-01 23:59:60"} << notADate;
    QTest::newRow("no seconds") << date << QVariantList{"2026-01-01 10:00"} << notADate;
    QTest::newRow("T between date and time") << date << QVariantList{"2026-01-01T10:00:00"} << notADate;
    QTest::newRow("fraction of a second") << date << QVariantList{"2026-01-01 10:00:00.000"} << notADate;
    QTest::newRow("blank after the date") << date << QVariantList{"2026-01-01 "} << notADate;
    QTest::newRow("date as a number") << date << QVariantList{20260101} << notADate;
    QTest::newRow("day number") << date << QVariantList{2461000.5} << notADate;
    const QString room = "insert into rooms_info (room_id, garden_id, build_area) values (?, 1, 100)";
    QTest::newRow("room number") << room << QVariantList{"101"} << "";
    QTest::newRow("room number at its size") << room << QVariantList{"A123456789"} << "";
    QTest::newRow("room number over its size") << room << QVariantList{"A1234567890"} << "房号最多10个字符。";
    QTest::newRow("empty room number") << room << QVariantList{""} << "房号不能为空。";
    QTest::newRow("blank room number") << room << QVariantList{"   "} << "房号不能为空。";
    QTest::newRow("null room number") << room << QVariantList{QVariant()} << "房号不能为空。";
}

void TestDatabaseFile::columnRulesAreEnforced()
{
    QFETCH(QString, statement);
    QFETCH(QVariantList, values);
    QFETCH(QString, refusal);
    // On a server these values are refused by the column's type before any
    // named check, in the server's words; the program's own writes refuse them
    // first, naming the column, on both engines (tst_sql).
    static const QStringList heldByTheType = {
        "NUL in a text",     "NUL hiding a long text", "NUL in a memo",
        "NUL in a key",      "integer from letters",   "integer from fraction",
        "integer too large", "decimal as text",        "charge type beyond an integer",
        "float from letters"};
    if (TestDatabase::onServer() && heldByTheType.contains(QTest::currentDataTag()))
        QSKIP("refused by the server's column type");
    TestDatabase t;
    try {
        sql::exec(t.db(), statement, values);
        QVERIFY2(refusal.isEmpty(), "accepted");
    } catch (const DbError& e) {
        QCOMPARE(e.text(), refusal);
        QCOMPARE(e.kind(), DbError::Kind::Constraint);
        // The engine's text stays at hand for whoever has to look closer.
        // ("CHECK constraint failed: ..." from the file, "violates check
        // constraint ..." from a server).
        QVERIFY2(e.detail().contains("constraint", Qt::CaseInsensitive), qPrintable(e.detail()));
    }
}

void TestDatabaseFile::blankPaddedValuesCompareEqual()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('101', 1, 100)");
    QCOMPARE(t.scalar("select count(*) from rooms_info where room_id = ?", {"101   "}).toInt(), 1);
    // The same number with trailing blanks is the same key.
    QVERIFY_THROWS_EXCEPTION(DbError,
                             sql::exec(t.db(), "insert into rooms_info (room_id, garden_id, build_area) "
                                               "values ('101  ', 2, 100)"));
}

void TestDatabaseFile::defaultsAndKeys()
{
    TestDatabase t;
    t.exec("insert into owner_rooms (room_id, owner_id) values ('101', 1)");
    QCOMPARE(t.scalar("select if_manage from owner_rooms").toString(), QStringLiteral("是"));
    QCOMPARE(t.scalar("select ownerroom_id from owner_rooms").toInt(), 1);

    // Auto-numbers are never reused, so the rows left behind by a deleted owner
    // never pass to a new one.
    const qlonglong first = t.insert("insert into owner_info (owner_name) values ('甲')");
    const qlonglong second = t.insert("insert into owner_info (owner_name) values ('乙')");
    t.exec("delete from owner_info where owner_id = ?", {second});
    QCOMPARE(t.insert("insert into owner_info (owner_name) values ('丙')"), second + 1);
    QCOMPARE(first, 1);

    // Room numbers are unique over all buildings.
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('A1', 1, 100)");
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        sql::exec(t.db(), "insert into rooms_info (room_id, garden_id, build_area) values ('A1', 2, 50)"));
}

void TestDatabaseFile::createRefusesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(database_file::create(path), QString());
    QVERIFY(QFile::exists(path));
    QVERIFY(!(QFile::permissions(path) & QFileDevice::ReadOther));

    const QByteArray before = digest(path);
    const QString error = database_file::create(path);
    QVERIFY(error.contains(QStringLiteral("已经存在")));
    QCOMPARE(digest(path), before);

    // Any file at all, not only databases, is left alone.
    const QString text = dir.filePath("notes.mdb");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    QVERIFY(!database_file::create(text).isEmpty());
    QCOMPARE(digest(text), QCryptographicHash::hash("keep me", QCryptographicHash::Sha256));
}

void TestDatabaseFile::openNeverCreatesAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QString error;
    QSqlDatabase db = database_file::open(path, "missing", &error);
    QVERIFY(!error.isEmpty());
    QVERIFY(!db.isOpen());
    QVERIFY(!QFile::exists(path));
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("missing");
}

void TestDatabaseFile::openRefusesForeignFiles()
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.mdb");
    QFile e(empty);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.close();
    const QString junk = dir.filePath("junk.mdb");
    QFile j(junk);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(4096, 'x'));
    j.close();

    for (const QString& path : {empty, junk}) {
        QString error;
        {
            QSqlDatabase db = database_file::open(path, "foreign", &error);
            QVERIFY(!db.isOpen());
        }
        QVERIFY2(!error.isEmpty(), qPrintable(path));
        QSqlDatabase::removeDatabase("foreign");
    }
    QCOMPARE(QFileInfo(empty).size(), 0);
}

void TestDatabaseFile::sharedFileSettings()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    QCOMPARE(t.scalar("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
    QCOMPARE(t.scalar("PRAGMA user_version").toInt(), schema::kVersion);
    QVERIFY(t.scalar("PRAGMA busy_timeout").toInt() >= 1000);
}

void TestDatabaseFile::defaultChargeTypes()
{
    TestDatabase t;
    QVERIFY(default_rows::seedChargeTypes(t.db()));
    QVERIFY(!default_rows::seedChargeTypes(t.db()));

    QSqlQuery q = sql::exec(t.db(), "select type_id, type_name, unit_price, take_type from charge_type "
                                    "order by type_id");
    const QStringList names = {"物管费", "服务费", "电费", "水费"};
    const QStringList rules = {"建筑面积*单价*月份", "普通收费", "表读数*单价", "表读数*单价"};
    int row = 0;
    while (q.next()) {
        QCOMPARE(q.value(0).toInt(), row + 1);
        QCOMPARE(q.value(1).toString(), names[row]);
        QCOMPARE(q.value(2).toLongLong(), 0LL);
        QCOMPARE(q.value(3).toString(), rules[row]);
        ++row;
    }
    QCOMPARE(row, 4);
}

void TestDatabaseFile::defaultChargeTypesLeaveAnyRowAlone()
{
    TestDatabase t;
    t.exec("insert into charge_type (type_name, unit_price, take_type) values ('电费', 150, '表读数*单价')");
    QVERIFY(!default_rows::seedChargeTypes(t.db()));
    QCOMPARE(t.scalar("select count(*) from charge_type").toInt(), 1);
}

void TestDatabaseFile::valuesAreBoundAsTyped()
{
    TestDatabase t;
    const QString typed = "x' or '1'='1 -- 100% \"引号\"";
    t.exec("insert into owner_info (owner_name) values (?)", {typed});
    QCOMPARE(t.scalar("select owner_name from owner_info").toString(), typed);
    QCOMPARE(t.scalar("select count(*) from owner_info where owner_name = ?", {"x"}).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_database.moc"
