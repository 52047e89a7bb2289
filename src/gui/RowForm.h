#pragma once

#include "core/Checked.h"
#include "core/ScreenContext.h"
#include "db/ListQuery.h"

#include <QModelIndex>
#include <QObject>
#include <QVariant>

#include <functional>

class QTableView;
class QueryListModel;

// A form bound to the current row of a list, as the office knows it from its
// forms: the editors (or the grid's own cells) show the row the list stands on;
// when the operator leaves a changed row, it is stored first, and a new row
// nobody typed into is dropped. When storing is refused, the list stays on the
// row so that the operator can put it right.
//
// A write elsewhere to a table the list reads has the list read again on the
// row it stands on, that row shown afresh, unless the row was changed: then the
// list waits until the row is stored or left (ListRefresh).
//
// The screen supplies what is particular to it through the hooks.
class RowForm : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        // What the list shows.
        std::function<ListQuery()> list;
        // Fills the editors from `row`: a stored row, the new row (defaults), or -1
        // (no row). Not needed when the grid's cells are the editors.
        std::function<void(int row)> show;
        // Whether the operator changed the row shown since it was shown.
        std::function<bool()> isModified;
        // Stores what was changed; false when refused (the operator was told why).
        // A new row with nothing worth keeping is not stored and counts as done.
        // May throw DbError, which the form shows.
        std::function<bool()> store;
    };

    // Leaving a changed row stores it, or (for plain boxes that Save alone
    // writes) shows the next row without storing.
    enum class OnLeave { Store, Discard };

    RowForm(const ScreenContext& context, QTableView* view, QueryListModel* model, QString keyField,
            Hooks hooks, OnLeave onLeave = OnLeave::Store);

    int currentRow() const;
    QVariant keyAt(int row) const;
    bool isNewRow(int row) const;

    // Reads the list again, stands on the row of `key` (the first row when it is not
    // listed) and shows it. False when the list could not be read.
    bool reload(const QVariant& key = {});
    // Stores the row shown when it was changed; false when refused.
    bool storeIfModified();
    // Stores the row shown (changed or not, as a Save button does) and shows the
    // list as stored, on that row; `storedKey` tells the key it was stored under.
    bool storeAndReload(const std::function<QVariant()>& storedKey);
    // Stores a changed row, then starts a new row at the end and shows it.
    bool addNewRow();
    // Deletes the current row after the operator confirmed `question` (caption
    // "提醒"; an empty question asks nothing): a new row is only dropped; a stored one goes through `remove`,
    // whose refusal is shown when the delete is refused. The list then stands on the row that took its place
    // (or the one before). A row another copy removed meanwhile is reported and the list read again.
    void removeCurrent(const QString& question, const std::function<Checked<>(const QVariant& key)>& remove);

private:
    void rowChanged(const QModelIndex& current, const QModelIndex& previous);
    void select(int row);
    bool guarded(const std::function<bool()>& action);

    ScreenContext m_context;
    QTableView* m_view;
    QueryListModel* m_model;
    QString m_keyField;
    Hooks m_hooks;
    OnLeave m_onLeave;
    bool m_quiet = false; // row changes the form makes itself
    int m_reads = 0;      // how often the list was read
};
