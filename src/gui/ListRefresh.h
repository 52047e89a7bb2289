#pragma once

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class ChangeSet;
class QAbstractItemView;
class QTimer;
class QueryListModel;

// Keeps an open list in step with what is written elsewhere: another window of
// this copy, or anything else writing through this connection. When the
// connection announces a committed write (DataChanges) to a table the list reads
// (ListQuery::tables), the list is read again and stands on the record it stood
// on (by its key; on the same position when that record is gone).
//
// - Cheap: announcements are only noted; one re-read follows from a zero-timer,
//   however many came. A list read again meanwhile for any reason (the window's
//   own reload after its own save) is up to date and is not read again.
// - Never under typed changes: while the operator has typed something not yet
//   stored (a cell typed into, a new row, a changed form: the holds), the re-read
//   waits. It follows once the list is read again after the store or discard,
//   or when the operator moves to another row with nothing typed left.
// - A hidden list (a closed window, a page behind another) is read again when it
//   is shown.
//
// One per list model, made by the screen bases (ListScreen, RowForm and the
// screens built on it, OwnerPicker, the period queries).
class ListRefresh : public QObject
{
    Q_OBJECT
public:
    // The refresh of `model`, shown in `view`, made on first use; `keyField`
    // identifies a row (empty: rows are kept by position).
    static ListRefresh* of(QAbstractItemView* view, QueryListModel* model, const QSqlDatabase& db,
                           const QString& keyField = {});

    // How the list is read again. By default the model reads its last query
    // again and the view goes back to the record it stood on without telling its
    // listeners of a move (the current record did not change); when that record
    // is gone the move to its neighbour is told as any other.
    void setRefresh(std::function<void()> refresh) { m_refresh = std::move(refresh); }
    // Adds a hold: while it answers true, the list is not read again.
    void addHold(std::function<bool()> hold) { m_holds << std::move(hold); }

    // Whether a write concerning the list is not yet shown.
    bool isPending() const { return m_pending; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListRefresh(QAbstractItemView* view, QueryListModel* model, const QSqlDatabase& db, QString keyField);
    void changed(const ChangeSet& changes);
    void schedule();
    void refreshNow();
    bool isHeld() const;
    void readAgain();

    QAbstractItemView* m_view;
    QueryListModel* m_model;
    QString m_keyField;
    QTimer* m_timer;
    std::function<void()> m_refresh;
    QList<std::function<bool()>> m_holds;
    bool m_pending = false;
};
