#include "output/ExportedCell.h"

#include <QRegularExpression>

namespace {

// A spreadsheet's general number format shows at most this many characters of a
// number before it rounds or turns to an exponent.
constexpr qsizetype kGeneralNumberWidth = 11;

// Whether a number cell would show exactly this text, so that writing the text
// as a number loses nothing: a spreadsheet shows a number in its general format
// without a plus sign, leading zeros or decimal zeros at the end, and in at most
// 11 characters. "12", "-3.5" and "0.25" become numbers; "0101" (a room), "12.50",
// "+7", "1e5" and "13900001111222" (it would show as 1.39E+13) stay text.
bool readsBackAsNumber(const QString& text)
{
    static const QRegularExpression canonical(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    return text.size() <= kGeneralNumberWidth && text != u"-0" && canonical.match(text).hasMatch();
}

ExportedCell textCell(QString shown)
{
    if (shown.isEmpty())
        return {};
    return {ExportedCell::Kind::Text, std::move(shown), 0, {}};
}

} // namespace

ExportedCell ExportedCell::of(const ExportColumn& column, int field, const RecordSource& rows)
{
    using Source = ExportColumn::Source;
    if (column.source == Source::ScreenValue)
        return textCell(column.value);

    const QVariant value = rows.value(field);
    switch (column.source) {
    case Source::DateField:
        if (const std::optional<QDate> date = fieldDate(value); date && date->year() >= 1900)
            return {Kind::Date, date->toString(Qt::ISODate), 0, *date};
        // A missing date is an empty cell; a text that is no date stays as it is.
        return textCell(fieldText(value, FieldFormat::Plain));
    case Source::PlainField: {
        // An amount is a number shown with its two decimals: "12.50" reads back.
        if (column.format == FieldFormat::Decimal) {
            if (const std::optional<Decimal2> amount = fieldHundredths(value))
                return {Kind::Amount, amount->toString(), double(amount->hundredths()) / 100, {}};
        }
        // Anything else is a number only where the number reads back as the text.
        QString shown = fieldText(value, column.format);
        if (readsBackAsNumber(shown)) {
            const double number = shown.toDouble();
            return {Kind::Number, std::move(shown), number, {}};
        }
        return textCell(std::move(shown));
    }
    case Source::TextField:
    case Source::ScreenValue:
        break;
    }
    return textCell(fieldText(value, column.format));
}
