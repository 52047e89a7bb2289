#include "gui/EditorSet.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

void EditorSet::add(std::initializer_list<QWidget*> editors)
{
    for (QWidget* e : editors)
        add(e);
}

void EditorSet::add(QWidget* editor)
{
    m_editors << editor;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        connect(line, &QLineEdit::textEdited, this, &EditorSet::changed);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(editor)) {
        connect(memo, &QPlainTextEdit::textChanged, this, &EditorSet::changed);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        connect(combo, &QComboBox::activated, this, &EditorSet::changed);
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this, &EditorSet::changed);
    } else if (auto* date = qobject_cast<QDateTimeEdit*>(editor)) {
        connect(date, &QDateTimeEdit::dateTimeChanged, this, &EditorSet::changed);
    } else if (qobject_cast<QGroupBox*>(editor)) {
        for (QAbstractButton* choice : editor->findChildren<QAbstractButton*>())
            connect(choice, &QAbstractButton::toggled, this, &EditorSet::changed);
    }
}

void EditorSet::changed()
{
    if (m_loading)
        return;
    m_modified = true;
    Q_EMIT edited();
}

void EditorSet::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (QWidget* editor : m_editors) {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setReadOnly(readOnly);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(editor))
            memo->setReadOnly(readOnly);
        else if (auto* date = qobject_cast<QDateTimeEdit*>(editor))
            date->setReadOnly(readOnly);
        else
            editor->setEnabled(!readOnly);
    }
}
