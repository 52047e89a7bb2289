#include "gui/RecordEditor.h"

#include "gui/WidgetFactory.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

RecordEditor::RecordEditor(const ScreenContext& context, Mode mode, QVariant key, const Buttons& buttons,
                           QWidget* parent)
    : ScreenDialog(context, parent), m_mode(mode), m_key(std::move(key)), m_editors(this)
{
    setWindowModality(Qt::WindowModal);
    m_save = widgets::button(this, buttons.saveName,
                             mode == Mode::Add ? buttons.addCaption : buttons.modifyCaption);
    m_save->setDefault(true);
    auto* exit = widgets::button(this, buttons.exitName, buttons.exitCaption);

    auto* layout = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body);
    layout->addLayout(widgets::buttonRow({m_save, exit}));

    connect(m_save, &QPushButton::clicked, this, &RecordEditor::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void RecordEditor::addColumns(QFormLayout* left, QFormLayout* right)
{
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(16);
    columns->addLayout(right);
    m_body->addLayout(columns);
}

void RecordEditor::begin()
{
    if (m_mode == Mode::Modify) {
        {
            EditorSet::Loading loading(m_editors);
            load();
        }
        if (!canWrite()) {
            m_editors.setReadOnly(true);
            m_save->setEnabled(false);
        }
    }
    m_editors.setModified(false);
}

void RecordEditor::save()
{
    if (!m_save->isEnabled())
        return;
    run([&] {
        const std::optional<QVariant> stored = store();
        if (!stored)
            return;
        m_editors.setModified(false);
        if (m_mode == Mode::Modify)
            m_key = *stored;
        Q_EMIT saved(*stored);
        if (m_mode == Mode::Add) {
            EditorSet::Loading loading(m_editors);
            clearForNext();
        }
    });
}
