#pragma once

#include "gui/Screen.h"

class CellEditing;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// The rooms an owner occupies (owner_rooms), typed into the grid: room number
// (the rooms' numbers offered as it is typed) and remark. A link is stored by Save, or when the operator
// moves to another row or another owner; a number that names no room is stored but reported.
class RoomLinksPage : public Screen
{
    Q_OBJECT
public:
    explicit RoomLinksPage(const ScreenContext& context, QWidget* parent = nullptr);

    // Stores what was typed for the owner shown, then shows this owner's links.
    // False, with the owner and the typed rows kept, when storing failed.
    bool setOwner(qlonglong ownerId);
    // Stores what was typed and shows the links as stored; false when refused.
    bool store();
    // The owner's stored links (a new row not stored yet does not count).
    int storedCount() const;

private:
    bool isModified() const;
    bool storeEdits();
    void commitOpenEditor();
    // Offers the room numbers while a room number is typed.
    void offerRooms();
    void addLink();
    void removeCurrent();

    QueryListModel* m_model;
    QTableView* m_grid;
    RowForm* m_form;
    CellEditing* m_cells = nullptr; // none for an operator who may only browse
    QList<QPushButton*> m_writeButtons;
    qlonglong m_ownerId = 0;
};
