#pragma once

#include "db/NamedKey.h"

#include <QList>

#include <functional>
#include <optional>

class QComboBox;

// An editable combo box of named records (buildings, charge types, departments):
// each entry carries its record's key, so that choosing an entry chooses that
// record even when another has the same name; a name typed by hand is resolved
// by name.
namespace name_choice {

// Puts the records in as choices, keeping the text shown.
void fill(QComboBox* combo, const QList<NamedKey>& records);

// The record the combo box names: the chosen entry's own record when its text is
// showing, else what `byName` finds for the typed text (trimmed). May throw
// DbError from `byName`.
std::optional<qlonglong> chosen(const QComboBox* combo,
                                const std::function<std::optional<qlonglong>(const QString&)>& byName);

} // namespace name_choice
