#include "db/SqliteDialect.h"

#include "db/SqliteFile.h"

#include "db/Sql.h"

#include <QFileInfo>
#include <QUrl>

namespace {

// SQLite's primary result codes; the driver gives the code as text in
// QSqlError::nativeErrorCode(). Extended codes keep the primary one in their
// low byte.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteConstraint = 19;

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

// "UNIQUE constraint failed: rooms_info.room_id" -> {"rooms_info.room_id"}
QStringList failedColumns(const QString& list)
{
    QStringList columns;
    for (const QString& column : list.split(u',', Qt::SkipEmptyParts))
        columns << column.trimmed();
    return columns;
}

// A real calendar date, or date and time, in the stored form. The engine's date
// functions read a day beyond the month's end, or an hour 24, and a modifier
// makes them count it on ("2026-02-30" becomes "2026-03-02"): the value is a real
// date (and time) when it comes back unchanged. They also read years 0000 and
// below, which no date here has.
QString dateCondition(const QString& c)
{
    return c + u" >= '0001' AND (date(" + c + u", '+0 days') IS " + c + u" OR datetime(" + c +
           u", '+0 days') IS " + c + u')';
}

// A text without NUL characters: length() counts the characters before the first
// NUL only, so a NUL would hide any length behind it.
QString nulFreeCondition(const QString& c)
{
    return u"instr(" + c + u", char(0)) = 0";
}

} // namespace

QString SqliteDialect::driverName() const
{
    return QStringLiteral("QSQLITE");
}

void SqliteDialect::setConnection(QSqlDatabase& db, const QString& path, bool mayCreate, int busyTimeoutMs)
{
    // A URI, so that the open mode can say whether a missing file may be made.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(mayCreate ? QStringLiteral("mode=rwc") : QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=" + QString::number(busyTimeoutMs));
}

void SqliteDialect::configureConnection(const QSqlDatabase& db) const
{
    sql::exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
}

void SqliteDialect::beginWriteTransaction(const QSqlDatabase& db) const
{
    // A deferred BEGIN would fail at once with SQLITE_BUSY_SNAPSHOT when another
    // copy wrote in the meantime, without waiting for the busy timeout.
    sql::exec(db, QStringLiteral("BEGIN IMMEDIATE"));
}

int SqliteDialect::schemaVersion(const QSqlDatabase& db) const
{
    return sql::scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}

void SqliteDialect::setSchemaVersion(const QSqlDatabase& db, int version) const
{
    // A PRAGMA takes no bound values; the version is a number of ours.
    sql::exec(db, u"PRAGMA user_version = " + QString::number(version));
}

int SqliteDialect::applicationId(const QSqlDatabase& db) const
{
    return sql::scalar(db, QStringLiteral("PRAGMA application_id")).toInt();
}

QStringList SqliteDialect::integrityProblems(const QSqlDatabase& db) const
{
    return sqlite_file::integrityProblems(db);
}

qlonglong SqliteDialect::lastAutoNumber(const QSqlDatabase& db, const QString& table, const QString&) const
{
    // sqlite_sequence exists once any auto-numbered table of the file has a row.
    if (!sql::exists(db, QStringLiteral("select name from sqlite_master where type = 'table' and name = ?"),
                     {QStringLiteral("sqlite_sequence")}))
        return 0;
    return sql::scalar(db, QStringLiteral("select seq from sqlite_sequence where name = ?"), {table})
        .toLongLong();
}

void SqliteDialect::setLastAutoNumber(const QSqlDatabase& db, const QString& table, const QString&,
                                      qlonglong number) const
{
    if (sql::update(db, QStringLiteral("sqlite_sequence"), {{QStringLiteral("seq"), number}},
                    QStringLiteral("name"), table) == 0)
        sql::insert(db, QStringLiteral("sqlite_sequence"),
                    {{QStringLiteral("name"), table}, {QStringLiteral("seq"), number}});
}

SqlDialect::Refusal SqliteDialect::classify(const QSqlError& error) const
{
    Refusal refusal;
    const int code = primaryCode(error);
    if (code == kSqliteBusy || code == kSqliteLocked) {
        refusal.failure = Failure::Busy;
        return refusal;
    }
    if (code != kSqliteConstraint)
        return refusal;

    // The engine names what failed after a fixed prefix.
    const QString text = error.databaseText().trimmed();
    struct Prefix
    {
        QLatin1StringView text;
        Failure failure;
    };
    static constexpr Prefix prefixes[] = {
        {QLatin1StringView("UNIQUE constraint failed: "), Failure::Unique},
        {QLatin1StringView("PRIMARY KEY constraint failed: "), Failure::Unique},
        {QLatin1StringView("NOT NULL constraint failed: "), Failure::NotNull},
        {QLatin1StringView("CHECK constraint failed: "), Failure::Check},
    };
    for (const Prefix& prefix : prefixes) {
        if (!text.startsWith(prefix.text))
            continue;
        const QString rest = text.mid(prefix.text.size()).trimmed();
        refusal.failure = prefix.failure;
        if (prefix.failure == Failure::Check)
            refusal.constraint = rest;
        else
            refusal.columns = failedColumns(rest);
        break;
    }
    return refusal;
}

QString SqliteDialect::unindexed(const QString& column) const
{
    return u'+' + column;
}

QString SqliteDialect::columnDefinition(const QString& table, const schema::Column& column) const
{
    using schema::ColumnType;
    using schema::Rule;
    const QString c = quoted(QString::fromLatin1(column.name));
    const auto rule = [&](Rule r, const QString& condition) -> QString {
        return check(table, column, r, condition);
    };
    // A whole number first, so that a text is refused as no number rather than
    // as out of range.
    const auto integer = [&](QStringView lowest, QStringView highest) -> QString {
        return u" INTEGER" + rule(Rule::Number, u"typeof(" + c + u") = 'integer'") +
               rule(Rule::Range, c + u" BETWEEN " + lowest + u" AND " + highest);
    };
    switch (column.type) {
    case ColumnType::AutoNumber:
        return c + u" INTEGER PRIMARY KEY AUTOINCREMENT";
    case ColumnType::Integer:
        return c + integer(u"-2147483648", u"2147483647");
    case ColumnType::SmallInteger:
        return c + integer(u"-32768", u"32767");
    case ColumnType::Byte:
        return c + integer(u"0", u"255");
    case ColumnType::Decimal:
        // decimal(p,2) in hundredths: fewer than p digits.
        return c + u" INTEGER" + rule(Rule::Number, u"typeof(" + c + u") = 'integer'") +
               rule(Rule::Range, u"abs(" + c + u") < 1" + QString(column.size, u'0'));
    case ColumnType::Float:
        return c + u" REAL" + rule(Rule::Number, u"typeof(" + c + u") IN ('real', 'integer')");
    case ColumnType::DateTime:
        return c + u" TEXT" + rule(Rule::Date, dateCondition(c));
    case ColumnType::Memo:
        return c + u" TEXT COLLATE RTRIM" + rule(Rule::Characters, nulFreeCondition(c));
    case ColumnType::Text:
    case ColumnType::Char: {
        QString def = c + u" TEXT";
        if (column.key)
            def += u" PRIMARY KEY NOT NULL";
        def += u" COLLATE RTRIM";
        if (column.defaultText)
            def += u" DEFAULT '" + QString::fromUtf8(column.defaultText) + u'\'';
        def += rule(Rule::Characters, nulFreeCondition(c));
        def += rule(Rule::Length,
                    u"typeof(" + c + u") = 'text' AND length(" + c + u") <= " + QString::number(column.size));
        if (column.key)
            def += rule(Rule::NotBlank, u"length(trim(" + c + u")) > 0");
        return def;
    }
    }
    return {};
}

QStringList SqliteDialect::markStatements(int applicationId, int version) const
{
    return {u"PRAGMA application_id = " + QString::number(applicationId),
            u"PRAGMA user_version = " + QString::number(version)};
}
