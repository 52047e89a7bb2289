#include "db/Sql.h"

#include "db/DataChanges.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SqlDialect.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSqlError>
#include <QStringList>

#include <chrono>
#include <limits>
#include <optional>
#include <thread>

namespace {

// How often a statement that finds the file locked is tried, and the pause
// between the tries (each try itself waits up to the connection's busy timeout).
constexpr int kBusyAttempts = 3;
constexpr std::chrono::milliseconds kBusyPause{200};

// Open Transactions per connection name. Connections may live in other threads.
QMutex depthMutex;
QHash<QString, int> depths;

void setDepth(const QSqlDatabase& db, int depth)
{
    const QMutexLocker lock(&depthMutex);
    if (depth == 0)
        depths.remove(db.connectionName());
    else
        depths.insert(db.connectionName(), depth);
}

} // namespace

namespace sql {

namespace {

QString writtenTable(const QString& statement);

QSqlQuery runTried(const QSqlDatabase& db, const QString& statement, const QVariantList& values,
                   bool forwardOnly)
{
    for (int attempt = 1;; ++attempt) {
        QSqlQuery query(db);
        query.setForwardOnly(forwardOnly);
        // A statement without values runs as it is: a server prepares no
        // transaction control, PRAGMA or schema statement.
        if (values.isEmpty()) {
            if (query.exec(statement))
                return query;
        } else if (query.prepare(statement)) {
            for (const QVariant& value : values)
                query.addBindValue(value);
            if (query.exec())
                return query;
        }
        const QSqlError error = query.lastError();
        const SqlDialect& dialect = SqlDialect::of(db);
        const bool retry = attempt < kBusyAttempts && Transaction::depth(db) == 0 && dialect.isBusy(error);
        if (!retry)
            throw DbError(error, dialect);
        query.finish();
        std::this_thread::sleep_for(kBusyPause);
    }
}

QSqlQuery run(const QSqlDatabase& db, const QString& statement, const QVariantList& values, bool forwardOnly)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库连接没有打开。"));
    if (Transaction::depth(db) == 0 && SqlDialect::of(db).lonelyWritesNeedTheLock() &&
        !writtenTable(statement).isEmpty()) {
        // A write on its own takes the write lock as well, so that it never slips
        // between another copy's check and that copy's write.
        Transaction alone(db);
        QSqlQuery query = runTried(db, statement, values, forwardOnly);
        alone.commit();
        return query;
    }
    return runTried(db, statement, values, forwardOnly);
}

// The table a statement writes when it begins with INSERT, REPLACE, UPDATE or
// DELETE; empty for any other statement.
QString writtenTable(const QString& statement)
{
    static const QRegularExpression write(
        QStringLiteral("^\\s*(?:(?:insert|replace)(?:\\s+or\\s+\\w+)?\\s+into|update(?:\\s+or\\s+\\w+)?|"
                       "delete\\s+from)\\s+[\"`\\[]?([A-Za-z_][A-Za-z0-9_]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = write.match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The column that keys the records of a table: its auto-number, or its typed key.
struct TableKey
{
    QString column;
    bool autoNumber = false;
};

std::optional<TableKey> keyOf(const QString& table)
{
    static const QHash<QString, TableKey> keys = [] {
        QHash<QString, TableKey> all;
        for (const schema::Table& t : schema::tables()) {
            for (const schema::Column& c : t.columns) {
                const bool autoNumber = c.type == schema::ColumnType::AutoNumber;
                if (autoNumber || c.key)
                    all.insert(QString::fromLatin1(t.name).toLower(),
                               {QString::fromLatin1(c.name).toLower(), autoNumber});
            }
        }
        return all;
    }();
    const auto it = keys.constFind(table.toLower());
    if (it == keys.cend())
        return std::nullopt;
    return *it;
}

// Whether `column` is the column that keys the records of `table`.
bool isKeyColumn(const QString& table, const QString& column)
{
    const std::optional<TableKey> key = keyOf(table);
    return key && key->column.compare(column, Qt::CaseInsensitive) == 0;
}

} // namespace

QSqlQuery exec(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = run(db, statement, values, true);
    const QString table = writtenTable(statement);
    if (!table.isEmpty() && query.numRowsAffected() != 0)
        data_changes::note(db, table);
    return query;
}

void touched(const QSqlDatabase& db, const QString& table, const QVariant& key)
{
    data_changes::note(db, table, key);
}

QSqlQuery select(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    return run(db, statement, values, false);
}

QVariant scalar(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = exec(db, statement, values);
    if (!query.next()) {
        if (query.lastError().isValid())
            throw DbError(query.lastError(), SqlDialect::of(db));
        return {};
    }
    return query.value(0);
}

bool exists(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = exec(db, statement, values);
    const bool found = query.next();
    if (!found && query.lastError().isValid())
        throw DbError(query.lastError(), SqlDialect::of(db));
    return found;
}

namespace {

QString quoted(const QString& identifier)
{
    return u'"' + identifier + u'"';
}

// A value for a number column that is no number of its kind, or a whole number
// beyond a 32-bit column: refused here with the rule it breaks, as the file's
// checks refuse it (a server's own refusal of such a value names no column).
void checkNumber(const QString& table, const QString& column, const QVariant& value)
{
    const schema::Column* c = schema::findColumn(table, column);
    if (!c || value.isNull())
        return;
    using T = schema::ColumnType;
    const bool whole =
        c->type == T::Integer || c->type == T::SmallInteger || c->type == T::Byte || c->type == T::Decimal;
    if (!whole && c->type != T::Float)
        return;
    const auto broken = [&](schema::Rule rule) {
        return DbError::ruleBroken(schema::checkName(table, column, rule));
    };
    bool ok = false;
    if (!whole) {
        value.toString().toDouble(&ok);
        if (!ok)
            throw broken(schema::Rule::Number);
        return;
    }
    const int type = value.typeId();
    const bool integral = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt ||
                          type == QMetaType::ULongLong || type == QMetaType::Short || type == QMetaType::Long;
    const qlonglong number = value.toString().toLongLong(&ok);
    if (!ok || (!integral && type != QMetaType::QString))
        throw broken(schema::Rule::Number);
    if (c->type == T::Integer &&
        (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max()))
        throw broken(schema::Rule::Range);
}

// One rule for every write: an empty text is stored as null. A NUL character is
// refused before it reaches the engine (a server's texts cannot hold one), as
// the file's check refuses it, and so is a value that is no number of its
// number column.
QVariant stored(const QString& table, const QString& column, const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.isEmpty())
            return QVariant(QMetaType(QMetaType::QString));
        if (text.contains(QChar(0)))
            throw DbError::ruleBroken(schema::checkName(table, column, schema::Rule::Characters));
    }
    checkNumber(table, column, value);
    return value;
}

} // namespace

qlonglong insert(const QSqlDatabase& db, const QString& table, const Fields& fields)
{
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const auto& [column, value] : fields) {
        columns << quoted(column);
        marks << QStringLiteral("?");
        values << stored(table, column, value);
    }
    QString statement = u"insert into " + quoted(table) + u" (" + columns.join(u", ") + u") values (" +
                        marks.join(u", ") + u')';
    const std::optional<TableKey> k = keyOf(table);
    const bool numbered = k && k->autoNumber;
    // The number comes back with the row: asked for afterwards, a server may
    // answer from another table's numbering, or fail when none was used yet.
    if (numbered)
        statement += u" returning " + quoted(k->column);
    qlonglong id = 0;
    if (numbered) {
        QSqlQuery query = run(db, statement, values, true);
        if (!query.next())
            throw DbError(query.lastError(), SqlDialect::of(db));
        id = query.value(0).toLongLong();
    } else {
        run(db, statement, values, true);
    }
    // The new record's key: its auto-number, or the typed key written.
    QVariant key;
    if (k) {
        if (numbered) {
            key = id;
        } else {
            for (const auto& [column, value] : fields) {
                if (column.compare(k->column, Qt::CaseInsensitive) == 0)
                    key = value;
            }
        }
    }
    data_changes::note(db, table, key);
    return id;
}

int update(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
           const QVariant& key)
{
    QStringList assignments;
    QVariantList values;
    for (const auto& [column, value] : fields) {
        assignments << quoted(column) + u" = ?";
        values << stored(table, column, value);
    }
    values << key;
    const int changed = run(db,
                            u"update " + quoted(table) + u" set " + assignments.join(u", ") + u" where " +
                                quoted(keyColumn) + u" = ?",
                            values, true)
                            .numRowsAffected();
    if (changed != 0) {
        ChangeSet changes;
        if (isKeyColumn(table, keyColumn)) {
            changes.note(table, key);
            // A typed key changed: the record is known by its new key too.
            for (const auto& [column, value] : fields) {
                if (column.compare(keyColumn, Qt::CaseInsensitive) == 0)
                    changes.note(table, value);
            }
        } else {
            changes.note(table);
        }
        data_changes::note(db, changes);
    }
    return changed;
}

int remove(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key)
{
    const int removed =
        run(db, u"delete from " + quoted(table) + u" where " + quoted(keyColumn) + u" = ?", {key}, true)
            .numRowsAffected();
    if (removed != 0)
        data_changes::note(db, table, isKeyColumn(table, keyColumn) ? key : QVariant());
    return removed;
}

DbError recordGone(const QString& table, const QString& keyColumn, const QVariant& key)
{
    return DbError(DbError::Kind::RecordGone, QStringLiteral("该记录已被其他用户删除或修改，请刷新后重试。"),
                   QStringLiteral("表 %1 中没有 %2 = %3 的记录。").arg(table, keyColumn, key.toString()));
}

void updateOne(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
               const QVariant& key)
{
    if (update(db, table, fields, keyColumn, key) == 0)
        throw recordGone(table, keyColumn, key);
}

void removeOne(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key)
{
    if (remove(db, table, keyColumn, key) == 0)
        throw recordGone(table, keyColumn, key);
}

QVariant dateValue(const QDate& date)
{
    // Qt has one null for "no date" and for a date that is no date; every valid
    // one is a real calendar date, but only years 1 to 9999 have the stored form.
    if (date.isNull())
        return {};
    if (date.year() < 1 || date.year() > 9999)
        throw DbError(DbError::Kind::Constraint,
                      QStringLiteral("日期%1超出可以保存的范围（0001-01-01至9999-12-31）。")
                          .arg(date.toString(QStringLiteral("yyyy-MM-dd"))));
    return date.toString(Qt::ISODate);
}

QDate toDate(const QVariant& stored)
{
    // Exactly "yyyy-MM-dd" in ASCII (Qt's own ISO reading also takes other
    // separators and digits), then a real calendar date.
    const QString text = stored.toString();
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const auto number = [&text](qsizetype from, qsizetype length) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 1 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

QVariantList periodValues(const Period& period)
{
    return {dateValue(period.first), dateValue(period.last)};
}

QString containsPattern(const QString& fragment)
{
    QString escaped = fragment;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

QString containsCondition(const QString& column)
{
    // LIKE ignores the case of ASCII letters only on the file, and no case on a
    // server: both sides in lower case, on either.
    return u"lower(" + column + u") like lower(?) escape '\\'";
}

} // namespace sql

namespace {

QString savepointName(int level)
{
    return u"pelm_" + QString::number(level);
}

} // namespace

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db)), m_level(depth(m_db))
{
    // The outermost BEGIN runs while the connection is in autocommit, so a busy
    // file is tried again there; a savepoint inside a transaction never waits.
    if (m_level == 0)
        SqlDialect::of(m_db).beginWriteTransaction(m_db);
    else
        sql::exec(m_db, u"SAVEPOINT " + savepointName(m_level));
    setDepth(m_db, m_level + 1);
    data_changes::enter(m_db);
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    Q_ASSERT(depth(m_db) == m_level + 1);
    // Errors are not reported from here: when the engine already undid the
    // transaction (it does on some failures), there is nothing left to undo.
    QSqlQuery undo(m_db);
    if (m_level == 0) {
        undo.exec(QStringLiteral("ROLLBACK"));
    } else {
        // ROLLBACK TO keeps the savepoint open; RELEASE then ends it.
        undo.exec(u"ROLLBACK TO SAVEPOINT " + savepointName(m_level));
        undo.exec(u"RELEASE SAVEPOINT " + savepointName(m_level));
    }
    setDepth(m_db, m_level);
    data_changes::leave(m_db, false); // what it wrote is undone: nothing to announce
}

void Transaction::commit()
{
    Q_ASSERT(m_open && depth(m_db) == m_level + 1);
    if (m_level == 0) {
        SqlDialect::of(m_db).checkCommittable(m_db);
        sql::exec(m_db, QStringLiteral("COMMIT"));
    } else {
        sql::exec(m_db, u"RELEASE SAVEPOINT " + savepointName(m_level));
    }
    m_open = false;
    setDepth(m_db, m_level);
    // Announced once the outermost transaction is committed; a failed COMMIT
    // threw above, and the destructor's rollback drops what was collected.
    data_changes::leave(m_db, true);
}

int Transaction::depth(const QSqlDatabase& db)
{
    const QMutexLocker lock(&depthMutex);
    return depths.value(db.connectionName(), 0);
}
