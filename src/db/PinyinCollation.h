#pragma once

#include <QSqlDatabase>
#include <QString>

#include <string_view>

// Names in the order a Chinese office reads them: Chinese characters by their
// pinyin (阿, 保, 华, 万, 中), digits before them and Latin letters after them
// ("100%", 阿里, 中信, "O'Brien"), as ICU's collator for Chinese orders them. Two texts compare equal only
// when they are the same text, so that a list read in pages continues after its last row.
//
// The order is a collation named PINYIN that lives on a connection, never in
// the file: a table or index that named it could not even be written by any
// other program (the sqlite3 shell, a backup or import script), which would
// fail with "no such collation sequence". Lists ask for it in their order by
// clause only:
//
//     q.orderBy << pinyin::byName(QStringLiteral("owner_name")) << QStringLiteral("owner_id");
//
// A connection that is closed and opened again needs it registered again.

// Registers PINYIN on the open SQLite connection `db`. Throws DbError when the
// connection is not open, is not SQLite's, or refuses.
void registerPinyinCollation(const QSqlDatabase& db);

namespace pinyin {

// The name the collation is registered under.
inline constexpr char kCollationName[] = "PINYIN";

// The order by term for a text column: "owner_name COLLATE PINYIN".
QString byName(const QString& column);

// Compares two UTF-8 texts as PINYIN does: negative, zero or positive. Zero only
// for the same bytes.
int compare(std::string_view a, std::string_view b);

} // namespace pinyin
