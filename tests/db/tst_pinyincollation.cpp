#include "base/Owner.h"
#include "db/DbError.h"
#include "db/PinyinCollation.h"
#include "db/QueryListModel.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"
#include "support/TestDatabase.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <unicode/ucol.h>

// Names in pinyin order through the collation PINYIN on the connection: the
// order of an office, ICU's answer for every pair of texts, one order for the
// grid read in pages, and a file that other programs can still write.
class TestPinyinCollation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void namesInPinyinOrder_data();
    void namesInPinyinOrder();
    void agreesWithIcuOnEveryPair();
    void equalOnlyForTheSameText();
    void pagedListContinuesInTheSameOrder();
    void fileStaysWritableWithoutIt();
    void closedConnectionIsRefused();
};

namespace {

QStringList ownerNames(TestDatabase& t, owner_store::OwnerOrder order)
{
    QStringList names;
    QSqlQuery q = sql::exec(t.db(), owner_store::list(owner_store::Occupants::All, order).statement(), {});
    while (q.next())
        names << q.value(QStringLiteral("owner_name")).toString();
    return names;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// ICU's own comparison, without the collation's shortcut.
class IcuPinyin
{
public:
    IcuPinyin()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open("zh@collation=pinyin", &status);
        if (U_FAILURE(status))
            qFatal("ICU has no Chinese collation");
    }
    ~IcuPinyin() { ucol_close(m_collator); }
    int compare(const QByteArray& a, const QByteArray& b) const
    {
        UErrorCode status = U_ZERO_ERROR;
        return ucol_strcollUTF8(m_collator, a.constData(), int32_t(a.size()), b.constData(),
                                int32_t(b.size()), &status);
    }

private:
    UCollator* m_collator = nullptr;
};

} // namespace

void TestPinyinCollation::namesInPinyinOrder_data()
{
    QTest::addColumn<QStringList>("ordered");
    // Digits and signs first, Chinese by pinyin, then Latin letters, as ICU's
    // collator for Chinese has it.
    QTest::newRow("the office's companies")
        << QStringList{"100%", "阿里", "保利", "华润", "万科", "中信", "O'Brien"};
    QTest::newRow("one character each") << QStringList{"阿", "保", "华", "万", "中"};
    // Where the first characters sound alike the next ones decide; a text
    // before the longer text it begins.
    QTest::newRow("same first sound") << QStringList{"张", "张三", "张五", "章", "赵", "中", "钟", "周"};
    // Characters read with their neighbour: 重庆 is chongqing, 重量 zhongliang.
    QTest::newRow("readings in context") << QStringList{"陈", "重庆", "华", "钟", "重量"};
    QTest::newRow("latin letters") << QStringList{"阿", "abc", "O'Brien", "Zeta"};
}

void TestPinyinCollation::namesInPinyinOrder()
{
    QFETCH(QStringList, ordered);
    TestDatabase t;
    registerPinyinCollation(t.db());
    Estate e = t.estate();
    // Entered in reverse, so that neither the numbers nor the entry order give it.
    for (qsizetype i = ordered.size() - 1; i >= 0; --i)
        e.addOwner({.name = ordered[i]});
    QCOMPARE(ownerNames(t, owner_store::OwnerOrder::ByName), ordered);
    QStringList reversed(ordered.rbegin(), ordered.rend());
    QCOMPARE(ownerNames(t, owner_store::OwnerOrder::ByNumber), reversed);
}

// The shortcut through the table of weights gives ICU's answer; texts ICU holds
// equal are ordered by their bytes.
void TestPinyinCollation::agreesWithIcuOnEveryPair()
{
    const IcuPinyin icu;
    // Texts made of pieces that share their beginnings: common and rare
    // characters, characters ICU reads together with their neighbour (沈阳,
    // 重庆, 藏文), a character outside the table (㐀), digits, Latin letters in
    // both cases, a full-width letter, blanks and signs.
    const QStringList pieces{"阿", "保", "华",   "万",   "中", "张", "章",   "赵", "钟", "周", "沈", "沈阳",
                             "阳", "重", "重庆", "重量", "庆", "藏", "藏文", "文", "陈", "王", "㐀", "龘",
                             "齉", " ",  "1",    "02",   "a",  "A",  "b",    "Z",  "Ａ", "-",  "'",  "%"};
    QRandomGenerator random(20261210);
    QList<QByteArray> texts;
    for (int i = 0; i < 2000; ++i) {
        QString text;
        for (int k = random.bounded(0, 5); k > 0; --k)
            text += pieces[random.bounded(int(pieces.size()))];
        texts << text.toUtf8();
    }
    // Every ideograph of the table against its neighbour, alone and after a
    // common first character.
    for (char32_t c = 0x4E00; c < 0x9FFF; c += 2) {
        const QString before = c % 4 ? QString() : QString("张");
        const char32_t pair[] = {c, c + 1};
        texts << (before + QString::fromUcs4(pair, 1)).toUtf8()
              << (before + QString::fromUcs4(pair + 1, 1)).toUtf8();
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        for (qsizetype j = i + 1; j < std::min(texts.size(), i + 24); ++j) {
            const QByteArray& a = texts[i];
            const QByteArray& b = texts[j];
            const int byIcu = icu.compare(a, b);
            const int expected = byIcu != 0 ? byIcu : sign(a.compare(b));
            const int actual = sign(pinyin::compare(a.toStdString(), b.toStdString()));
            if (actual != expected) {
                QFAIL(qPrintable(QString("%1 against %2: %3, ICU %4")
                                     .arg(QString::fromUtf8(a), QString::fromUtf8(b))
                                     .arg(actual)
                                     .arg(expected)));
            }
        }
    }
}

void TestPinyinCollation::equalOnlyForTheSameText()
{
    for (const auto& [a, b] : QList<std::pair<QByteArray, QByteArray>>{
             {"abc", "abc"}, {"abc", "ABC"}, {"张三", "張三"}, {"a", "a\xcc\x81"}, {"", "a"}}) {
        const int ab = pinyin::compare(a.toStdString(), b.toStdString());
        const int ba = pinyin::compare(b.toStdString(), a.toStdString());
        QCOMPARE(ab == 0, a == b);
        QCOMPARE(sign(ab), -sign(ba));
    }
}

// A list read a page at a time continues after its last row by the same order,
// also through names that repeat.
void TestPinyinCollation::pagedListContinuesInTheSameOrder()
{
    TestDatabase t;
    registerPinyinCollation(t.db());
    Estate e = t.estate();
    const QStringList names{"中信", "阿里", "保利", "华润", "万科", "阿里", "100%", "中信", "O'Brien"};
    t.exec("begin");
    for (const QString& name : names)
        e.addOwner({.name = name});
    t.exec("commit");

    QueryListModel model({{"owner_id", "", ListColumn::Kind::Number}, {"owner_name", "单位名称"}});
    model.setPageSize(2);
    model.load(t.db(), owner_store::list(owner_store::Occupants::All, owner_store::OwnerOrder::ByName));
    while (model.canFetchMore({}))
        model.fetchMore({});
    QStringList paged;
    QList<int> ids;
    for (int row = 0; row < model.rowCount(); ++row) {
        paged << model.index(row, 1).data().toString();
        ids << model.index(row, 0).data().toInt();
    }
    QCOMPARE(paged, (QStringList{"100%", "阿里", "阿里", "保利", "华润", "万科", "中信", "中信", "O'Brien"}));
    QCOMPARE(ids.mid(1, 2), (QList<int>{2, 6}));
    QCOMPARE(ids.mid(6, 2), (QList<int>{1, 8}));
}

// The collation is never part of the file: the schema does not name it, and a
// connection without it (another program on the same file) writes and reads
// every table as before.
void TestPinyinCollation::fileStaysWritableWithoutIt()
{
    SKIP_ON_SERVER();
    for (const QString& statement : SqlDialect::of(SqlDialect::Engine::Sqlite).createStatements())
        QVERIFY2(!statement.contains("pinyin", Qt::CaseInsensitive), qPrintable(statement));

    TestDatabase t;
    registerPinyinCollation(t.db());
    // Nor does a file made and brought up to date name it anywhere.
    QCOMPARE(t.scalar("select count(*) from sqlite_master where sql like ?", {"%pinyin%"}).toInt(), 0);
    t.estate().addOwner({.name = "中信"});
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-program");
        other.setDatabaseName(t.path());
        QVERIFY(other.open());
        sql::exec(other, "insert into owner_info (owner_name) values (?)", {"阿里"});
        sql::exec(other, "update owner_info set owner_name = ? where owner_name = ?", {"保利", "中信"});
        QCOMPARE(sql::scalar(other, "select count(*) from owner_info where owner_name > ?", {""}).toInt(), 2);
        // Without the collation an order by it is refused, never silently another order.
        try {
            sql::exec(other, "select owner_name from owner_info order by " + pinyin::byName("owner_name"));
            QFAIL("ordered without the collation");
        } catch (const DbError& e) {
            QVERIFY2(QString(e.text() + e.detail()).contains("no such collation sequence"),
                     qPrintable(e.text()));
        }
        other.close();
    }
    QSqlDatabase::removeDatabase("other-program");
    QCOMPARE(ownerNames(t, owner_store::OwnerOrder::ByName), (QStringList{"阿里", "保利"}));
}

void TestPinyinCollation::closedConnectionIsRefused()
{
    QSqlDatabase closed = QSqlDatabase::addDatabase("QSQLITE", "closed");
    QVERIFY_THROWS_EXCEPTION(DbError, registerPinyinCollation(closed));
    closed = QSqlDatabase();
    QSqlDatabase::removeDatabase("closed");
}

QTEST_MAIN(TestPinyinCollation)
#include "tst_pinyincollation.moc"
