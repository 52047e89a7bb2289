#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// The one description of every table and column of pelm.mdb. The database file
// is made from it (pelm --init-db, and every test database), and editors take
// their length limits from it.
namespace schema {

enum class ColumnType {
    AutoNumber,   // the table's key, numbered by the database
    Integer,      // 32-bit signed
    SmallInteger, // 16-bit signed
    Byte,         // 0 to 255
    Text,         // at most `size` characters
    Char,         // at most `size` characters; compared without trailing blanks
    Memo,         // text of any length
    Decimal,      // decimal(size,2), held as a whole number of hundredths (Decimal2)
    Float,        // double precision
    DateTime,     // "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"
};

struct Column
{
    const char* name;
    // What the screens call the column (UTF-8); messages about a refused value
    // name the column by it.
    const char* label;
    ColumnType type;
    int size = 0;                      // characters of Text/Char, digits of Decimal
    const char* defaultText = nullptr; // default value of a text column
    bool key = false;                  // typed key (Text/Char); AutoNumber is always the key
};

struct Table
{
    const char* name;
    std::span<const Column> columns;
};

struct Index
{
    const char* table;
    const char* columns; // "a" or "a,b,c", in the index's order
    bool unique = false; // no two rows share the values (nulls apart)
};

// PRAGMA user_version of a file made by this release, and the PRAGMA
// application_id that marks a file as ours. Version 2 checks dates as calendar
// dates and refuses NUL characters in texts (version 1 took any date of the
// right pattern, and a NUL hid the rest of a text from its length check).
// Version 3 adds the indexes that the monthly run's guard and the income of a
// period read from. Version 4 widens the charge type of fee records. Version 5
// names every column in lower case, as a server folds names it is not told
// otherwise. Version 6 adds receipts, their lines and the cashiers' closed days;
// every payment made before is kept on a historical receipt per owner.
inline constexpr int kVersion = 6;
inline constexpr int kApplicationId = 0x70656c6d; // "pelm"

std::span<const Table> tables();
std::span<const Index> indexes();

// The column of a table, looked up without regard to case; null when unknown.
const Column* findColumn(const QString& table, const QString& column);

// How many characters a text column holds; 0 for columns without a limit.
int maxLength(const QString& table, const QString& column);

// The column's label; the column's own name when it is unknown.
QString label(const QString& table, const QString& column);

// The rules that a column's CHECK constraints hold. Every constraint is named
// "<table>.<column>.<rule>", so that the engine's refusal tells which column and
// which rule refused a value.
enum class Rule {
    Length,     // a text of at most `size` characters
    NotBlank,   // a typed key is not blank
    Number,     // a number of the column's kind (a whole number for integers)
    Range,      // within the column's range
    Date,       // a real date "yyyy-MM-dd" or date and time "yyyy-MM-dd HH:mm:ss"
    Characters, // a text without NUL characters
};

QString checkName(const QString& table, const QString& column, Rule rule);

struct CheckTarget
{
    QString table;
    QString column;
    Rule rule;
};

// The parts of a name made by checkName(); nothing for any other name.
std::optional<CheckTarget> parseCheckName(const QString& name);

// Makes every table and index in one transaction on an empty database, rendered
// for its engine (SqlDialect::createStatements). Throws DbError.
void create(const QSqlDatabase& db);

} // namespace schema
