#include "charging/Receipt.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

// Several copies of pelm writing one file at once, each a process of its own
// (pelm_concurrent_writer) that stores owners, a member each and a raised tally,
// one transaction apiece. Whatever the contention: every transaction is reported
// stored or failed, what is stored is exactly what was reported stored (no owner
// without its member, no tally behind), and a failure tells the operator in
// Chinese. PELM_SOAK=1 writes a hundred times as much.
class TestConcurrentWriters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyWriteStoredOrReported_data();
    void everyWriteStoredOrReported();
    void receiptsNumberedWithoutGapOrRepeat();
};

namespace {

const QString kBusy = "数据库正忙，请稍后再试。";

struct Report
{
    QList<int> stored;
    QMap<int, QString> failed; // transaction, what the operator is told
    QStringList unreadable;    // lines that are neither
};

Report readReport(const QString& output)
{
    static const QRegularExpression ok("^ok (\\d+)$");
    static const QRegularExpression failed("^failed (\\d+)\\t([^\\t]*)\\t");
    Report report;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        if (const QRegularExpressionMatch m = ok.match(line); m.hasMatch())
            report.stored << m.captured(1).toInt();
        else if (const QRegularExpressionMatch f = failed.match(line); f.hasMatch())
            report.failed.insert(f.captured(1).toInt(), f.captured(2));
        else
            report.unreadable << line;
    }
    return report;
}

std::unique_ptr<QProcess> start(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(PELM_WRITER), arguments);
    return process;
}

} // namespace

void TestConcurrentWriters::everyWriteStoredOrReported_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<int>("transactions"); // per writer
    // 0: no copy holds the lock for long. Else one copy holds it this long while
    // the writers, waiting 50 ms a try, give up on some transactions.
    QTest::addColumn<int>("holdMs");

    const int soak = qEnvironmentVariableIntValue("PELM_SOAK") ? 100 : 1;
    QTest::newRow("two copies") << 2 << 25 * soak << 0;
    QTest::newRow("four copies") << 4 << 25 * soak << 0;
    QTest::newRow("four copies, one holding the lock") << 4 << 10 << 1500;
}

void TestConcurrentWriters::everyWriteStoredOrReported()
{
    QFETCH(int, writers);
    QFETCH(int, transactions);
    QFETCH(int, holdMs);
    TestDatabase t;
    t.exec("insert into garden (garden_name, rooms_num) values ('tally', 0)");

    std::vector<std::unique_ptr<QProcess>> copies;
    for (int w = 1; w <= writers; ++w) {
        QStringList arguments{t.path(), QString::number(w), QString::number(transactions)};
        if (holdMs > 0)
            arguments << "50";
        copies.push_back(start(arguments));
    }
    // Every copy has opened the file before any writes.
    for (const auto& copy : copies) {
        QVERIFY(copy->waitForReadyRead(60000));
        QCOMPARE(copy->readLine().trimmed(), QByteArray("ready"));
    }
    std::unique_ptr<QProcess> holder;
    if (holdMs > 0) {
        holder = start({t.path(), "hold", QString::number(holdMs)});
        QVERIFY(holder->waitForReadyRead(60000));
        QCOMPARE(holder->readLine().trimmed(), QByteArray("holding"));
    }
    for (const auto& copy : copies) {
        copy->write("go\n");
        QVERIFY(copy->waitForBytesWritten(10000));
    }

    int stored = 0;
    int failed = 0;
    for (int w = 1; w <= writers; ++w) {
        QProcess& copy = *copies[std::size_t(w - 1)];
        QVERIFY2(copy.waitForFinished(30 * 60 * 1000), qPrintable(copy.errorString()));
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 0);
        const Report report = readReport(QString::fromUtf8(copy.readAllStandardOutput()));
        QCOMPARE(report.unreadable, QStringList());
        // Every transaction is reported once, stored or failed.
        QList<int> reported = report.stored + report.failed.keys();
        std::sort(reported.begin(), reported.end());
        QList<int> all;
        for (int n = 1; n <= transactions; ++n)
            all << n;
        QCOMPARE(reported, all);
        // The owners stored are exactly those reported stored, each with its member.
        QStringList expected;
        for (int n : report.stored)
            expected << u'w' + QString::number(w) + u'-' + QString::number(n);
        expected.sort();
        QStringList found;
        QSqlQuery q = sql::exec(t.db(),
                                "select o.owner_name, count(m.member_id) from owner_info o "
                                "left join member m on m.owner_id = o.owner_id "
                                "where o.owner_name like ? group by o.owner_id order by o.owner_name",
                                {QString(u'w' + QString::number(w) + u"-%")});
        while (q.next()) {
            QCOMPARE(q.value(1).toInt(), 1);
            found << q.value(0).toString();
        }
        QCOMPARE(found, expected);
        for (const QString& text : report.failed)
            QCOMPARE(text, kBusy);
        stored += int(report.stored.size());
        failed += int(report.failed.size());
    }
    if (holder) {
        QVERIFY(holder->waitForFinished(60000));
        QCOMPARE(holder->exitCode(), 0);
        // The writers gave up on what the lock held back, and said so.
        QVERIFY(failed > 0);
    } else {
        QCOMPARE(failed, 0);
    }
    QCOMPARE(t.scalar("select count(*) from member").toInt(), stored);
    QCOMPARE(t.scalar("select rooms_num from garden where garden_id = 1").toInt(), stored);
    if (!TestDatabase::onServer())
        QCOMPARE(t.scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
    qInfo("%d transactions stored, %d reported failed", stored, failed);
}

// Two cashiers pay 5,000 times each on one database, voiding every 50th payment
// again: the year's receipts are numbered 1 to 10,200 with no gap and no repeat,
// every fee record's payment_real is the sum of its receipt lines, and each
// cashier's day comes to what the receipts that stand paid.
void TestConcurrentWriters::receiptsNumberedWithoutGapOrRepeat()
{
    const int payments = 5000;
    TestDatabase t;
    Estate e = t.estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    const qlonglong owner = e.addOwner({.name = "甲公司"});
    e.addFee({.owner = owner, .type = 1, .shouldPay = "100000"});

    std::vector<std::unique_ptr<QProcess>> cashiers;
    for (int w = 1; w <= 2; ++w)
        cashiers.push_back(start({t.path(), "pay", QString::number(w), QString::number(payments)}));
    for (const auto& cashier : cashiers) {
        QVERIFY(cashier->waitForReadyRead(60000));
        QCOMPARE(cashier->readLine().trimmed(), QByteArray("ready"));
    }
    for (const auto& cashier : cashiers) {
        cashier->write("go\n");
        QVERIFY(cashier->waitForBytesWritten(10000));
    }
    for (const auto& cashier : cashiers) {
        QVERIFY(cashier->waitForFinished(30 * 60 * 1000));
        QCOMPARE(cashier->exitCode(), 0);
        const Report report = readReport(QString::fromUtf8(cashier->readAllStandardOutput()));
        QCOMPARE(report.failed, (QMap<int, QString>{}));
        QCOMPARE(report.stored.size(), payments);
    }

    const int issued = 2 * payments + 2 * (payments / 50); // payments and their voids
    QSqlQuery numbers =
        sql::exec(t.db(), "select receipt_year, count(*), count(distinct receipt_seq), "
                          "min(receipt_seq), max(receipt_seq) from receipt group by receipt_year");
    QVERIFY(numbers.next());
    QCOMPARE(numbers.value(0).toInt(), QDate::currentDate().year());
    QCOMPARE(numbers.value(1).toInt(), issued);
    QCOMPARE(numbers.value(2).toInt(), issued);
    QCOMPARE(numbers.value(3).toInt(), 1);
    QCOMPARE(numbers.value(4).toInt(), issued);
    QVERIFY(!numbers.next());
    numbers.finish();

    QCOMPARE(receipt_store::unbalancedRecords(t.db()), QList<qlonglong>{});
    const Money standing = Money::fromWhole(2 * (payments - payments / 50));
    QCOMPARE(t.scalar("select payment_real from charge_take where take_id = 1").toLongLong(),
             standing.hundredths());
    Money days;
    for (const char* op : {"w1", "w2"})
        days += receipt_store::dayTotals(t.db(), op, QDate::currentDate()).total;
    QCOMPARE(days, standing);
    QCOMPARE(
        t.scalar("select cast(sum(r.total) as bigint) from receipt r where r.voids_id is null and not exists "
                 "(select 1 from receipt v where v.voids_id = r.receipt_id)")
            .toLongLong(),
        standing.hundredths());
}

QTEST_GUILESS_MAIN(TestConcurrentWriters)
#include "tst_concurrentwriters.moc"
