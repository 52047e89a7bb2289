#include "core/CapitalAmount.h"

#include <array>

namespace {

constexpr std::array<char16_t, 10> kDigits = {u'零', u'壹', u'贰', u'叁', u'肆',
                                              u'伍', u'陆', u'柒', u'捌', u'玖'};
constexpr std::array<const char16_t*, 4> kPlaces = {u"", u"拾", u"佰", u"仟"};
constexpr std::array<const char16_t*, 5> kGroups = {u"", u"万", u"亿", u"万亿", u"亿亿"};

// One group of four digits (1 to 9999), a zero inside it written once and
// none at its end.
QString group(int value)
{
    QString text;
    bool zero = false;
    for (int place = 3; place >= 0; --place) {
        int divisor = 1;
        for (int i = 0; i < place; ++i)
            divisor *= 10;
        const int digit = value / divisor % 10;
        if (digit == 0) {
            zero = !text.isEmpty();
            continue;
        }
        if (zero)
            text += kDigits[0];
        zero = false;
        text += kDigits[std::size_t(digit)];
        text += QString::fromUtf16(kPlaces[std::size_t(place)]);
    }
    return text;
}

// The whole yuan, 1 and more: groups of four digits from the highest, a zero
// written where a group is zero or begins with zeros after a higher group.
QString wholeYuan(std::uint64_t yuan)
{
    std::array<int, kGroups.size()> groups{};
    for (int& g : groups) {
        g = int(yuan % 10000);
        yuan /= 10000;
    }
    QString text;
    bool zero = false;
    for (int i = int(groups.size()) - 1; i >= 0; --i) {
        const int g = groups[std::size_t(i)];
        if (g == 0) {
            zero = !text.isEmpty();
            continue;
        }
        if (!text.isEmpty() && (zero || g < 1000))
            text += kDigits[0];
        zero = false;
        text += group(g) + QString::fromUtf16(kGroups[std::size_t(i)]);
    }
    return text;
}

} // namespace

QString capitalAmount(Money amount)
{
    const std::int64_t hundredths = amount.hundredths();
    const std::uint64_t magnitude =
        hundredths < 0 ? std::uint64_t(0) - std::uint64_t(hundredths) : std::uint64_t(hundredths);
    const std::uint64_t yuan = magnitude / 100;
    const int jiao = int(magnitude / 10 % 10);
    const int fen = int(magnitude % 10);

    QString text = hundredths < 0 ? QStringLiteral("负") : QString();
    if (yuan > 0)
        text += wholeYuan(yuan) + u'元';
    if (jiao == 0 && fen == 0)
        return text + (yuan > 0 ? QStringLiteral("整") : QStringLiteral("零元整"));
    if (jiao > 0)
        text += QString(kDigits[std::size_t(jiao)]) + u'角';
    else if (yuan > 0)
        text += kDigits[0]; // 壹佰万元零壹分
    if (fen > 0)
        text += QString(kDigits[std::size_t(fen)]) + u'分';
    return text;
}
