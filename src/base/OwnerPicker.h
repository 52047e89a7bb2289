#pragma once

#include "base/Owner.h"
#include "core/ScreenContext.h"

#include <QObject>

class QAbstractItemView;
class QTableView;
class QWidget;
class QueryListModel;

// The list of owners that many screens choose an owner from: a grid of names
// (titled "单位名称") or a plain list box of names, that keeps each owner's
// number, so that two owners of one name stay two owners and choosing one
// chooses that owner. It lists the current occupants or every owner, and finds
// an owner by a fragment of the name. Owners written elsewhere show at once
// (ListRefresh); a screen that edits the owner chosen in a RowForm over this list
// has the form's refresh instead.
class OwnerPicker : public QObject
{
    Q_OBJECT
public:
    enum class Shape { Grid, ListBox };

    OwnerPicker(const ScreenContext& context, QWidget* parent, const char* viewName = "dbgOwner",
                Shape shape = Shape::Grid, const QString& title = QStringLiteral("单位名称"));

    QAbstractItemView* view() const { return m_view; }
    // The grid of the Grid shape.
    QTableView* grid() const;
    QueryListModel* model() const { return m_model; }

    void setScope(owner_store::Occupants occupants, owner_store::OwnerOrder order);
    owner_store::Occupants occupants() const { return m_occupants; }
    ListQuery query() const;

    // Reads the list again and stands on the owner `id` (the first owner when it is
    // not listed). Throws DbError.
    void reload(qlonglong id = 0);
    qlonglong ownerIdAt(int row) const;
    qlonglong currentOwnerId() const;
    // Moves to the owner `id`; false when the list does not show it.
    bool select(qlonglong id);

    // Asks for a name with `prompt` ("请输入住户名称:") and moves to the first
    // listed owner, in the order of their numbers, whose name contains it; stays
    // where it is when none does. An empty answer is refused with a message.
    void search(const QString& prompt);

private:
    ScreenContext m_context;
    QueryListModel* m_model;
    QAbstractItemView* m_view;
    owner_store::Occupants m_occupants = owner_store::Occupants::Current;
    owner_store::OwnerOrder m_order = owner_store::OwnerOrder::ByName;
};
