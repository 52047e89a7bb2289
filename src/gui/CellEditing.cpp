#include "gui/CellEditing.h"

#include "db/QueryListModel.h"
#include "db/Schema.h"

#include <QLineEdit>
#include <QTableView>

CellEditing::CellEditing(QTableView* grid, QString table)
    : QStyledItemDelegate(grid), m_grid(grid), m_table(std::move(table))
{
}

CellEditing* CellEditing::install(QTableView* grid, const QString& table)
{
    auto* editing = new CellEditing(grid, table);
    grid->setItemDelegate(editing);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    return editing;
}

QWidget* CellEditing::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    const auto* model = qobject_cast<const QueryListModel*>(index.model());
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (model && line) {
        if (const int limit = schema::maxLength(m_table, model->columns().value(index.column()).field))
            line->setMaxLength(limit);
    }
    m_open = editor;
    return editor;
}

void CellEditing::commitOpenEditor()
{
    // An editor closed with Esc is hidden until it goes: only a shown one counts.
    if (m_open && m_open->isVisible())
        QMetaObject::invokeMethod(m_grid, "commitData", Q_ARG(QWidget*, m_open.data()));
}
