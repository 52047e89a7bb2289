#include "gui/GridEditScreen.h"

#include "db/QueryListModel.h"
#include "gui/CellEditing.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

GridEditScreen::GridEditScreen(const ScreenContext& context, Parts parts, QWidget* parent)
    : Screen(context, parent), m_parts(std::move(parts))
{
    QList<ListColumn> columns = m_parts.columns;
    for (ListColumn& c : columns)
        c.editable = c.editable && canWrite(); // browsing never writes
    m_model = new QueryListModel(columns, this);
    m_model->setCellEditable(
        [this](int row, int column) { return m_model->isNewRow(row) || cellEditable(row, column); });
    m_grid = widgets::grid(this, m_parts.gridName, m_model);
    if (canWrite())
        m_cells = CellEditing::install(m_grid, m_parts.table);
    m_form = new RowForm(context, m_grid, m_model, m_parts.keyField,
                         {[this] { return listQuery(); }, [this](int row) { rowShown(row); },
                          [this] { return isModified(); }, [this] { return storeRows(typedRows()); }});

    m_add = widgets::button(this, m_parts.add.name, m_parts.add.caption);
    m_save = widgets::button(this, m_parts.save.name, m_parts.save.caption);
    m_remove = widgets::button(this, m_parts.remove.name, m_parts.remove.caption);
    auto* close = widgets::button(this, m_parts.close.name, m_parts.close.caption);
    m_add->setEnabled(canWrite());
    m_save->setEnabled(canWrite());
    m_remove->setEnabled(canWrite());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(widgets::buttonRow({m_add, m_save, m_remove, close}));

    connect(m_add, &QPushButton::clicked, this, [this] {
        if (m_cells)
            m_cells->commitOpenEditor();
        if (!m_form->addNewRow())
            return;
        const QModelIndex cell = m_model->index(m_form->currentRow(), 1);
        m_grid->setCurrentIndex(cell);
        if (m_grid->isVisible()) {
            m_grid->setFocus();
            m_grid->edit(cell);
        }
    });
    connect(m_save, &QPushButton::clicked, this, &GridEditScreen::save);
    connect(m_remove, &QPushButton::clicked, this, &GridEditScreen::removeCurrent);
    // The window: this screen, or the one it is a page of.
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
}

void GridEditScreen::reload(const QVariant& key)
{
    m_form->reload(key);
}

QString GridEditScreen::cellText(int row, const QString& field) const
{
    return m_model->index(row, m_model->columnOf(field)).data().toString().trimmed();
}

QList<int> GridEditScreen::typedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->isEdited(row))
            rows << row;
        else if (m_model->isNewRow(row)) {
            for (const ListColumn& c : m_model->columns()) {
                if (!m_model->value(row, c.field).toString().trimmed().isEmpty()) {
                    rows << row;
                    break;
                }
            }
        }
    }
    return rows;
}

bool GridEditScreen::isModified() const
{
    return !typedRows().isEmpty();
}

void GridEditScreen::rowShown(int row)
{
    // A row that may not be deleted disables Delete while it is current.
    m_remove->setEnabled(canWrite() && (row < 0 || m_model->isNewRow(row) || canDelete(row)));
    currentRowShown(row);
}

void GridEditScreen::save()
{
    if (m_cells)
        m_cells->commitOpenEditor();
    const int row = m_form->currentRow();
    if (!saveAllowed(row))
        return;
    const QVariant key = m_form->keyAt(row);
    const bool wasNew = m_form->isNewRow(row);
    // The lambda returns a copy of save()'s own key, which it holds by reference
    // and could never move from.
    if (!m_form->storeAndReload([&] { return key; })) // NOLINT(performance-no-automatic-move)
        return;
    if (wasNew) // the new row, now stored, is the last one
        m_form->reload(m_model->value(m_model->storedRowCount() - 1, m_parts.keyField));
}

void GridEditScreen::removeCurrent()
{
    const int row = m_form->currentRow();
    if (!m_remove->isEnabled() || row < 0)
        return;
    if (!m_form->isNewRow(row)) {
        // A refusal known beforehand is told without a question.
        Checked<> allowed = Done{};
        if (!run([&] { allowed = deleteRefusal(m_form->keyAt(row)); }))
            return;
        if (!allowed.ok()) {
            refuse(allowed.refusal());
            return;
        }
    }
    if (!m_parts.deleteQuestion.isEmpty() &&
        !messages().confirm(m_parts.deleteQuestion, QStringLiteral("提醒"), m_parts.deleteButtons))
        return;
    m_form->removeCurrent({}, [this](const QVariant& key) { return removeRecord(key); });
}
