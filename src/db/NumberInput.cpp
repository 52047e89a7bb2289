#include "db/NumberInput.h"

#include "db/DbError.h"
#include "db/Schema.h"

#include <QRegularExpression>

#include <limits>

namespace number_input {
namespace {

const schema::Column& columnOf(const char* table, const char* column)
{
    const schema::Column* c = schema::findColumn(QString::fromLatin1(table), QString::fromLatin1(column));
    Q_ASSERT_X(c, "number_input", column);
    return *c;
}

// The range of whole numbers a column holds.
std::pair<qlonglong, qlonglong> rangeOf(const schema::Column& c)
{
    switch (c.type) {
    case schema::ColumnType::SmallInteger:
        return {-32768, 32767};
    case schema::ColumnType::Byte:
        return {0, 255};
    case schema::ColumnType::Integer:
        return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    default:
        return {std::numeric_limits<qlonglong>::min(), std::numeric_limits<qlonglong>::max()};
    }
}

DbError notANumber(const QString& text)
{
    return DbError(QStringLiteral("“%1”不是有效的数值。").arg(text.trimmed()));
}

} // namespace

QString normalised(const QString& text)
{
    QString s = text.trimmed();
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            c = QChar(char16_t(u'0' + (u - u'０')));
        else if (u == u'．')
            c = u'.';
        else if (u == u'－')
            c = u'-';
        else if (u == u'＋')
            c = u'+';
    }
    return s;
}

Decimal decimal(const QString& text, const char* table, const char* column)
{
    const QString s = normalised(text);
    if (s.isEmpty())
        return {};
    static const QRegularExpression shape(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]{0,2}|\\.[0-9]{1,2})$"));
    if (s.size() > kMaxLength || !shape.match(s).hasMatch())
        return {Result::NotANumber, {}};
    const std::optional<Decimal2> value = Decimal2::parse(s);
    const schema::Column& c = columnOf(table, column);
    // decimal(p,2) holds fewer than p digits in hundredths.
    std::int64_t limit = 1;
    for (int i = 0; i < c.size && i < 18; ++i)
        limit *= 10;
    if (!value || value->hundredths() >= limit || value->hundredths() <= -limit)
        return {Result::NotANumber, {}};
    return {Result::Number, *value};
}

Whole whole(const QString& text, const char* table, const char* column)
{
    const QString s = normalised(text);
    if (s.isEmpty())
        return {};
    static const QRegularExpression shape(QStringLiteral("^[+-]?[0-9]+$"));
    if (s.size() > kMaxLength || !shape.match(s).hasMatch())
        return {Result::NotANumber, 0};
    bool ok = false;
    const qlonglong value = s.toLongLong(&ok);
    const auto [low, high] = rangeOf(columnOf(table, column));
    if (!ok || value < low || value > high)
        return {Result::NotANumber, 0};
    return {Result::Number, value};
}

std::optional<Decimal2> optionalDecimal(const QString& text, const char* table, const char* column)
{
    const Decimal d = decimal(text, table, column);
    if (d.result == Result::NotANumber)
        throw notANumber(text);
    return d.result == Result::Number ? std::optional<Decimal2>(d.value) : std::nullopt;
}

std::optional<int> optionalWhole(const QString& text, const char* table, const char* column)
{
    const Whole w = whole(text, table, column);
    if (w.result == Result::NotANumber)
        throw notANumber(text);
    return w.result == Result::Number ? std::optional<int>(static_cast<int>(w.value)) : std::nullopt;
}

} // namespace number_input
