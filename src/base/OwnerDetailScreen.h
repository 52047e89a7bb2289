#pragma once

#include "app/Screen.h"

class MembersPage;
class QTableView;
class QTabWidget;
class QueryListModel;
class RecordEditorPage;
class RoomLinksPage;

// What hangs off each current occupant: rooms, members, cars and parking places,
// one page each, always for the owner chosen on the left.
class OwnerDetailScreen : public Screen
{
    Q_OBJECT
public:
    explicit OwnerDetailScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void reload();
    void showOwner(int row);
    void search();
    void exportLinks();
    qlonglong ownerIdAt(int row) const;

    QueryListModel* m_owners;
    QTableView* m_grid;
    QTabWidget* m_pages;
    RoomLinksPage* m_rooms;
    MembersPage* m_members;
    RecordEditorPage* m_cars;
    RecordEditorPage* m_parks;
    qlonglong m_ownerId = 0;
};
