#include "base/RecordEditorPage.h"

#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString textOf(const QWidget* editor)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    return qobject_cast<const QPlainTextEdit*>(editor)->toPlainText();
}

void setTextOf(QWidget* editor, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
    else
        qobject_cast<QPlainTextEdit*>(editor)->setPlainText(text);
}

} // namespace

RecordEditorPage::RecordEditorPage(const ScreenContext& context, Description description, QWidget* parent)
    : Screen(context, parent), m_description(std::move(description))
{
    const Description& d = m_description;
    m_model = new QueryListModel(d.gridColumns, this);
    m_grid = widgets::grid(this, d.gridName, m_model);
    m_editorSet = new EditorSet(this);

    const QByteArray table = d.table.table.toLatin1();
    auto* form = new QFormLayout;
    for (const Editor& e : d.editors) {
        QWidget* editor =
            e.memo ? static_cast<QWidget*>(widgets::memo(this, e.objectName, table.constData(), e.column))
                   : widgets::lineEdit(this, e.objectName, table.constData(), e.column);
        if (e.memo)
            editor->setFixedHeight(56);
        form->addRow(e.label, editor);
        m_editors << editor;
        m_editorSet->add(editor);
    }
    // The boxes are plain: Save alone writes them; moving on shows the next row.
    m_form = new RowForm(context, m_grid, m_model, d.table.key,
                         {[this] { return owner_records::list(m_description.table, m_ownerId); },
                          [this](int row) { showRow(row); }, [this] { return m_editorSet->isModified(); },
                          [] { return true; }},
                         RowForm::OnLeave::Discard);

    auto* add = widgets::button(this, d.addName, QStringLiteral("增加 &a"));
    auto* saveButton = widgets::button(this, d.saveName, QStringLiteral("保存 &s."));
    auto* remove = widgets::button(this, d.deleteName, QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, d.closeName, QStringLiteral("退出 &e."));
    m_writeButtons = {add, saveButton, remove};

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({add, saveButton, remove, close}));

    // A click shows the stored record again; on the new record it keeps what was typed.
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!m_form->isNewRow(index.row()))
            showRow(index.row());
    });
    connect(add, &QPushButton::clicked, this, &RecordEditorPage::addRecord);
    connect(saveButton, &QPushButton::clicked, this, &RecordEditorPage::save);
    connect(remove, &QPushButton::clicked, this, &RecordEditorPage::removeCurrent);
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
}

void RecordEditorPage::setOwner(qlonglong ownerId)
{
    m_ownerId = ownerId;
    for (QPushButton* b : m_writeButtons)
        b->setEnabled(canWrite() && m_ownerId != 0); // nothing is stored for no owner
    m_form->reload();
}

void RecordEditorPage::showRow(int row)
{
    const bool stored = row >= 0 && !m_model->isNewRow(row);
    const EditorSet::Loading loading(*m_editorSet);
    for (int i = 0; i < m_editors.size(); ++i) {
        const Editor& e = m_description.editors[i];
        const QString value =
            stored ? m_model->value(row, QString::fromLatin1(e.column)).toString() : QString();
        setTextOf(m_editors[i], e.memo ? value : value.trimmed());
    }
    m_editorSet->setModified(false);
}

void RecordEditorPage::addRecord()
{
    m_form->addNewRow();
    m_editors.first()->setFocus();
}

OwnerRecordTable::Values RecordEditorPage::editorValues() const
{
    OwnerRecordTable::Values fields;
    for (int i = 0; i < m_editors.size(); ++i) {
        const Editor& e = m_description.editors[i];
        const QString text = textOf(m_editors[i]);
        fields.append({QString::fromLatin1(e.column), e.memo ? text : text.trimmed()});
    }
    return fields;
}

void RecordEditorPage::save()
{
    const int row = m_form->currentRow();
    // With no record at all, Save stores the editors as a new one.
    const bool isNew = row < 0 || m_form->isNewRow(row);
    const qlonglong id = isNew ? 0 : m_form->keyAt(row).toLongLong();
    const OwnerRecordTable::Values fields = editorValues();
    run(
        [&] {
            const Checked<qlonglong> stored =
                owner_records::store(db(), m_description.table, m_ownerId, id, fields);
            if (!stored.ok()) {
                refuse(stored.refusal());
                return;
            }
            m_form->reload(stored.value());
            if (isNew)
                addRecord();
        },
        [this] { m_form->reload(); });
}

void RecordEditorPage::removeCurrent()
{
    m_form->removeCurrent(QStringLiteral("确实要删除此记录吗?"), [this](const QVariant& key) {
        owner_records::remove(db(), m_description.table, key.toLongLong());
        return Done{};
    });
}
