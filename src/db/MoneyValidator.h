#pragma once

#include <QValidator>

// Keeps a box's text an amount of money for a decimal(p,2) column while it is
// typed: a keystroke that could not lead to an amount (a letter, a third
// decimal, a digit beyond the column's size) is refused, so a typo never wipes
// what was typed. A sign or a point on its way to an amount is accepted as
// unfinished; the box's text is read with number_input as any number box is.
class MoneyValidator : public QValidator
{
    Q_OBJECT
public:
    MoneyValidator(const char* table, const char* column, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    const char* m_table;
    const char* m_column;
};
