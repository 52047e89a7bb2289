#pragma once

#include "app/Screen.h"

class QTableView;
class QueryListModel;

// The rooms an owner occupies (owner_rooms), typed into the grid: room number and
// remark. A link is stored by Save, or when the operator moves to another row or
// another owner; a number that names no room is stored but reported.
class RoomLinksPage : public Screen
{
    Q_OBJECT
public:
    explicit RoomLinksPage(const ScreenContext& context, QWidget* parent = nullptr);

    // Stores what was typed for the owner shown, then shows this owner's links.
    void setOwner(qlonglong ownerId);
    // Stores the typed links of the owner shown.
    bool storeEdits();
    int rowCount() const;

Q_SIGNALS:
    void closeRequested();

private:
    void reload(qlonglong selectId);
    void addLink();
    void removeCurrent();

    QueryListModel* m_model;
    QTableView* m_grid;
    qlonglong m_ownerId = 0;
};
