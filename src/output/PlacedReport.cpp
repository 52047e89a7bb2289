#include "output/PlacedReport.h"

#include <algorithm>

namespace {

// Texts whose tops lie this close read as one line.
constexpr double kLineToleranceMm = 1.0;

} // namespace

QStringList PlacedPage::textsInReadingOrder() const
{
    QList<const PlacedText*> order;
    for (const PlacedText& t : texts)
        order << &t;
    std::stable_sort(order.begin(), order.end(),
                     [](const PlacedText* a, const PlacedText* b) { return a->rect.top() < b->rect.top(); });
    QStringList result;
    for (qsizetype start = 0; start < order.size();) {
        qsizetype end = start + 1;
        while (end < order.size() && order[end]->rect.top() - order[start]->rect.top() < kLineToleranceMm)
            ++end;
        std::stable_sort(
            order.begin() + start, order.begin() + end,
            [](const PlacedText* a, const PlacedText* b) { return a->rect.left() < b->rect.left(); });
        for (qsizetype i = start; i < end; ++i)
            result << order[i]->text;
        start = end;
    }
    return result;
}

bool PlacedPage::contains(const QString& text) const
{
    return std::any_of(texts.begin(), texts.end(), [&](const PlacedText& t) { return t.text == text; });
}
