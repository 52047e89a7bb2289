#pragma once

#include <QList>
#include <QObject>

class QWidget;

// The editors of a form or an editor dialog, watched as one: whether the operator
// changed any of them since they were last loaded (the modified flag), and
// whether they accept input at all (read-only for an operator who may only
// browse). Line edits, multi-line editors, combo boxes, date editors and button
// groups of radio buttons are understood.
//
// Changes the screen makes itself count only while no Loading guard is alive:
//
//     { EditorSet::Loading loading(m_editors); m_name->setText(owner.name); }
class EditorSet : public QObject
{
    Q_OBJECT
public:
    explicit EditorSet(QObject* parent = nullptr) : QObject(parent) {}

    // Watches an editor (a QLineEdit, QPlainTextEdit, QComboBox, QDateEdit or a
    // QGroupBox of radio buttons).
    void add(QWidget* editor);
    void add(std::initializer_list<QWidget*> editors);
    const QList<QWidget*>& editors() const { return m_editors; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // Read-only editors show their values and can be selected and copied from, but
    // take no input; combo boxes, date editors and choices are disabled.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // While alive, changes to the editors are the screen's own: they neither set
    // the modified flag nor emit edited().
    class Loading
    {
    public:
        explicit Loading(EditorSet& set) : m_set(set), m_was(set.m_loading) { set.m_loading = true; }
        ~Loading() { m_set.m_loading = m_was; }
        Loading(const Loading&) = delete;
        Loading& operator=(const Loading&) = delete;

    private:
        EditorSet& m_set;
        bool m_was;
    };

Q_SIGNALS:
    // The operator changed an editor.
    void edited();

private:
    void changed();

    QList<QWidget*> m_editors;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_loading = false;
};
