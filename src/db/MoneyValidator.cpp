#include "db/MoneyValidator.h"

#include "db/NumberInput.h"

#include <QRegularExpression>

MoneyValidator::MoneyValidator(const char* table, const char* column, QObject* parent)
    : QValidator(parent), m_table(table), m_column(column)
{
}

QValidator::State MoneyValidator::validate(QString& input, int& /*position*/) const
{
    using number_input::Result;
    const QString s = number_input::normalised(input);
    if (s.isEmpty())
        return Intermediate;
    if (number_input::decimal(s, m_table, m_column).result == Result::Number)
        return Acceptable;
    // An amount still being typed: a sign, a point, or both without digits yet.
    static const QRegularExpression begun(QStringLiteral("^[+-]?\\.?$"));
    if (begun.match(s).hasMatch())
        return Intermediate;
    return Invalid;
}
