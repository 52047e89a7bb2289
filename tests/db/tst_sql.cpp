#include "app/MessageBoxes.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/RecordMap.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <future>
#include <thread>

class TestSql : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nestedTransactions_data();
    void nestedTransactions();
    void transactionDepthFollowsScopes();
    void writesCountTheirRows();
    void oneRecordWrites_data();
    void oneRecordWrites();
    void everyRefusalNamesItsColumn();
    void refusalShownWithEngineText_data();
    void refusalShownWithEngineText();
    void errorBoxShowsDetail();
    void busyFileFailsAfterRetries_data();
    void busyFileFailsAfterRetries();
    void busyFileRetriedUntilReleased_data();
    void busyFileRetriedUntilReleased();
    void datesAsStored_data();
    void datesAsStored();
    void datesAsRead_data();
    void datesAsRead();
    void storeRefusesDateItCannotWrite();
};

namespace {

using namespace std::chrono_literals;

// A second connection on the file of `t`, as another copy of pelm would have;
// a short busy timeout keeps the tests that meet a lock quick.
class OtherCopy
{
public:
    OtherCopy(const QString& path, const QString& name, int busyTimeoutMs = 20) : m_name(name)
    {
        QString error;
        m_db = database::open(path, name, &error, busyTimeoutMs);
        if (!error.isEmpty())
            throw std::runtime_error("cannot open another connection: " + error.toStdString());
    }
    ~OtherCopy()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    QSqlDatabase db() const { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

void addBuilding(const QSqlDatabase& db, const QString& name)
{
    sql::exec(db, "insert into garden (garden_name) values (?)", {name});
}

QStringList buildings(TestDatabase& t)
{
    QStringList names;
    QSqlQuery q = sql::exec(t.db(), "select garden_name from garden order by garden_name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// One level of nested transactions: writes "L<n>", runs the next level (whose
// failure it survives), writes "L<n>+", then commits or fails on a statement
// the engine refuses.
void runLevel(const QSqlDatabase& db, const QList<bool>& commits, int level)
{
    Transaction transaction(db);
    const QString name = u'L' + QString::number(level);
    addBuilding(db, name);
    if (level + 1 < commits.size()) {
        try {
            runLevel(db, commits, level + 1);
        } catch (const DbError&) {
        }
    }
    addBuilding(db, name + u'+');
    if (!commits[level])
        addBuilding(db, QString(31, u'x')); // longer than the column: refused
    transaction.commit();
}

} // namespace

void TestSql::nestedTransactions_data()
{
    QTest::addColumn<QList<bool>>("commits"); // per level, outermost first
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("one, committed") << QList<bool>{true} << QStringList{"L0", "L0+"};
    QTest::newRow("one, failed") << QList<bool>{false} << QStringList{};
    QTest::newRow("inner fails, outer commits") << QList<bool>{true, false} << QStringList{"L0", "L0+"};
    QTest::newRow("inner commits, outer fails") << QList<bool>{false, true} << QStringList{};
    QTest::newRow("both commit") << QList<bool>{true, true} << QStringList{"L0", "L0+", "L1", "L1+"};
    QTest::newRow("middle fails") << QList<bool>{true, false, true} << QStringList{"L0", "L0+"};
    QTest::newRow("innermost fails") << QList<bool>{true, true, false}
                                     << QStringList{"L0", "L0+", "L1", "L1+"};
    QTest::newRow("three commit") << QList<bool>{true, true, true}
                                  << QStringList{"L0", "L0+", "L1", "L1+", "L2", "L2+"};
}

void TestSql::nestedTransactions()
{
    QFETCH(QList<bool>, commits);
    QFETCH(QStringList, kept);
    TestDatabase t;
    try {
        runLevel(t.db(), commits, 0);
    } catch (const DbError&) {
    }
    QCOMPARE(buildings(t), kept);
    QCOMPARE(Transaction::depth(t.db()), 0);

    // Nothing is left open: a new transaction begins and commits.
    {
        Transaction again(t.db());
        addBuilding(t.db(), "again");
        again.commit();
    }
    QCOMPARE(buildings(t), kept + QStringList{"again"});
}

void TestSql::transactionDepthFollowsScopes()
{
    TestDatabase t;
    OtherCopy other(t.path(), "depth-other");
    {
        Transaction outer(t.db());
        QCOMPARE(Transaction::depth(t.db()), 1);
        QCOMPARE(Transaction::depth(other.db()), 0); // counted per connection
        {
            Transaction inner(t.db());
            QCOMPARE(Transaction::depth(t.db()), 2);
        }
        QCOMPARE(Transaction::depth(t.db()), 1);
        {
            Transaction inner(t.db());
            addBuilding(t.db(), "inner");
            inner.commit();
            QCOMPARE(Transaction::depth(t.db()), 1);
        }
        outer.commit();
        QCOMPARE(Transaction::depth(t.db()), 0);
    }
    // The write lock went with the outer commit: the other copy writes at once.
    addBuilding(other.db(), "other");
    QCOMPARE(buildings(t), (QStringList{"inner", "other"}));
}

void TestSql::writesCountTheirRows()
{
    TestDatabase t;
    const qlonglong a = t.insert("insert into garden (garden_name) values ('A')");
    t.exec("insert into garden (garden_name) values ('B')");
    const QString table = "garden";
    const QString key = "garden_id";
    QCOMPARE(sql::update(t.db(), table, {{"remarks", "x"}}, key, a), 1);
    QCOMPARE(sql::update(t.db(), table, {{"remarks", "x"}}, key, a + 10), 0);
    // A row that keeps its values still counts as changed.
    QCOMPARE(sql::update(t.db(), table, {{"remarks", "x"}}, key, a), 1);
    QCOMPARE(sql::remove(t.db(), table, key, a + 10), 0);
    QCOMPARE(sql::remove(t.db(), table, key, a), 1);
    QCOMPARE(buildings(t), QStringList{"B"});
}

void TestSql::oneRecordWrites_data()
{
    QTest::addColumn<bool>("update"); // else remove
    QTest::addColumn<bool>("removedByOtherCopy");

    QTest::newRow("update") << true << false;
    QTest::newRow("update, record gone") << true << true;
    QTest::newRow("remove") << false << false;
    QTest::newRow("remove, record gone") << false << true;
}

void TestSql::oneRecordWrites()
{
    QFETCH(bool, update);
    QFETCH(bool, removedByOtherCopy);
    TestDatabase t;
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('101', 1, 100)");
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('102', 1, 100)");
    if (removedByOtherCopy) {
        OtherCopy other(t.path(), "one-other");
        sql::exec(other.db(), "delete from rooms_info where room_id = '101'");
    }
    const auto write = [&] {
        if (update)
            sql::updateOne(t.db(), "rooms_info", {{"floor", "3"}}, "room_id", "101");
        else
            sql::removeOne(t.db(), "rooms_info", "room_id", "101");
    };
    if (removedByOtherCopy) {
        try {
            write();
            QFAIL("a write that touched no row passed for success");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::RecordGone);
            QCOMPARE(e.text(), QStringLiteral("该记录已被其他用户删除或修改，请刷新后重试。"));
            QVERIFY2(e.detail().contains("101"), qPrintable(e.detail()));
        }
    } else {
        write();
    }
    // The other record is never touched.
    QCOMPARE(t.scalar("select count(*) from rooms_info where room_id = '102' and floor is null").toInt(), 1);
    const QVariant floor = t.scalar("select floor from rooms_info where room_id = '101'");
    QCOMPARE(floor.isValid(), update && !removedByOtherCopy);
    if (floor.isValid())
        QCOMPARE(floor.toString(), QStringLiteral("3"));
}

void TestSql::everyRefusalNamesItsColumn()
{
    // For every column with a rule: a value that breaks it is refused with a
    // sentence that names the column by its label.
    TestDatabase t;
    using T = schema::ColumnType;
    for (const schema::Table& table : schema::tables()) {
        const QString tableName = QString::fromLatin1(table.name);
        // A typed key needs a value for any row to be stored.
        QString keyColumn;
        for (const schema::Column& column : table.columns) {
            if (column.key)
                keyColumn = QString::fromLatin1(column.name);
        }
        for (const schema::Column& column : table.columns) {
            const QString name = QString::fromLatin1(column.name);
            const QString label = QString::fromUtf8(column.label);
            // Bad values, each with what the operator is told.
            QList<std::pair<QVariant, QString>> bad;
            const QString nulText = QString("a") + QChar(0) + "b";
            switch (column.type) {
            case T::AutoNumber:
                continue;
            case T::Memo:
                bad = {{nulText, label + u"含有无法保存的字符。"}};
                break;
            case T::Text:
            case T::Char:
                bad = {{QString(column.size + 1, u'字'),
                        label + u"最多" + QString::number(column.size) + u"个字符。"},
                       {nulText, label + u"含有无法保存的字符。"}};
                break;
            case T::Integer:
            case T::SmallInteger:
            case T::Byte:
                bad = {{"x", label + u"必须是整数。"}};
                break;
            case T::Decimal:
            case T::Float:
                bad = {{"x", label + u"不是有效的数值。"}};
                break;
            case T::DateTime:
                bad = {{"x", label + u"不是有效的日期。"}, {"2026-02-30", label + u"不是有效的日期。"}};
                break;
            }
            for (const auto& [value, expected] : bad) {
                sql::Fields fields = {{name, value}};
                if (!keyColumn.isEmpty() && keyColumn != name)
                    fields.append({keyColumn, "K"});
                const QString where = tableName + u'.' + name;
                try {
                    sql::insert(t.db(), tableName, fields);
                    QFAIL(qPrintable(where + " accepted a bad value"));
                } catch (const DbError& e) {
                    QVERIFY2(e.text() == expected, qPrintable(where + ": " + e.text()));
                    QCOMPARE(e.kind(), DbError::Kind::Constraint);
                }
            }
        }
    }
}

void TestSql::refusalShownWithEngineText_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail"); // a part of it

    const QString room = "insert into rooms_info (room_id, garden_id, build_area) values (?, 1, 100)";
    QTest::newRow("duplicate room number") << room << QVariantList{"101"} << "房号已存在，请换一个。"
                                           << "UNIQUE constraint failed: rooms_info.room_id";
    QTest::newRow("duplicate with trailing blanks")
        << room << QVariantList{"101  "} << "房号已存在，请换一个。"
        << "UNIQUE constraint failed: rooms_info.room_id";
    QTest::newRow("no room number") << room << QVariantList{QVariant()} << "房号不能为空。"
                                    << "NOT NULL constraint failed: rooms_info.room_id";
    QTest::newRow("over-long text") << "insert into garden (garden_name) values (?)"
                                    << QVariantList{QString(31, u'楼')} << "大楼名称最多30个字符。"
                                    << "CHECK constraint failed: garden.garden_name";
    // Anything else keeps the engine's own text.
    QTest::newRow("unknown table") << "insert into no_such_table values (?)" << QVariantList{1}
                                   << "no such table: no_such_table Unable to execute statement"
                                   << "";
}

void TestSql::refusalShownWithEngineText()
{
    QFETCH(QString, statement);
    QFETCH(QVariantList, values);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    TestDatabase t;
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('101', 1, 100)");
    bool reachedEnd = false;
    QVERIFY(!runAction(t.messages(), [&] {
        sql::exec(t.db(), statement, values);
        reachedEnd = true;
    }));
    QVERIFY(!reachedEnd);
    // The engine's own words differ between the file and a server; the
    // office's text does not.
    if (TestDatabase::onServer()) {
        // Only the office's texts are the same; the server's own are its own.
        QCOMPARE(t.messages().errors().size(), 1);
        if (!detail.isEmpty())
            QCOMPARE(t.messages().lastText(), text);
        return;
    }
    QCOMPARE(t.messages().errors(), QStringList{text});
    if (detail.isEmpty())
        QCOMPARE(t.messages().lastDetail(), QString());
    else
        QVERIFY2(t.messages().lastDetail().contains(detail), qPrintable(t.messages().lastDetail()));
}

void TestSql::errorBoxShowsDetail()
{
    MessageBoxes boxes;
    QString shownText;
    QString shownDetail;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownText = box->text();
        shownDetail = box->detailedText();
        box->accept();
    });
    boxes.error("房号已存在，请换一个。", "提示", "UNIQUE constraint failed: rooms_info.room_id");
    QCOMPARE(shownText, QStringLiteral("房号已存在，请换一个。"));
    QCOMPARE(shownDetail, QStringLiteral("UNIQUE constraint failed: rooms_info.room_id"));
}

void TestSql::busyFileFailsAfterRetries_data()
{
    QTest::addColumn<bool>("inTransaction"); // else a statement in autocommit

    QTest::newRow("statement") << false;
    QTest::newRow("transaction") << true;
}

void TestSql::busyFileFailsAfterRetries()
{
    QFETCH(bool, inTransaction);
    TestDatabase t;
    OtherCopy other(t.path(), "busy-other");
    Transaction holder(t.db());
    addBuilding(t.db(), "holder");
    try {
        if (inTransaction) {
            Transaction transaction(other.db());
            addBuilding(other.db(), "other");
            transaction.commit();
        } else {
            addBuilding(other.db(), "other");
        }
        QFAIL("wrote past another copy's lock");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::Busy);
        QCOMPARE(e.text(), QStringLiteral("数据库正忙，请稍后再试。"));
        QVERIFY2(e.detail().contains(TestDatabase::onServer() ? "lock timeout" : "locked"),
                 qPrintable(e.detail()));
    }
    QCOMPARE(Transaction::depth(other.db()), 0);
    holder.commit();
    // The failed attempt left nothing behind on the other connection.
    addBuilding(other.db(), "other");
    QCOMPARE(buildings(t), (QStringList{"holder", "other"}));
}

void TestSql::busyFileRetriedUntilReleased_data()
{
    QTest::addColumn<bool>("inTransaction");

    QTest::newRow("statement") << false;
    QTest::newRow("transaction") << true;
}

void TestSql::busyFileRetriedUntilReleased()
{
    QFETCH(bool, inTransaction);
    TestDatabase t;
    const QString path = t.path();
    OtherCopy other(path, "waiting");
    // Another copy, in a thread of its own, holds the write lock for longer than
    // one try waits, and lets go before the tries run out.
    std::promise<bool> locked;
    std::thread holder([&] {
        const QString name = "holder-thread";
        bool signalled = false;
        try {
            OtherCopy copy(path, name);
            Transaction transaction(copy.db());
            addBuilding(copy.db(), "holder");
            locked.set_value(true);
            signalled = true;
            std::this_thread::sleep_for(150ms);
            transaction.commit();
        } catch (...) {
            if (!signalled)
                locked.set_value(false);
        }
    });
    const bool holding = locked.get_future().get();
    bool written = false;
    QString failure;
    if (holding) {
        try {
            if (inTransaction) {
                Transaction transaction(other.db());
                addBuilding(other.db(), "waiting");
                transaction.commit();
            } else {
                addBuilding(other.db(), "waiting");
            }
            written = true;
        } catch (const DbError& e) {
            failure = e.text() + u' ' + e.detail();
        }
    }
    holder.join();
    QVERIFY(holding);
    QVERIFY2(written, qPrintable(failure));
    QCOMPARE(buildings(t), (QStringList{"holder", "waiting"}));
}

void TestSql::datesAsStored_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QVariant>("stored"); // invalid when the date is refused

    QTest::newRow("no date") << QDate() << QVariant(QMetaType(QMetaType::QString));
    QTest::newRow("a date") << QDate(2026, 12, 10) << QVariant("2026-12-10");
    QTest::newRow("first year") << QDate(1, 1, 1) << QVariant("0001-01-01");
    QTest::newRow("last day") << QDate(9999, 12, 31) << QVariant("9999-12-31");
    QTest::newRow("beyond year 9999") << QDate(10000, 1, 1) << QVariant();
    QTest::newRow("before year 1") << QDate(-1, 12, 31) << QVariant();
}

void TestSql::datesAsStored()
{
    QFETCH(QDate, date);
    QFETCH(QVariant, stored);
    TestDatabase t;
    try {
        const QVariant value = sql::dateValue(date);
        QVERIFY2(stored.isValid(), qPrintable("stored as " + value.toString()));
        QCOMPARE(value.isNull(), stored.isNull());
        QCOMPARE(value.toString(), stored.toString());
        // What is written reads back as the same date.
        sql::exec(t.db(), "insert into garden (garden_name, finish_date) values ('a', ?)", {value});
        QCOMPARE(sql::toDate(t.scalar("select finish_date from garden")), date);
    } catch (const DbError& e) {
        QVERIFY2(!stored.isValid(), qPrintable(e.text()));
        QCOMPARE(e.kind(), DbError::Kind::Constraint);
        QVERIFY2(e.text().contains("超出可以保存的范围"), qPrintable(e.text()));
    }
}

void TestSql::datesAsRead_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QDate>("date");

    QTest::newRow("date") << QVariant("2026-12-10") << QDate(2026, 12, 10);
    QTest::newRow("date and time") << QVariant("2026-12-10 08:30:00") << QDate(2026, 12, 10);
    QTest::newRow("null") << QVariant() << QDate();
    QTest::newRow("empty") << QVariant("") << QDate();
    QTest::newRow("30 February") << QVariant("2026-02-30") << QDate();
    QTest::newRow("year 0000") << QVariant("0000-01-01") << QDate();
    QTest::newRow("full-width dashes") << QVariant("2026－12－10") << QDate();
    QTest::newRow("full-width digits") << QVariant("２０２６-12-10") << QDate();
    QTest::newRow("signed year") << QVariant("+2026-12-10") << QDate();
    QTest::newRow("short") << QVariant("2026-12-1") << QDate();
    QTest::newRow("slashes") << QVariant("2026/12/10") << QDate();
}

void TestSql::datesAsRead()
{
    QFETCH(QVariant, stored);
    QFETCH(QDate, date);
    QCOMPARE(sql::toDate(stored), date);
}

namespace {

struct Building
{
    qlonglong id = 0;
    QString name;
    QDate finished;
};

} // namespace

void TestSql::storeRefusesDateItCannotWrite()
{
    // A store never writes a date it cannot store as no date.
    TestDatabase t;
    using M = RecordMap<Building>;
    const M map = M("garden", "garden_id", &Building::id)
                      .field("garden_name", &Building::name)
                      .field("finish_date", &Building::finished);
    Building b{0, "一号楼", QDate(2002, 7, 10)};
    map.insert(t.db(), b);

    Building changed = b;
    changed.finished = QDate(10000, 1, 1);
    QVERIFY_THROWS_EXCEPTION(DbError, map.update(t.db(), changed));
    Building added{0, "二号楼", QDate(10000, 1, 1)};
    QVERIFY_THROWS_EXCEPTION(DbError, map.insert(t.db(), added));
    QCOMPARE(t.scalar("select group_concat(garden_name || ':' || coalesce(finish_date, ''), ' ') from garden")
                 .toString(),
             QStringLiteral("一号楼:2002-07-10"));

    // No date is stored as no date.
    changed.finished = QDate();
    map.update(t.db(), changed);
    QVERIFY(t.scalar("select finish_date from garden").isNull());
}

QTEST_MAIN(TestSql)
#include "tst_sql.moc"
