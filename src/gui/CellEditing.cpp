#include "gui/CellEditing.h"

#include "db/QueryListModel.h"
#include "db/Schema.h"
#include "gui/ColumnFit.h"

#include <QCompleter>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>

namespace {

// What a cell's line editor takes beside its text (its margins and cursor).
constexpr int kEditorFrame = 8;

} // namespace

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
        if (const auto offered = m_completions.constFind(index.column()); offered != m_completions.cend()) {
            auto* completer = new QCompleter(*offered, line);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            line->setCompleter(completer);
        }
    }
    m_open = editor;
    return editor;
}

void CellEditing::setCompletions(const QString& field, const QStringList& values)
{
    const auto* model = qobject_cast<const QueryListModel*>(m_grid->model());
    const int column = model ? model->columnOf(field) : -1;
    if (column < 0)
        return;
    m_completions.insert(column, values);
    // As wide as the longest value: the column's size in digits, or a value offered.
    const QFontMetrics metrics = m_grid->fontMetrics();
    int widest = metrics.horizontalAdvance(QString(schema::maxLength(m_table, field), u'0'));
    for (const QString& value : values)
        widest = std::max(widest, metrics.horizontalAdvance(value));
    const int margins = 2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1);
    if (ColumnFit* fit = ColumnFit::of(m_grid))
        fit->setMinimumWidth(column, widest + margins + kEditorFrame);
}

void CellEditing::commitOpenEditor()
{
    // An editor closed with Esc is hidden until it goes: only a shown one counts.
    if (m_open && m_open->isVisible())
        QMetaObject::invokeMethod(m_grid, "commitData", Q_ARG(QWidget*, m_open.data()));
}
