#include "gui/ListRefresh.h"

#include "db/DataChanges.h"
#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "gui/WidgetFactory.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QEvent>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTimer>
#include <QWidget>

#include <algorithm>

ListRefresh* ListRefresh::of(QAbstractItemView* view, QueryListModel* model, const QSqlDatabase& db,
                             const QString& keyField)
{
    if (auto* existing = model->findChild<ListRefresh*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new ListRefresh(view, model, db, keyField);
}

ListRefresh::ListRefresh(QAbstractItemView* view, QueryListModel* model, const QSqlDatabase& db,
                         QString keyField)
    : QObject(model), m_view(view), m_model(model), m_keyField(std::move(keyField)), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &ListRefresh::refreshNow);
    connect(DataChanges::of(db), &DataChanges::changed, this, &ListRefresh::changed);
    // A list read again, for whatever reason, shows every write committed before.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_pending = false; });
    // Moving to another row ends the typed changes of the row left (stored or
    // discarded): a re-read that waited may follow.
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ListRefresh::schedule);
    m_view->installEventFilter(this);
}

void ListRefresh::changed(const ChangeSet& changes)
{
    if (!m_pending && m_model->query().isValid() && changes.touchesAny(m_model->query().tables()))
        m_pending = true;
    schedule();
}

void ListRefresh::schedule()
{
    if (m_pending && !m_timer->isActive())
        m_timer->start();
}

bool ListRefresh::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::Show)
        schedule();
    return QObject::eventFilter(watched, event);
}

bool ListRefresh::isHeld() const
{
    if (m_model->hasTypedValues())
        return true;
    // A cell editor open in the grid (its text not yet in the list).
    const QList<QWidget*> editors = m_view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (std::any_of(editors.cbegin(), editors.cend(), [](const QWidget* w) { return w->isVisible(); }))
        return true;
    return std::any_of(m_holds.cbegin(), m_holds.cend(), [](const std::function<bool()>& h) { return h(); });
}

void ListRefresh::refreshNow()
{
    // A hidden list waits to be shown; a held one for its typed changes to end.
    if (!m_pending || !m_view->isVisible() || isHeld())
        return;
    if (m_refresh)
        m_refresh();
    else
        readAgain();
    // A read that failed is not tried again until the next write.
    m_pending = false;
}

void ListRefresh::readAgain()
{
    const int row = widgets::currentRow(m_view);
    const QVariant key = m_keyField.isEmpty() || row < 0 ? QVariant() : m_model->value(row, m_keyField);
    try {
        int found = -1;
        {
            // On the same record nothing moved: the view's listeners hear nothing.
            const QSignalBlocker quiet(m_view->selectionModel());
            m_model->reload();
            if (key.isValid() && !key.isNull())
                found = m_model->findRow(m_keyField, key);
            if (found >= 0)
                widgets::selectRow(m_view, found);
        }
        if (found >= 0) {
            m_view->viewport()->update();
            return;
        }
        // The record is gone (or rows are kept by position): the row in its place
        // becomes current, as any move.
        widgets::selectRow(m_view, std::min(std::max(row, 0), m_model->rowCount() - 1));
    } catch (const DbError& e) {
        // Nobody asked for this read: the list stays as it was.
        qWarning() << "reading a list again:" << e.text();
    }
}
