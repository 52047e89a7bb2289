#include "gui/ListScreen.h"

#include "db/QueryListModel.h"
#include "gui/ListRefresh.h"
#include "gui/WidgetFactory.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ListScreen::ListScreen(const ScreenContext& context, Parts parts, QWidget* parent)
    : Screen(context, parent), m_parts(std::move(parts))
{
    m_model = new QueryListModel(m_parts.columns, this);
    m_grid = widgets::grid(this, m_parts.gridName, m_model);
    // Writes of other windows show at once, on the record the list stands on.
    ListRefresh::of(m_grid, m_model, db(), m_parts.keyField);

    m_add = widgets::button(this, m_parts.add.name, m_parts.add.caption);
    m_modify = widgets::button(this, m_parts.modify.name, m_parts.modify.caption);
    m_remove = widgets::button(this, m_parts.remove.name, m_parts.remove.caption);
    m_close = widgets::button(this, m_parts.close.name, m_parts.close.caption);
    m_buttons = widgets::buttonRow({m_add, m_modify, m_remove, m_close});

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(m_grid, 1);
    m_layout->addLayout(m_buttons);

    connect(m_add, &QPushButton::clicked, this, [this] { openEditor(RecordEditor::Mode::Add); });
    connect(m_modify, &QPushButton::clicked, this, [this] { openEditor(RecordEditor::Mode::Modify); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (m_modify->isEnabled())
            openEditor(RecordEditor::Mode::Modify);
    });
    connect(m_remove, &QPushButton::clicked, this, &ListScreen::removeCurrent);
    // On a page of a screen, closing closes the screen's window.
    connect(m_close, &QPushButton::clicked, this, [this] { window()->close(); });
    updateButtons();
}

void ListScreen::addButton(QPushButton* button)
{
    m_buttons->insertWidget(m_buttons->indexOf(m_close), button);
}

void ListScreen::setEditable(bool editable)
{
    m_editable = editable;
    updateButtons();
}

void ListScreen::updateButtons()
{
    const bool editable = canWrite() && m_editable;
    m_add->setEnabled(editable);
    m_remove->setEnabled(editable);
    m_modify->setEnabled(!m_parts.modifyNeedsWrite || editable);
}

void ListScreen::reload(const QVariant& key)
{
    run([&] {
        m_model->load(db(), listQuery());
        const int row = key.isValid() ? m_model->findRow(m_parts.keyField, key) : 0;
        widgets::selectRow(m_grid, row < 0 ? 0 : row);
    });
}

QVariant ListScreen::currentKey() const
{
    const int row = widgets::currentRow(m_grid);
    return row < 0 ? QVariant() : m_model->value(row, m_parts.keyField);
}

void ListScreen::openEditor(RecordEditor::Mode mode)
{
    const QVariant key = currentKey();
    if (mode == RecordEditor::Mode::Modify && !key.isValid()) {
        messages().information(m_parts.nothingToModify);
        return;
    }
    RecordEditor* editor = makeEditor(mode, mode == RecordEditor::Mode::Add ? QVariant() : key);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &RecordEditor::saved, this, [this](const QVariant& stored) { reload(stored); });
    editor->open();
}

void ListScreen::removeCurrent()
{
    const QVariant key = currentKey();
    if (!key.isValid() || !m_remove->isEnabled())
        return;
    if (!confirmDelete(m_parts.deleteQuestion))
        return;
    const int row = widgets::currentRow(m_grid);
    run(
        [&] {
            if (const Checked<> removed = removeRecord(key); !removed.ok()) {
                refuse(removed.refusal());
                return;
            }
            m_model->reload();
            widgets::selectRow(m_grid, std::min(row, m_model->rowCount() - 1));
        },
        [this] { reload(); });
}
