#pragma once

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// What a write changed: the tables it wrote and, where the write knew them, the
// keys of the records. A table written by a statement over many rows (a delete
// by owner, the monthly run's insert) counts as changed throughout.
class ChangeSet
{
public:
    // Notes a write to `table` (its name in any case); with a key, of that record,
    // without one, of rows unknown.
    void note(const QString& table, const QVariant& key = {});
    void merge(const ChangeSet& other);

    bool isEmpty() const { return m_tables.isEmpty(); }
    // The tables written, lower case, sorted.
    QStringList tables() const;
    bool touches(const QString& table) const;
    bool touchesAny(const QStringList& tables) const;
    // Whether rows of `table` were written that no key names.
    bool touchesUnknownRows(const QString& table) const;
    // The keys of the records of `table` written, as the writes named them.
    QVariantList keys(const QString& table) const;

private:
    struct Table
    {
        QVariantList keys;
        bool unknownRows = false;
    };
    QHash<QString, Table> m_tables; // by lower-case name
};
Q_DECLARE_METATYPE(ChangeSet)

// The announcements of one connection (by its connection name): after a write
// is committed, `changed` tells once what it changed.
//
// - The outermost Transaction collects what the writes inside it changed and
//   announces it after its COMMIT succeeded: once, however many statements and
//   savepoints it held. A rollback announces nothing, nor a COMMIT that failed
//   (the Transaction then rolls back); a savepoint rolled back drops only what was
//   written inside it.
// - A write outside any transaction is announced at once.
//
// The write helpers of sql:: note what they write themselves (sql::insert,
// update, remove and the record writes of RecordMap name the record's key); a
// statement run by sql::exec that begins with INSERT, REPLACE, UPDATE or DELETE
// notes its table. sql::touched notes a write the engine made some other way.
//
// Listeners run inside the writer's action, right after the commit: they note
// what concerns them and do their work later (the lists re-read themselves from
// a zero-timer).
class DataChanges : public QObject
{
    Q_OBJECT
public:
    // The announcer of the connection, made on first use; it lives as long as the
    // program.
    static DataChanges* of(const QSqlDatabase& db);
    static DataChanges* of(const QString& connectionName);

Q_SIGNALS:
    void changed(const ChangeSet& changes);

private:
    DataChanges() = default;
};

// What sql:: and Transaction tell the collection; nothing else calls these.
namespace data_changes {

// A write to `table` on the connection: collected by the open transaction, or
// announced at once outside one.
void note(const QSqlDatabase& db, const QString& table, const QVariant& key = {});
// Several at once (announced as one outside a transaction).
void note(const QSqlDatabase& db, const ChangeSet& changes);
// A Transaction (or savepoint) was opened on the connection.
void enter(const QSqlDatabase& db);
// The innermost Transaction ended: committed (its changes go to the one around
// it, or are announced when it was the outermost), or rolled back (they are
// dropped).
void leave(const QSqlDatabase& db, bool committed);

} // namespace data_changes
