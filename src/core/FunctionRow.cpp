#include "core/FunctionRow.h"

#include <QSet>

#include <algorithm>

namespace function_rows {

QStringList problems(std::span<const FunctionRow> rows)
{
    QStringList result;
    QSet<QString> names;
    QSet<QString> boxes;
    QSet<int> taken;
    const auto unique = [&result](QSet<QString>& seen, const char* name, const QString& row) {
        if (!name)
            return;
        const QString n = QString::fromLatin1(name);
        if (seen.contains(n))
            result << row + QStringLiteral(": ") + n + QStringLiteral(" is named twice");
        seen.insert(n);
    };
    for (const FunctionRow& f : rows) {
        const QString row = f.objectName ? QString::fromLatin1(f.objectName) : QStringLiteral("a row");
        if (!f.objectName || !*f.objectName)
            result << row + QStringLiteral(": no object name");
        if (!f.caption || !*f.caption)
            result << row + QStringLiteral(": no caption");
        if (!f.browseBox && !f.editBox)
            result << row + QStringLiteral(": no tick box in the rights editor");
        if (f.position < 1)
            result << row + QStringLiteral(": position below 1");
        const int slot = static_cast<int>(f.group) * 1000 + f.position;
        if (taken.contains(slot))
            result << row + QStringLiteral(": its group already has position ") + QString::number(f.position);
        taken.insert(slot);
        unique(names, f.objectName, row);
        unique(boxes, f.browseBox, row);
        unique(boxes, f.editBox, row);
    }
    for (int g = 0; g < kRightsGroupCount; ++g) {
        int count = 0;
        int highest = 0;
        for (const FunctionRow& f : rows) {
            if (static_cast<int>(f.group) == g) {
                ++count;
                highest = std::max(highest, f.position);
            }
        }
        if (highest != count)
            result << QStringLiteral("group %1: positions leave a gap").arg(g);
    }
    return result;
}

} // namespace function_rows
