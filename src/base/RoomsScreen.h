#pragma once

#include "app/Screen.h"

#include <optional>

class QComboBox;
class QLineEdit;
class QTableView;
class QueryListModel;

// The rooms of the buildings: a list filtered by building, a search by room
// number, the room editor, a delete refused while an owner holds the room, and
// the export of the list.
class RoomsScreen : public Screen
{
    Q_OBJECT
public:
    explicit RoomsScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    // Which rooms the list shows.
    enum class Filter { All, Building, NoBuilding };

    void reload(const QString& selectRoom = {});
    void filterByBuilding();
    void search();
    void openEditor(bool add);
    void removeCurrent();
    void exportRooms();
    QString currentRoom() const;
    // " where ..." of the list and its values.
    QString whereClause(QVariantList* values) const;

    QueryListModel* m_model;
    QTableView* m_grid;
    QComboBox* m_building;
    QLineEdit* m_search;
    Filter m_filter = Filter::All;
    qlonglong m_buildingId = 0;
};
