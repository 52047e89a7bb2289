#include "gui/RowForm.h"

#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "gui/ListRefresh.h"
#include "gui/WidgetFactory.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>

RowForm::RowForm(const ScreenContext& context, QTableView* view, QueryListModel* model, QString keyField,
                 Hooks hooks, OnLeave onLeave)
    : QObject(view), m_context(context), m_view(view), m_model(model), m_keyField(std::move(keyField)),
      m_hooks(std::move(hooks)), m_onLeave(onLeave)
{
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RowForm::rowChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { ++m_reads; });
    // A write elsewhere shows as the form's own reload does: on the row it stood
    // on, shown afresh; never over a changed row, which waits to be stored.
    ListRefresh* refresh = ListRefresh::of(m_view, m_model, m_context.db, m_keyField);
    refresh->setRefresh([this] { reload(keyAt(currentRow())); });
    refresh->addHold([this] { return m_hooks.isModified(); });
}

int RowForm::currentRow() const
{
    return widgets::currentRow(m_view);
}

QVariant RowForm::keyAt(int row) const
{
    return row < 0 || m_model->isNewRow(row) ? QVariant() : m_model->value(row, m_keyField);
}

bool RowForm::isNewRow(int row) const
{
    return row >= 0 && m_model->isNewRow(row);
}

bool RowForm::guarded(const std::function<bool()>& action)
{
    bool result = false;
    runAction(*m_context.messages, [&] { result = action(); });
    return result;
}

void RowForm::select(int row)
{
    const QScopedValueRollback quiet(m_quiet, true);
    widgets::selectRow(m_view, row);
}

bool RowForm::reload(const QVariant& key)
{
    const bool read = guarded([&] {
        const QScopedValueRollback quiet(m_quiet, true);
        m_model->load(m_context.db, m_hooks.list());
        const int row = key.isValid() ? m_model->findRow(m_keyField, key) : 0;
        widgets::selectRow(m_view, row < 0 ? 0 : row);
        return true;
    });
    if (m_hooks.show)
        m_hooks.show(currentRow());
    return read;
}

bool RowForm::storeIfModified()
{
    if (!m_hooks.isModified())
        return true;
    return guarded(m_hooks.store);
}

bool RowForm::storeAndReload(const std::function<QVariant()>& storedKey)
{
    if (!guarded(m_hooks.store))
        return false;
    return reload(storedKey());
}

bool RowForm::addNewRow()
{
    const QVariant key = keyAt(currentRow());
    if (!storeIfModified())
        return false;
    if (!reload(key))
        return false;
    const int row = m_model->appendNewRow();
    select(row);
    if (m_hooks.show)
        m_hooks.show(row);
    return true;
}

void RowForm::removeCurrent(const QString& question,
                            const std::function<Checked<>(const QVariant& key)>& remove)
{
    const int row = currentRow();
    if (row < 0 || (!question.isEmpty() && !m_context.messages->confirm(question, QStringLiteral("提醒"))))
        return;
    if (isNewRow(row)) {
        reload();
        return;
    }
    const QVariant next = keyAt(row + 1 < m_model->storedRowCount() ? row + 1 : row - 1);
    bool deleted = false;
    bool gone = false;
    runAction(*m_context.messages, [&] {
        try {
            if (const Checked<> removed = remove(keyAt(row)); !removed.ok()) {
                m_context.messages->information(removed.refusal().text);
                return;
            }
            deleted = true;
        } catch (const DbError& e) {
            gone = e.kind() == DbError::Kind::RecordGone;
            throw;
        }
    });
    if (deleted || gone)
        reload(next);
}

void RowForm::rowChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (m_quiet)
        return;
    const bool leavingNewRow = previous.isValid() && m_model->isNewRow(previous.row());
    const bool modified = m_onLeave == OnLeave::Store && m_hooks.isModified();
    if (!modified && !leavingNewRow) {
        if (m_hooks.show)
            m_hooks.show(current.row());
        return;
    }
    // Leaving a changed row: store it first, then show the row chosen as the list
    // now stands. The list is read again once the view has finished the click or
    // key that moved it, so that the click does not land on a row of the new list.
    const QVariant target = keyAt(current.row());
    if (modified && !guarded(m_hooks.store)) {
        QTimer::singleShot(0, this, [this, row = previous.row()] {
            select(row);
            m_view->viewport()->update();
        });
        return;
    }
    if (m_hooks.show)
        m_hooks.show(current.row());
    // The store's own announcement may have the list read again first, on the
    // same row: then it is not read twice.
    QTimer::singleShot(0, this, [this, target, reads = m_reads] {
        if (m_reads != reads && keyAt(currentRow()) == target)
            return;
        reload(target);
    });
}
