#include "gui/NameChoice.h"

#include <QComboBox>

namespace name_choice {

void fill(QComboBox* combo, const QList<NamedKey>& records)
{
    const QString text = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const NamedKey& r : records)
        combo->addItem(r.name, r.id);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

std::optional<qlonglong> chosen(const QComboBox* combo,
                                const std::function<std::optional<qlonglong>(const QString&)>& byName)
{
    const QString name = combo->currentText().trimmed();
    const int index = combo->currentIndex();
    if (index >= 0 && combo->itemText(index) == name)
        return combo->itemData(index).toLongLong();
    return byName(name);
}

} // namespace name_choice
