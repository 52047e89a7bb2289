#pragma once

#include "gui/EditorSet.h"
#include "gui/Screen.h"

#include <QVariant>

#include <optional>

class QFormLayout;
class QPushButton;
class QVBoxLayout;

// The editor dialog of one record, opened by a list screen in one of two modes:
// "add" stores new records one after another (after each, the editors are
// cleared for the next and the dialog stays open); "modify" shows the record
// the list stands on and stores it over itself. An operator who may only browse
// can open a record and read it: the editors are read-only and Save is disabled.
//
// A subclass makes its editors (adding them to editors()), puts them in the
// dialog's layout, then calls begin(). It implements load() and store().
class RecordEditor : public ScreenDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // The dialog's two buttons: their object names and captions.
    struct Buttons
    {
        const char* saveName = "btnSave";
        QString addCaption;    // Save in add mode
        QString modifyCaption; // Save in modify mode
        const char* exitName = "btnExit";
        QString exitCaption;
    };

    RecordEditor(const ScreenContext& context, Mode mode, QVariant key, const Buttons& buttons,
                 QWidget* parent);

    Mode mode() const { return m_mode; }
    // The record shown in modify mode (after a store, its key as stored).
    const QVariant& key() const { return m_key; }
    bool isModified() const { return m_editors.isModified(); }
    bool isReadOnly() const { return m_editors.isReadOnly(); }

Q_SIGNALS:
    // A record was stored under this key; the list shows it.
    void saved(const QVariant& key);

protected:
    EditorSet& editors() { return m_editors; }
    QVBoxLayout* body() const { return m_body; }
    QPushButton* saveButton() const { return m_save; }

    // Two columns of labelled editors side by side, then the rows below them.
    void addColumns(QFormLayout* left, QFormLayout* right);

    // Ends the set-up: loads the record in modify mode, makes the dialog read-only
    // for an operator who may only browse.
    void begin();

    // Fills the editors from the record stored under key() (modify mode).
    virtual void load() = 0;
    // Checks the editors and stores them: the key of the record stored, or nothing
    // when refused (the operator was told why). Throws DbError.
    virtual std::optional<QVariant> store() = 0;
    // Empties the editors for the next record (add mode, after a store).
    virtual void clearForNext() = 0;

private:
    void save();

    Mode m_mode;
    QVariant m_key;
    EditorSet m_editors;
    QVBoxLayout* m_body;
    QPushButton* m_save;
};
