#include "gui/WorkingCopyPage.h"

#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/ListRefresh.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

WorkingCopyPage::WorkingCopyPage(const ScreenContext& context, Parts parts, QWidget* parent)
    : Screen(context, parent), m_parts(std::move(parts))
{
    m_model = new QueryListModel(m_parts.columns, this);
    m_grid = widgets::grid(this, m_parts.gridName, m_model);
    m_editorArea = new QWidget(this);
    // The boxes are a working copy: moving to another row shows it, discarding
    // what was typed; Save alone writes.
    m_form = new RowForm(context, m_grid, m_model, m_parts.keyField,
                         {[this] { return listQuery(); }, [this](int row) { rowShown(row); },
                          [] { return false; }, [] { return true; }},
                         RowForm::OnLeave::Discard);
    // What is typed into the boxes holds back a re-read of the list (a write
    // elsewhere) until it is saved or discarded.
    m_boxes = new EditorSet(this);
    ListRefresh::of(m_grid, m_model, db(), m_parts.keyField)->addHold([this] {
        return m_boxes->isModified();
    });

    auto* printButton = widgets::button(this, m_parts.print.name, m_parts.print.caption);
    m_add = widgets::button(this, m_parts.add.name, m_parts.add.caption);
    m_remove = widgets::button(this, m_parts.remove.name, m_parts.remove.caption);
    m_save = widgets::button(this, m_parts.save.name, m_parts.save.caption);
    m_save->setDefault(true);
    auto* close = widgets::button(this, m_parts.close.name, m_parts.close.caption);
    for (QPushButton* b : {m_add, m_remove, m_save})
        b->setEnabled(canWrite());

    auto* layout = new QVBoxLayout(this);
    if (m_parts.arrangement == Arrangement::GridLeft) {
        m_grid->setMaximumWidth(300);
        auto* row = new QHBoxLayout;
        row->addWidget(m_grid);
        row->addWidget(m_editorArea, 1);
        layout->addLayout(row, 1);
    } else {
        layout->addWidget(m_editorArea);
        layout->addWidget(m_grid, 1);
    }
    layout->addLayout(widgets::buttonRow({printButton, m_add, m_remove, m_save, close}));

    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    connect(m_add, &QPushButton::clicked, this, &WorkingCopyPage::add);
    connect(m_save, &QPushButton::clicked, this, &WorkingCopyPage::save);
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (!m_remove->isEnabled())
            return;
        m_form->removeCurrent(m_parts.deleteQuestion, [this](const QVariant& key) {
            removeRecord(key);
            return Done{};
        });
    });
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
}

void WorkingCopyPage::begin()
{
    // Enter in a one-line box (a date's too) saves, as the office's default button did.
    for (QLineEdit* line : m_editorArea->findChildren<QLineEdit*>())
        connect(line, &QLineEdit::returnPressed, this, &WorkingCopyPage::save);
    // The boxes, watched for typing (the line edit inside a date or combo box is
    // watched through its box).
    for (QWidget* box : m_editorArea->findChildren<QWidget*>()) {
        const bool inner = qobject_cast<QAbstractSpinBox*>(box->parentWidget()) ||
                           qobject_cast<QComboBox*>(box->parentWidget());
        if (!inner && (qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box) ||
                       qobject_cast<QComboBox*>(box) || qobject_cast<QDateTimeEdit*>(box)))
            m_boxes->add(box);
    }
    m_form->reload();
}

QVariant WorkingCopyPage::currentKey() const
{
    return m_form->keyAt(m_form->currentRow());
}

void WorkingCopyPage::reload(const QVariant& key)
{
    m_form->reload(key);
}

void WorkingCopyPage::rowShown(int row)
{
    // An empty list or a new record leaves the boxes as they are.
    if (row < 0 || m_form->isNewRow(row))
        return;
    const QVariant key = m_form->keyAt(row);
    const EditorSet::Loading loading(*m_boxes);
    run([&] { showRecord(key); });
    m_boxes->setModified(false);
}

void WorkingCopyPage::startNew()
{
    const EditorSet::Loading loading(*m_boxes);
    clearForNew();
    m_boxes->setModified(false);
}

void WorkingCopyPage::add()
{
    if (!m_add->isEnabled())
        return;
    if (!m_form->addNewRow())
        return;
    startNew();
}

void WorkingCopyPage::save()
{
    if (!m_save->isEnabled())
        return;
    const QVariant key = currentKey(); // none for a new record, or on an empty list
    std::optional<QVariant> stored;
    run([&] { stored = storeRecord(key); }, [this] { m_form->reload(); });
    if (!stored)
        return;
    m_boxes->setModified(false);
    if (key.isValid()) {
        m_form->reload(*stored);
        return;
    }
    // The next new record is ready at once.
    if (m_form->addNewRow())
        startNew();
}

void WorkingCopyPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        window()->close();
        return;
    }
    Screen::keyPressEvent(event);
}
