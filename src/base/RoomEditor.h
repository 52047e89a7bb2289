#pragma once

#include "db/NamedKey.h"
#include "gui/RecordEditor.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The room editor: adds rooms of one building one after another, or changes a
// room, its number included.
class RoomEditor : public RecordEditor
{
    Q_OBJECT
public:
    // Modify mode shows and changes `roomId`; add mode starts with the building
    // `building` (its number and name), when one is given.
    RoomEditor(const ScreenContext& context, Mode mode, const QString& roomId, const NamedKey& building,
               QWidget* parent);

protected:
    void load() override;
    std::optional<QVariant> store() override;
    void clearForNext() override;

private:
    QLineEdit* m_id;
    QComboBox* m_building;
    QComboBox* m_useState;
    QLineEdit* m_buildArea;
    QLineEdit* m_useArea;
    QLineEdit* m_roomType;
    QLineEdit* m_direct;
    QLineEdit* m_floor;
    QLineEdit* m_fitment;
    QLineEdit* m_match;
    QPlainTextEdit* m_remarks;
    bool m_hasBuildings = false;
};
