#include "db/SchemaUpgrade.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QDateTime>
#include <QDebug>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>
#include <functional>

namespace schema_upgrade {
namespace {

QString quoted(const QString& identifier)
{
    return u'"' + identifier + u'"';
}

// Replaces every match of `pattern` in `text` with what `replacement` makes of it.
QString replaceEach(const QString& text, const QRegularExpression& pattern,
                    const std::function<QString(const QRegularExpressionMatch&)>& replacement)
{
    QString result;
    qsizetype from = 0;
    QRegularExpressionMatchIterator i = pattern.globalMatch(text);
    while (i.hasNext()) {
        const QRegularExpressionMatch m = i.next();
        result += QStringView(text).mid(from, m.capturedStart() - from) + replacement(m);
        from = m.capturedEnd();
    }
    return result + QStringView(text).mid(from);
}

// The first `count` characters of a text, as the engine counts them (a pair of
// surrogates is one character and is never split).
QString leftCharacters(const QString& text, int count)
{
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

// ---- Version 1 to 2: exact checks of dates and texts ---------------------------
//
// Version 1 took any date of the pattern "yyyy-MM-dd" (2026-02-30, 9999-19-39)
// and measured texts with length(), which stops at a NUL. Version 2 checks
// calendar dates and refuses NUL. The engine cannot change the checks of a table:
// each table is made again from its own declaration in the file, with the checks
// of version 2 in place of those of version 1 and everything else as it was
// (columns, defaults, keys, indexes), and its rows are copied over. The checks
// are written out here as version 2 declares them, so that this step stays what
// it is when a later version changes Schema.cpp.

QString versionTwoDate(const QString& c)
{
    return c + u" >= '0001' AND (date(" + c + u", '+0 days') IS " + c + u" OR datetime(" + c +
           u", '+0 days') IS " + c + u')';
}

QString versionTwoNulFree(const QString& c)
{
    return u"instr(" + c + u", char(0)) = 0";
}

// " CONSTRAINT "<table>.<column>.characters" CHECK (...)", as version 2 names it.
QString versionTwoCharactersCheck(const QString& tableDotColumn, const QString& column)
{
    const QString c = quoted(column);
    return u" CONSTRAINT " + quoted(tableDotColumn + u".characters") + u" CHECK (" + c + u" IS NULL OR (" +
           versionTwoNulFree(c) + u"))";
}

struct TableOfVersionOne
{
    QString name;
    QString declaration; // with the checks of version 2
    QStringList dates;
    QList<std::pair<QString, int>> texts; // column, most characters (0: any number)
};

TableOfVersionOne withExactChecks(const QString& name, const QString& declaration)
{
    static const QRegularExpression dateCheck(
        QStringLiteral(R"re(\("(\w+)" IS NULL OR \("\1" GLOB '[^']*' OR "\1" GLOB '[^']*'\)\))re"));
    static const QRegularExpression lengthCheck(QStringLiteral(
        R"re( CONSTRAINT "([^"]*)\.length" CHECK \("(\w+)" IS NULL OR \(typeof\("\2"\) = 'text' AND )re"
        R"re(length\("\2"\) <= (\d+)\)\))re"));
    // A memo is the one text column with nothing after its collation.
    static const QRegularExpression memo(QStringLiteral(R"re("(\w+)" TEXT COLLATE RTRIM(?=,\n|\n\)))re"));

    TableOfVersionOne table{name, declaration, {}, {}};
    table.declaration =
        replaceEach(table.declaration, dateCheck, [&](const QRegularExpressionMatch& m) -> QString {
            table.dates << m.captured(1);
            const QString c = quoted(m.captured(1));
            return u'(' + c + u" IS NULL OR (" + versionTwoDate(c) + u"))";
        });
    table.declaration =
        replaceEach(table.declaration, lengthCheck, [&](const QRegularExpressionMatch& m) -> QString {
            table.texts.append({m.captured(2), m.captured(3).toInt()});
            return versionTwoCharactersCheck(m.captured(1), m.captured(2)) + m.captured(0);
        });
    table.declaration =
        replaceEach(table.declaration, memo, [&](const QRegularExpressionMatch& m) -> QString {
            table.texts.append({m.captured(1), 0});
            return m.captured(0) + versionTwoCharactersCheck(name + u'.' + m.captured(1), m.captured(1));
        });
    return table;
}

// Puts right, in place, the values that version 1 let in and version 2 refuses.
// Such a value can only have come from outside pelm (a script, an import), and
// pelm never showed it as it was:
// - a date that is no calendar date read blank: it becomes no date, or its day
//   alone when that is a date ("2026-01-05 25:00:00" keeps 2026-01-05);
// - a NUL hid the rest of a text: every NUL becomes U+FFFD, the replacement
//   character, and a text then longer than its column is cut to the column's size.
// Returns how many values were put right.
int repairValues(const QSqlDatabase& db, const TableOfVersionOne& table)
{
    const QString name = quoted(table.name);
    int repaired = 0;
    for (const QString& column : table.dates) {
        const QString c = quoted(column);
        const QString day = u"substr(" + c + u", 1, 10)";
        repaired += sql::exec(db, u"UPDATE " + name + u" SET " + c + u" = CASE WHEN " + versionTwoDate(day) +
                                      u" THEN " + day + u" END WHERE " + c + u" IS NOT NULL AND NOT (" +
                                      versionTwoDate(c) + u')')
                        .numRowsAffected();
    }
    for (const auto& [column, size] : table.texts) {
        const QString c = quoted(column);
        QList<std::pair<QVariant, QString>> texts;
        QSqlQuery q = sql::exec(db, u"SELECT rowid, " + c + u" FROM " + name + u" WHERE NOT (" +
                                        versionTwoNulFree(c) + u')');
        while (q.next()) {
            QString text = q.value(1).toString();
            text.replace(QChar(0), QChar(QChar::ReplacementCharacter));
            texts.append({q.value(0), size > 0 ? leftCharacters(text, size) : text});
        }
        q.finish();
        for (const auto& [rowid, text] : texts)
            sql::exec(db, u"UPDATE " + name + u" SET " + c + u" = ? WHERE rowid = ?", {text, rowid});
        repaired += int(texts.size());
    }
    return repaired;
}

// Makes the table again from its new declaration, copies its rows over and
// makes its indexes again. Its auto-number goes on where it stood.
void rebuild(const QSqlDatabase& db, const QString& tableName, const QString& declaration)
{
    const QString name = quoted(tableName);
    const QString old = quoted(tableName + u"_old");
    QStringList indexes;
    QSqlQuery q =
        sql::exec(db,
                  QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                                 "AND sql IS NOT NULL"),
                  {tableName});
    while (q.next())
        indexes << q.value(0).toString();
    q.finish();
    const SqlDialect& dialect = SqlDialect::of(db);
    const qlonglong lastNumber = dialect.lastAutoNumber(db, tableName, {});

    sql::exec(db, u"ALTER TABLE " + name + u" RENAME TO " + old);
    sql::exec(db, declaration);
    sql::exec(db, u"INSERT INTO " + name + u" SELECT * FROM " + old); // the same columns, in order
    sql::exec(db, u"DROP TABLE " + old);
    for (const QString& index : indexes)
        sql::exec(db, index);
    if (lastNumber > dialect.lastAutoNumber(db, tableName, {}))
        dialect.setLastAutoNumber(db, tableName, {}, lastNumber);
}

void exactChecks(const QSqlDatabase& db)
{
    QList<TableOfVersionOne> tables;
    QSqlQuery q = sql::exec(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' "
                                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
    while (q.next()) {
        const QString declaration = q.value(1).toString();
        TableOfVersionOne table = withExactChecks(q.value(0).toString(), declaration);
        if (table.declaration != declaration)
            tables << table;
    }
    q.finish();
    QStringList report;
    for (const TableOfVersionOne& table : tables) {
        if (const int repaired = repairValues(db, table))
            report << QStringLiteral("升级到版本2：表%1中有%2个值不是有效的日期或含有空字符，已修正。")
                          .arg(table.name)
                          .arg(repaired);
        rebuild(db, table.name, table.declaration);
    }
    for (const QString& line : report)
        qWarning().noquote() << line;
}

// ---- Version 2 to 3: indexes for the monthly run and the income query --------
//
// The monthly run's guard reads the latest month billed of one charge type, and
// the income of a period sums the records of its days per charge type: both read
// a million records without these indexes. The first replaces the index on the
// charge type alone.
void billingIndexes(const QSqlDatabase& db)
{
    sql::exec(db, QStringLiteral("DROP INDEX IF EXISTS \"charge_take_type_id\""));
    sql::exec(db, QStringLiteral("CREATE INDEX \"charge_take_type_id_end_num\" ON \"charge_take\" "
                                 "(\"type_id\", \"end_num\")"));
    sql::exec(db, QStringLiteral("CREATE INDEX \"charge_take_type_id_take_date_should_pay_payment_real\" "
                                 "ON \"charge_take\" (\"type_id\", \"take_date\", \"should_pay\", "
                                 "\"payment_real\")"));
}

// ---- Version 3 to 4: charge types past 255 on fee records --------------------
//
// A fee record's charge type was a byte (0 to 255) while charge types are
// numbered on and never reuse a number: once about 250 types had ever been made,
// fees of a new type were refused. The column takes any integer of a key now;
// nothing stored changes. The engine cannot change a check, so the table is made
// again from its own declaration with the wider range.
void wideChargeTypes(const QSqlDatabase& db)
{
    const QString declaration =
        sql::scalar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"),
                    {QStringLiteral("charge_take")})
            .toString();
    const QString byteRange = QStringLiteral("(\"type_id\" BETWEEN 0 AND 255)");
    if (!declaration.contains(byteRange))
        return;
    QString wide = declaration;
    wide.replace(byteRange, QStringLiteral("(\"type_id\" BETWEEN -2147483648 AND 2147483647)"));
    rebuild(db, QStringLiteral("charge_take"), wide);
}

// ---- Version 4 to 5: every column named in lower case ------------------------
//
// A few columns of the operators and fit-out permits carried capitals. The file
// compares names without regard to case, a server does not: every statement
// names them in lower case now, and so does the file. The names sit in the
// declaration of their table (the column and its named checks), so the two
// tables are made again from their own declarations with the names in lower
// case; the rows stay as they are.
void lowerCaseColumns(const QSqlDatabase& db)
{
    const std::pair<QString, QStringList> renamed[] = {
        {QStringLiteral("operator"),
         {QStringLiteral("PassWord"), QStringLiteral("PopeBase"), QStringLiteral("PopeAdmin"),
          QStringLiteral("PopeCharge"), QStringLiteral("popeManage"), QStringLiteral("popeQuery"),
          QStringLiteral("popePara")}},
        {QStringLiteral("fitment"), {QStringLiteral("fit_Content")}},
    };
    for (const auto& [name, columns] : renamed) {
        QString declaration =
            sql::scalar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"),
                        {name})
                .toString();
        for (const QString& old : columns) {
            declaration.replace(quoted(old), quoted(old.toLower()));
            declaration.replace(u'.' + old + u'.', u'.' + old.toLower() + u'.');
        }
        rebuild(db, name, declaration);
    }
}

// ---- Version 5 to 6: receipts -------------------------------------------------
//
// Every payment gets a numbered receipt from now on, and a fee record's
// payment_real is the sum of its receipt lines. The tables are made from the
// schema's description, on either engine; what was paid before is put on one
// historical receipt per owner (year 0, numbered by the owner), a line per paid
// fee record, so that the sum holds for every record from the first day.
void receipts(const QSqlDatabase& db)
{
    const SqlDialect& dialect = SqlDialect::of(db);
    const QStringList added{QStringLiteral("receipt"), QStringLiteral("receipt_line"),
                            QStringLiteral("cashier_day")};
    for (const schema::Table& table : schema::tables()) {
        if (added.contains(QString::fromLatin1(table.name))) {
            for (const QString& statement : dialect.tableStatements(table))
                sql::exec(db, statement);
        }
    }
    for (const schema::Index& index : schema::indexes()) {
        if (added.contains(QString::fromLatin1(index.table)))
            sql::exec(db, SqlDialect::indexStatement(index));
    }
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    sql::exec(
        db,
        QStringLiteral(
            "insert into receipt (receipt_no, receipt_year, receipt_seq, owner_id, issued_at, pay_way, "
            "total, reprints, remark) "
            "select ?, 0, coalesce(owner_id, 0), owner_id, ?, ?, cast(sum(payment_real) as bigint), 0, ? "
            "from charge_take where payment_real <> 0 group by owner_id"),
        {QStringLiteral("历史"), now, QStringLiteral("历史"), QStringLiteral("启用收据前的付款")});
    sql::exec(
        db, QStringLiteral("insert into receipt_line (receipt_id, take_id, amount) "
                           "select r.receipt_id, c.take_id, c.payment_real from charge_take c "
                           "join receipt r on r.receipt_year = 0 and r.receipt_seq = coalesce(c.owner_id, 0) "
                           "where c.payment_real <> 0 order by c.take_id"));
}

} // namespace

std::span<const Step> steps()
{
    static const std::vector<Step> list = {
        {1, exactChecks}, {2, billingIndexes}, {3, wideChargeTypes}, {4, lowerCaseColumns}, {5, receipts},
    };
    return list;
}

void upgrade(const QSqlDatabase& db, std::span<const Step> steps, int target)
{
    Transaction transaction(db);
    // Read under the write lock: another copy may have upgraded the file since
    // this one looked.
    const SqlDialect& dialect = SqlDialect::of(db);
    const int from = dialect.schemaVersion(db);
    if (from == target)
        return;
    if (from > target) {
        throw DbError(QStringLiteral("数据库文件的版本（%1）比本程序的版本（%2）新，请使用新版程序打开。")
                          .arg(from)
                          .arg(target));
    }
    const QString failed =
        QStringLiteral("数据库文件无法从版本%1升级到版本%2，文件未做任何改动。").arg(from).arg(target);
    for (int version = from; version < target; ++version) {
        const auto step =
            std::find_if(steps.begin(), steps.end(), [version](const Step& s) { return s.from == version; });
        if (step == steps.end() || !step->run)
            throw DbError(DbError::Kind::Engine, failed,
                          QStringLiteral("缺少从版本%1升级的步骤。").arg(version));
        try {
            step->run(db);
        } catch (const DbError& e) {
            QString detail = QStringLiteral("从版本%1升级时出错：%2").arg(version).arg(e.text());
            if (!e.detail().isEmpty())
                detail += u'\n' + e.detail();
            throw DbError(DbError::Kind::Engine, failed, detail);
        }
    }
    dialect.setSchemaVersion(db, target);
    transaction.commit();
}

} // namespace schema_upgrade
