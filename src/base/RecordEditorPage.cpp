#include "base/RecordEditorPage.h"

#include "app/WidgetFactory.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
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

    const QByteArray table = d.table.toLatin1();
    auto* form = new QFormLayout;
    for (const Editor& e : d.editors) {
        QWidget* editor =
            e.memo ? static_cast<QWidget*>(widgets::memo(this, e.objectName, table.constData(), e.column))
                   : widgets::lineEdit(this, e.objectName, table.constData(), e.column);
        if (e.memo)
            editor->setFixedHeight(56);
        form->addRow(e.label, editor);
        m_editors << editor;
    }

    auto* add = widgets::button(this, d.addName, QStringLiteral("增加 &a"));
    auto* saveButton = widgets::button(this, d.saveName, QStringLiteral("保存 &s."));
    auto* remove = widgets::button(this, d.deleteName, QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, d.closeName, QStringLiteral("退出 &e."));
    m_writeButtons = {add, saveButton, remove};
    auto* buttons = widgets::buttonRow({add, saveButton, remove, close});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showRow(current.row()); });
    // A click shows the stored record again; on the new record it keeps what was typed.
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!m_model->isNewRow(index.row()))
            showRow(index.row());
    });
    connect(add, &QPushButton::clicked, this, &RecordEditorPage::addRecord);
    connect(saveButton, &QPushButton::clicked, this, &RecordEditorPage::save);
    connect(remove, &QPushButton::clicked, this, &RecordEditorPage::removeCurrent);
    connect(close, &QPushButton::clicked, this, &RecordEditorPage::closeRequested);
}

void RecordEditorPage::setOwner(qlonglong ownerId)
{
    m_ownerId = ownerId;
    for (QPushButton* b : m_writeButtons)
        b->setEnabled(canWrite() && m_ownerId != 0); // nothing is stored for no owner
    reload(0);
}

void RecordEditorPage::reload(qlonglong selectId)
{
    run([&] {
        m_model->load(
            db(), u"from \"" + m_description.table + u"\" where owner_id = ? order by " + m_description.key,
            {m_ownerId});
        const int row = selectId ? m_model->findRow(m_description.key, selectId) : 0;
        widgets::selectRow(m_grid, row);
        showRow(widgets::currentRow(m_grid));
    });
}

void RecordEditorPage::showRow(int row)
{
    const bool stored = row >= 0 && !m_model->isNewRow(row);
    for (int i = 0; i < m_editors.size(); ++i) {
        const Editor& e = m_description.editors[i];
        const QString value =
            stored ? m_model->value(row, QString::fromLatin1(e.column)).toString() : QString();
        setTextOf(m_editors[i], e.memo ? value : value.trimmed());
    }
}

void RecordEditorPage::addRecord()
{
    const int row = m_model->appendNewRow();
    widgets::selectRow(m_grid, row);
    showRow(row);
    m_editors.first()->setFocus();
}

sql::Fields RecordEditorPage::editorValues() const
{
    sql::Fields fields{{QStringLiteral("owner_id"), m_ownerId}};
    for (int i = 0; i < m_editors.size(); ++i) {
        const Editor& e = m_description.editors[i];
        const QString text = textOf(m_editors[i]);
        fields.append({QString::fromLatin1(e.column), e.memo ? text : text.trimmed()});
    }
    return fields;
}

void RecordEditorPage::save()
{
    if (textOf(m_editors.first()).trimmed().isEmpty()) {
        messages().information(m_description.requiredMessage);
        return;
    }
    const int row = widgets::currentRow(m_grid);
    // With no record at all, Save stores the editors as a new one.
    const bool isNew = row < 0 || m_model->isNewRow(row);
    const qlonglong id = isNew ? 0 : m_model->value(row, m_description.key).toLongLong();
    const sql::Fields fields = editorValues();
    run([&] {
        Transaction transaction(db());
        if (m_description.refuse) {
            const QString refusal = m_description.refuse(db(), fields, id);
            if (!refusal.isEmpty()) {
                messages().information(refusal);
                return;
            }
        }
        qlonglong saved = id;
        if (isNew)
            saved = sql::insert(db(), m_description.table, fields);
        else
            sql::update(db(), m_description.table, fields, m_description.key, id);
        transaction.commit();
        reload(saved);
        if (isNew)
            addRecord();
    });
}

void RecordEditorPage::removeCurrent()
{
    const int row = widgets::currentRow(m_grid);
    if (row < 0)
        return;
    if (!confirmDelete())
        return;
    if (m_model->isNewRow(row)) {
        reload(0);
        return;
    }
    run([&] {
        sql::remove(db(), m_description.table, m_description.key, m_model->value(row, m_description.key));
        reload(m_model->value(row + 1, m_description.key).toLongLong());
    });
}
