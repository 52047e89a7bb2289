#include "db/DataChanges.h"

#include <QList>
#include <QMutex>

#include <algorithm>
#include <map>
#include <memory>

void ChangeSet::note(const QString& table, const QVariant& key)
{
    Table& t = m_tables[table.toLower()];
    if (!key.isValid() || key.isNull())
        t.unknownRows = true;
    else if (!t.keys.contains(key))
        t.keys << key;
}

void ChangeSet::merge(const ChangeSet& other)
{
    for (auto it = other.m_tables.cbegin(); it != other.m_tables.cend(); ++it) {
        Table& t = m_tables[it.key()];
        t.unknownRows = t.unknownRows || it->unknownRows;
        for (const QVariant& key : it->keys) {
            if (!t.keys.contains(key))
                t.keys << key;
        }
    }
}

QStringList ChangeSet::tables() const
{
    QStringList names = m_tables.keys();
    std::sort(names.begin(), names.end());
    return names;
}

bool ChangeSet::touches(const QString& table) const
{
    return m_tables.contains(table.toLower());
}

bool ChangeSet::touchesAny(const QStringList& tables) const
{
    return std::any_of(tables.cbegin(), tables.cend(), [this](const QString& t) { return touches(t); });
}

bool ChangeSet::touchesUnknownRows(const QString& table) const
{
    const auto it = m_tables.constFind(table.toLower());
    return it != m_tables.cend() && it->unknownRows;
}

QVariantList ChangeSet::keys(const QString& table) const
{
    return m_tables.value(table.toLower()).keys;
}

namespace {

// Per connection name: its announcer, and what each open Transaction collected
// (the outermost first). Connections may live in other threads.
struct Connection
{
    std::unique_ptr<DataChanges> announcer;
    QList<ChangeSet> open;
};

QMutex connectionsMutex;

std::map<QString, Connection>& connections()
{
    static std::map<QString, Connection> all;
    return all;
}

void announce(const QString& connectionName, const ChangeSet& changes)
{
    if (!changes.isEmpty())
        Q_EMIT DataChanges::of(connectionName)->changed(changes);
}

} // namespace

DataChanges* DataChanges::of(const QSqlDatabase& db)
{
    return of(db.connectionName());
}

DataChanges* DataChanges::of(const QString& connectionName)
{
    const QMutexLocker lock(&connectionsMutex);
    Connection& c = connections()[connectionName];
    if (!c.announcer)
        c.announcer.reset(new DataChanges);
    return c.announcer.get();
}

namespace data_changes {

void note(const QSqlDatabase& db, const QString& table, const QVariant& key)
{
    ChangeSet changes;
    changes.note(table, key);
    note(db, changes);
}

void note(const QSqlDatabase& db, const ChangeSet& changes)
{
    {
        const QMutexLocker lock(&connectionsMutex);
        Connection& c = connections()[db.connectionName()];
        if (!c.open.isEmpty()) {
            c.open.last().merge(changes);
            return;
        }
    }
    announce(db.connectionName(), changes);
}

void enter(const QSqlDatabase& db)
{
    const QMutexLocker lock(&connectionsMutex);
    connections()[db.connectionName()].open.append(ChangeSet());
}

void leave(const QSqlDatabase& db, bool committed)
{
    ChangeSet done;
    {
        const QMutexLocker lock(&connectionsMutex);
        Connection& c = connections()[db.connectionName()];
        if (c.open.isEmpty())
            return;
        done = c.open.takeLast();
        if (!committed)
            return;
        if (!c.open.isEmpty()) {
            c.open.last().merge(done);
            return;
        }
    }
    announce(db.connectionName(), done);
}

} // namespace data_changes
