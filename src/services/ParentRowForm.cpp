#include "services/ParentRowForm.h"

#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>

ParentRowForm::ParentRowForm(const ScreenContext& context, Controls controls, Hooks hooks, QObject* parent)
    : QObject(parent), m_context(context), m_controls(std::move(controls)), m_hooks(std::move(hooks))
{
    m_form = new RowForm(context, m_controls.grid, m_controls.model, m_controls.keyField,
                         {[this] { return m_hooks.list(m_parentId); }, [this](int row) { rowShown(row); },
                          [this] { return isModified(); }, [this] { return storeRows(); }});
    connect(m_controls.add, &QPushButton::clicked, this, &ParentRowForm::add);
    connect(m_controls.save, &QPushButton::clicked, this, &ParentRowForm::save);
    connect(m_controls.remove, &QPushButton::clicked, this, &ParentRowForm::removeCurrent);
    updateButtons();
}

void ParentRowForm::updateButtons()
{
    // Nothing is stored without the parent it belongs to.
    m_controls.add->setEnabled(m_context.canWrite && m_parentId != 0);
    m_controls.save->setEnabled(m_context.canWrite && m_parentId != 0);
    m_controls.remove->setEnabled(m_context.canWrite);
}

bool ParentRowForm::setParent(qlonglong parentId)
{
    if (!storeIfModified())
        return false;
    m_parentId = parentId;
    updateButtons();
    m_form->reload();
    return true;
}

bool ParentRowForm::isModified() const
{
    return (m_shown != Shown::None && m_controls.editors->isModified()) ||
           (m_dependent && m_dependent->isModified());
}

bool ParentRowForm::storeIfModified()
{
    return m_form->storeIfModified();
}

void ParentRowForm::reload(qlonglong id)
{
    m_form->reload(id ? QVariant(id) : QVariant());
}

void ParentRowForm::rowShown(int row)
{
    {
        const EditorSet::Loading loading(*m_controls.editors);
        if (row < 0) {
            m_shown = Shown::None;
            m_shownId = 0;
            m_hooks.showNone();
        } else if (m_controls.model->isNewRow(row)) {
            m_shown = Shown::New;
            m_shownId = 0;
            m_hooks.showNew();
        } else {
            m_shown = Shown::Stored;
            m_shownId = m_form->keyAt(row).toLongLong();
            runAction(*m_context.messages, [&] { m_hooks.showStored(m_shownId); });
        }
    }
    m_controls.editors->setModified(false);
    // Browsing never writes; with no row there is nothing to type into.
    m_controls.editors->setReadOnly(!m_context.canWrite || m_shown == Shown::None);
}

bool ParentRowForm::storeRows()
{
    if ((m_saving || m_controls.editors->isModified()) && !storeShown())
        return false;
    return !m_dependent || m_dependent->storeIfModified();
}

bool ParentRowForm::storeShown()
{
    if (!m_context.canWrite || m_shown == Shown::None || (m_shown == Shown::New && m_parentId == 0))
        return true;
    try {
        const Checked<qlonglong> result = m_hooks.store(m_shownId, m_parentId);
        if (!result.ok()) {
            m_context.messages->information(result.refusal().text);
            focusRefused(result.refusal().field);
            return false;
        }
        m_stored = result.value();
    } catch (const DbError& e) {
        if (e.kind() != DbError::Kind::RecordGone)
            throw;
        // What was typed has no record left to go to: say so and show the list
        // as it now stands.
        m_context.messages->error(e.text(), {}, e.detail());
        m_stored = 0;
    }
    m_controls.editors->setModified(false);
    return true;
}

void ParentRowForm::add()
{
    if (!m_controls.add->isEnabled())
        return;
    if (m_form->addNewRow() && m_controls.firstEditor)
        m_controls.firstEditor->setFocus();
}

void ParentRowForm::save()
{
    if (!m_controls.save->isEnabled() || m_shown == Shown::None)
        return;
    const bool wasNew = m_shown == Shown::New;
    {
        const QScopedValueRollback saving(m_saving, true);
        if (!m_form->storeAndReload([this] { return m_stored ? QVariant(m_stored) : QVariant(); }))
            return;
    }
    // Entry is continuous: the next new record is ready at once.
    if (wasNew)
        add();
}

void ParentRowForm::removeCurrent()
{
    if (!m_controls.remove->isEnabled())
        return;
    m_form->removeCurrent(m_controls.deleteQuestion, [this](const QVariant& key) {
        m_hooks.remove(key.toLongLong());
        return Done{};
    });
}

void ParentRowForm::focusRefused(const QString& field)
{
    if (field.isEmpty())
        return;
    for (QWidget* box : m_controls.editors->editors()) {
        if (box->property(widgets::kField).toString() == field && box->isEnabled()) {
            box->setFocus();
            return;
        }
    }
}
