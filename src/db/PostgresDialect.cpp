#include "db/PostgresDialect.h"

#include "db/DbError.h"
#include "db/Sql.h"

#include <QRegularExpression>
#include <QSqlQuery>

#include <chrono>
#include <thread>

namespace {

// The one-row table that marks a database as pelm's and holds its schema version.
constexpr char kMarkTable[] = "pelm_mark";

// The names the server quotes in its text, in order.
QStringList quotedNames(const QString& text)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\""));
    QStringList names;
    QRegularExpressionMatchIterator it = quoted.globalMatch(text);
    while (it.hasNext())
        names << it.next().captured(1);
    return names;
}

const schema::Table* findTable(const QString& name)
{
    for (const schema::Table& table : schema::tables()) {
        if (name.compare(QLatin1StringView(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

// The key column of a table, as "table.column"; empty when it has none.
QString keyOf(const schema::Table& table)
{
    for (const schema::Column& column : table.columns) {
        if (column.key || column.type == schema::ColumnType::AutoNumber)
            return QLatin1StringView(table.name) + u'.' + QLatin1StringView(column.name);
    }
    return {};
}

QString sequenceOf(const QString& table)
{
    // pg_get_serial_sequence reads its first argument as an identifier.
    return u'"' + table + u'"';
}

} // namespace

QString PostgresDialect::driverName() const
{
    return QStringLiteral("QPSQL");
}

void PostgresDialect::configureConnection(const QSqlDatabase&) const
{
    // Nothing: the server keeps its data safe for several sessions as it is. The
    // lock timeout is set where the connection is opened.
}

void PostgresDialect::beginWriteTransaction(const QSqlDatabase& db) const
{
    // A lock that another workstation holds past the lock timeout is waited for
    // a few times more, as the file's BEGIN is.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        sql::exec(db, QStringLiteral("BEGIN"));
        QSqlQuery lock(db);
        if (lock.exec(u"SELECT pg_advisory_xact_lock(" + QString::number(kWriteLock) + u')'))
            return;
        const QSqlError error = lock.lastError();
        lock.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (attempt == kAttempts || !isBusy(error))
            throw DbError(error, *this);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

void PostgresDialect::checkCommittable(const QSqlDatabase& db) const
{
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT 1")))
        throw DbError(probe.lastError(), *this);
}

int PostgresDialect::schemaVersion(const QSqlDatabase& db) const
{
    return sql::scalar(db, u"SELECT version FROM " + QLatin1StringView(kMarkTable)).toInt();
}

void PostgresDialect::setSchemaVersion(const QSqlDatabase& db, int version) const
{
    sql::exec(db, u"UPDATE " + QLatin1StringView(kMarkTable) + u" SET version = ?", {version});
}

int PostgresDialect::applicationId(const QSqlDatabase& db) const
{
    if (sql::scalar(db, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"),
                    {QString::fromLatin1(kMarkTable)})
            .toBool())
        return sql::scalar(db, u"SELECT application_id FROM " + QLatin1StringView(kMarkTable)).toInt();
    return 0;
}

QStringList PostgresDialect::integrityProblems(const QSqlDatabase& db) const
{
    // The server keeps its tables and indexes sound itself; what it may hold
    // unproven is a check added without validating the rows already there.
    QStringList problems;
    QSqlQuery unproven = sql::exec(
        db, QStringLiteral("SELECT c.conrelid::regclass::text, c.conname FROM pg_constraint c "
                           "JOIN pg_namespace n ON n.oid = c.connamespace "
                           "WHERE n.nspname = current_schema() AND NOT c.convalidated ORDER BY 1, 2"));
    while (unproven.next())
        problems << QStringLiteral("表%1的检查%2未经验证。")
                        .arg(unproven.value(0).toString(), unproven.value(1).toString());
    return problems;
}

qlonglong PostgresDialect::lastAutoNumber(const QSqlDatabase& db, const QString& table,
                                          const QString& keyColumn) const
{
    return sql::scalar(db,
                       QStringLiteral(
                           "SELECT coalesce(pg_sequence_last_value(pg_get_serial_sequence(?, ?)::regclass), "
                           "0)"),
                       {sequenceOf(table), keyColumn})
        .toLongLong();
}

void PostgresDialect::setLastAutoNumber(const QSqlDatabase& db, const QString& table,
                                        const QString& keyColumn, qlonglong number) const
{
    if (number < 1)
        return;
    sql::exec(db, QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), ?)"),
              {sequenceOf(table), keyColumn, number});
}

SqlDialect::Refusal PostgresDialect::classify(const QSqlError& error) const
{
    Refusal refusal;
    const QString state = error.nativeErrorCode();
    const QStringList names = quotedNames(error.databaseText());
    if (state == u"40P01" || state == u"55P03" || state == u"40001") {
        refusal.failure = Failure::Busy;
    } else if (state == u"25P02") {
        refusal.failure = Failure::Aborted;
    } else if (state.startsWith(u"08") || state == u"57P01" || state == u"57P02" || state == u"57P03") {
        refusal.failure = Failure::Connection;
    } else if (state == u"23505") {
        // The constraint is the table's key, "<table>_pkey", or its index without
        // trailing blanks, "<table>_pkey_blanks".
        refusal.failure = Failure::Unique;
        static const QRegularExpression key(QStringLiteral("^(\\w+)_pkey(?:_blanks)?$"));
        for (const QString& name : names) {
            const QRegularExpressionMatch m = key.match(name);
            if (!m.hasMatch())
                continue;
            if (const schema::Table* table = findTable(m.captured(1)))
                refusal.columns << keyOf(*table);
        }
    } else if (state == u"23502") {
        // The column and its table, in whichever order the server's language puts them.
        refusal.failure = Failure::NotNull;
        for (const QString& tableName : names) {
            const schema::Table* table = findTable(tableName);
            if (!table)
                continue;
            for (const QString& column : names) {
                if (schema::findColumn(tableName, column))
                    refusal.columns << QLatin1StringView(table->name) + u'.' + column;
            }
        }
    } else if (state == u"23514") {
        refusal.failure = Failure::Check;
        for (const QString& name : names) {
            if (schema::parseCheckName(name))
                refusal.constraint = name;
        }
    }
    return refusal;
}

QStringList PostgresDialect::preamble() const
{
    return {
        // Names in pinyin order, as the file's own collation sorts them.
        QStringLiteral("CREATE COLLATION IF NOT EXISTS pinyin (provider = icu, locale = 'zh-u-co-pinyin')"),
        // A real calendar date "yyyy-MM-dd", or date and time "yyyy-MM-dd HH:mm:ss",
        // exactly as stored: the value read as a date (and time) and written out
        // again comes back unchanged (not "2026-02-30", nor an hour 24).
        QStringLiteral("CREATE OR REPLACE FUNCTION pelm_is_date(value text) RETURNS boolean\n"
                       "LANGUAGE plpgsql IMMUTABLE AS $$\n"
                       "BEGIN\n"
                       "    IF value ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}$' THEN\n"
                       "        RETURN value >= '0001' AND to_char(value::date, 'YYYY-MM-DD') = value;\n"
                       "    ELSIF value ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' THEN\n"
                       "        RETURN value >= '0001'\n"
                       "            AND to_char(value::timestamp, 'YYYY-MM-DD HH24:MI:SS') = value;\n"
                       "    END IF;\n"
                       "    RETURN false;\n"
                       "EXCEPTION WHEN others THEN\n"
                       "    RETURN false;\n"
                       "END $$"),
        // A row written with its own number (a copy, a repair) moves the numbering
        // past it, as the file's numbering does: the next number is never taken.
        QStringLiteral("CREATE OR REPLACE FUNCTION pelm_follow_keys() RETURNS trigger\n"
                       "LANGUAGE plpgsql AS $$\n"
                       "DECLARE\n"
                       "    numbering regclass := pg_get_serial_sequence(quote_ident(TG_TABLE_NAME), "
                       "TG_ARGV[0])::regclass;\n"
                       "    highest bigint;\n"
                       "BEGIN\n"
                       "    EXECUTE format('SELECT max(%I) FROM added', TG_ARGV[0]) INTO highest;\n"
                       "    IF highest > coalesce(pg_sequence_last_value(numbering), 0) THEN\n"
                       "        PERFORM setval(numbering, highest);\n"
                       "    END IF;\n"
                       "    RETURN NULL;\n"
                       "END $$"),
    };
}

QString PostgresDialect::columnDefinition(const QString& table, const schema::Column& column) const
{
    using schema::ColumnType;
    using schema::Rule;
    const QString c = quoted(QString::fromLatin1(column.name));
    const auto rule = [&](Rule r, const QString& condition) -> QString {
        return check(table, column, r, condition);
    };
    // The server's types refuse what is no number of the kind; the ranges are
    // named checks as on the file.
    switch (column.type) {
    case ColumnType::AutoNumber:
        return c + u" integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
    case ColumnType::Integer:
        return c + u" integer";
    case ColumnType::SmallInteger:
        return c + u" integer" + rule(Rule::Range, c + u" BETWEEN -32768 AND 32767");
    case ColumnType::Byte:
        return c + u" integer" + rule(Rule::Range, c + u" BETWEEN 0 AND 255");
    case ColumnType::Decimal:
        // decimal(p,2) in hundredths: fewer than p digits.
        return c + u" bigint" + rule(Rule::Range, u"abs(" + c + u") < 1" + QString(column.size, u'0'));
    case ColumnType::Float:
        return c + u" double precision";
    case ColumnType::DateTime:
        return c + u" text" + rule(Rule::Date, u"pelm_is_date(" + c + u')');
    case ColumnType::Memo:
        // The server's texts hold no NUL character at all.
        return c + u" text";
    case ColumnType::Text:
    case ColumnType::Char: {
        QString def = c + u" text";
        if (column.key)
            def += u" PRIMARY KEY NOT NULL";
        if (column.defaultText)
            def += u" DEFAULT '" + QString::fromUtf8(column.defaultText) + u'\'';
        def += rule(Rule::Length, u"char_length(" + c + u") <= " + QString::number(column.size));
        if (column.key)
            def += rule(Rule::NotBlank, u"length(btrim(" + c + u")) > 0");
        return def;
    }
    }
    return {};
}

QStringList PostgresDialect::afterTable(const schema::Table& table) const
{
    const QString name = QString::fromLatin1(table.name);
    QStringList statements;
    for (const schema::Column& column : table.columns) {
        const QString c = QString::fromLatin1(column.name);
        if (column.type == schema::ColumnType::AutoNumber) {
            statements << u"CREATE TRIGGER " + quoted(name + u"_follow_keys") + u" AFTER INSERT ON " +
                              quoted(name) +
                              u" REFERENCING NEW TABLE AS added FOR EACH STATEMENT EXECUTE FUNCTION "
                              u"pelm_follow_keys('" +
                              c + u"')";
        } else if (column.key) {
            // A typed key is compared without trailing blanks, as on the file:
            // "101  " is the room 101 again.
            statements << u"CREATE UNIQUE INDEX " + quoted(name + u"_pkey_blanks") + u" ON " + quoted(name) +
                              u" (rtrim(" + quoted(c) + u"))";
        }
    }
    return statements;
}

QStringList PostgresDialect::markStatements(int applicationId, int version) const
{
    const QString table = QString::fromLatin1(kMarkTable);
    return {u"CREATE TABLE " + table + u" (application_id integer NOT NULL, version integer NOT NULL)",
            u"INSERT INTO " + table + u" VALUES (" + QString::number(applicationId) + u", " +
                QString::number(version) + u')'};
}
