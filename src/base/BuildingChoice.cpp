#include "base/BuildingChoice.h"

#include <QComboBox>

namespace building_choice {

void fill(QComboBox* combo, const QList<BuildingName>& buildings)
{
    const QString text = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const BuildingName& b : buildings)
        combo->addItem(b.name, b.id);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

std::optional<qlonglong> chosen(const QComboBox* combo, const QSqlDatabase& db)
{
    const QString name = combo->currentText().trimmed();
    const int index = combo->currentIndex();
    if (index >= 0 && combo->itemText(index) == name)
        return combo->itemData(index).toLongLong();
    return room_store::buildingIdByName(db, name);
}

} // namespace building_choice
