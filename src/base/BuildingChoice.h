#pragma once

#include "base/Room.h"

#include <QSqlDatabase>

#include <optional>

class QComboBox;

// The building combo boxes of the room screens: building names as choices, each
// carrying its building's number.
namespace building_choice {

void fill(QComboBox* combo, const QList<BuildingName>& buildings);

// The building the combo box names: the chosen entry's own building when its text
// is showing, else the first building of the typed name. Throws DbError.
std::optional<qlonglong> chosen(const QComboBox* combo, const QSqlDatabase& db);

} // namespace building_choice
