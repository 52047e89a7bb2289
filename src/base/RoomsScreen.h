#pragma once

#include "base/Room.h"
#include "gui/ListScreen.h"

class QComboBox;
class QLineEdit;

// The rooms of the buildings: a list filtered by building, a search by room
// number, the room editor, a delete refused while an owner holds the room, and
// the export of the list.
class RoomsScreen : public ListScreen
{
    Q_OBJECT
public:
    explicit RoomsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    RecordEditor* makeEditor(RecordEditor::Mode mode, const QVariant& key) override;
    Checked<> removeRecord(const QVariant& key) override;

private:
    void filterByBuilding();
    void search();
    void exportRooms();

    QComboBox* m_building;
    QLineEdit* m_search;
    RoomScope m_scope; // the building filter, once set, stays until the screen closes
};
