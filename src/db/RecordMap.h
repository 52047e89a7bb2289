#pragma once

#include "core/Decimal2.h"
#include "db/Sql.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

// How a member of a record is written to its column and read back. Texts are read
// trimmed (fixed-width columns come back padded); an empty text is stored as null
// (sql::insert and sql::update); dates are "yyyy-MM-dd"; decimals are hundredths.
namespace record_value {

inline QVariant toDb(const QString& v)
{
    return v;
}
inline QVariant toDb(const QDate& v)
{
    return sql::dateValue(v);
}
inline QVariant toDb(const Decimal2& v)
{
    return v.toDb();
}
inline QVariant toDb(const std::optional<Decimal2>& v)
{
    return v ? v->toDb() : QVariant();
}
inline QVariant toDb(int v)
{
    return v;
}
inline QVariant toDb(const std::optional<int>& v)
{
    return v ? QVariant(*v) : QVariant();
}
inline QVariant toDb(qlonglong v)
{
    return v;
}

inline void fromDb(const QVariant& v, QString& out)
{
    out = v.toString().trimmed();
}
inline void fromDb(const QVariant& v, QDate& out)
{
    out = sql::toDate(v);
}
inline void fromDb(const QVariant& v, Decimal2& out)
{
    out = Decimal2::fromDb(v).value_or(Decimal2());
}
inline void fromDb(const QVariant& v, std::optional<Decimal2>& out)
{
    out = Decimal2::fromDb(v);
}
inline void fromDb(const QVariant& v, int& out)
{
    out = v.toInt();
}
inline void fromDb(const QVariant& v, std::optional<int>& out)
{
    out = v.isNull() ? std::nullopt : std::optional<int>(v.toInt());
}
inline void fromDb(const QVariant& v, qlonglong& out)
{
    out = v.toLongLong();
}

} // namespace record_value

// The one place where a table's columns are named for a store: which member of
// the record each column holds. Loading, inserting and updating read this map,
// so a column is named once, not in a select, an insert and an update apiece.
//
//     const RecordMap<Building> map = RecordMap<Building>(u"garden"_s, "garden_id", &Building::id)
//                                         .field("garden_name", &Building::name)
//                                         .field("build_area", &Building::buildArea);
//     std::optional<Building> b = map.load(db, 7);
//
// Every function throws DbError.
template <class Record> class RecordMap
{
public:
    enum class Key {
        AutoNumber, // numbered by the database; never written
        Typed,      // typed by the operator (a room number); written, and may change
    };
    enum class Write {
        Always,
        OnInsert, // the owner or kind a record was started under: an update keeps it
    };

    template <class K>
    RecordMap(QString table, const char* keyColumn, K Record::*key, Key kind = Key::AutoNumber)
        : m_table(std::move(table)), m_keyKind(kind)
    {
        m_key = makeField(keyColumn, key, Write::Always);
    }

    template <class V> RecordMap& field(const char* column, V Record::*member, Write write = Write::Always)
    {
        m_fields << makeField(column, member, write);
        return *this;
    }

    // A text kept exactly as typed (a multi-line remark), not trimmed when read.
    RecordMap& memo(const char* column, QString Record::*member)
    {
        Field f = makeField(column, member, Write::Always);
        f.read = [member](Record& r, const QVariant& v) { r.*member = v.toString(); };
        m_fields << f;
        return *this;
    }

    const QString& table() const { return m_table; }
    const QString& keyColumn() const { return m_key.column; }
    QVariant keyOf(const Record& record) const { return m_key.write(record); }

    // The key and every mapped column, quoted, for a select list.
    QStringList columns() const
    {
        QStringList names{quoted(m_key.column)};
        for (const Field& f : m_fields)
            names << quoted(f.column);
        return names;
    }

    // The record of the current row of a query that selected columns().
    Record read(const QSqlQuery& query) const
    {
        Record r{};
        m_key.read(r, query.value(0));
        for (int i = 0; i < m_fields.size(); ++i)
            m_fields[i].read(r, query.value(i + 1));
        return r;
    }

    std::optional<Record> load(const QSqlDatabase& db, const QVariant& key) const
    {
        QSqlQuery q = sql::exec(db,
                                u"select " + columns().join(u", ") + u" from " + quoted(m_table) +
                                    u" where " + quoted(m_key.column) + u" = ?",
                                {key});
        if (!q.next())
            return std::nullopt;
        return read(q);
    }

    // The records that meet `condition` ("owner_id = ?"), in the order given.
    QList<Record> loadWhere(const QSqlDatabase& db, const QString& condition, const QVariantList& values,
                            const QString& orderBy) const
    {
        QSqlQuery q = sql::exec(db,
                                u"select " + columns().join(u", ") + u" from " + quoted(m_table) +
                                    u" where " + condition + u" order by " + orderBy,
                                values);
        QList<Record> records;
        while (q.next())
            records << read(q);
        return records;
    }

    // Stores a new record; an auto-numbered key is set on it. Returns the key.
    QVariant insert(const QSqlDatabase& db, Record& record) const
    {
        sql::Fields values = fieldsOf(record, true);
        if (m_keyKind == Key::Typed)
            values.prepend({m_key.column, m_key.write(record)});
        const qlonglong id = sql::insert(db, m_table, values);
        if (m_keyKind == Key::AutoNumber)
            m_key.read(record, id);
        return keyOf(record);
    }

    // Stores a changed record over the one stored under `storedKey` (its own key
    // when not given; a typed key may have changed). A record another copy removed
    // is reported as gone.
    void update(const QSqlDatabase& db, const Record& record, const QVariant& storedKey = {}) const
    {
        sql::Fields values = fieldsOf(record, false);
        if (m_keyKind == Key::Typed)
            values.prepend({m_key.column, m_key.write(record)});
        sql::updateOne(db, m_table, values, m_key.column, storedKey.isValid() ? storedKey : keyOf(record));
    }

    // Deletes the record stored under `key`; a record already gone is reported.
    void remove(const QSqlDatabase& db, const QVariant& key) const
    {
        sql::removeOne(db, m_table, m_key.column, key);
    }

private:
    struct Field
    {
        QString column;
        Write when = Write::Always;
        std::function<QVariant(const Record&)> write;
        std::function<void(Record&, const QVariant&)> read;
    };

    template <class V> static Field makeField(const char* column, V Record::*member, Write when)
    {
        return {QString::fromLatin1(column), when,
                [member](const Record& r) { return record_value::toDb(r.*member); },
                [member](Record& r, const QVariant& v) { record_value::fromDb(v, r.*member); }};
    }

    static QString quoted(const QString& identifier) { return u'"' + identifier + u'"'; }

    sql::Fields fieldsOf(const Record& record, bool inserting) const
    {
        sql::Fields values;
        for (const Field& f : m_fields) {
            if (inserting || f.when == Write::Always)
                values.append({f.column, f.write(record)});
        }
        return values;
    }

    QString m_table;
    Key m_keyKind;
    Field m_key;
    QList<Field> m_fields;
};
