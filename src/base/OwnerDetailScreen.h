#pragma once

#include "gui/Screen.h"

class MembersPage;
class OwnerPicker;
class QTabWidget;
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
    void showOwner(qlonglong ownerId);
    void exportLinks();

    OwnerPicker* m_owners;
    QTabWidget* m_pages;
    RoomLinksPage* m_rooms;
    MembersPage* m_members;
    RecordEditorPage* m_cars;
    RecordEditorPage* m_parks;
    qlonglong m_ownerId = 0;
};
