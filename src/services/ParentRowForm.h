#pragma once

#include "core/Checked.h"
#include "core/ScreenContext.h"
#include "db/ListQuery.h"
#include "gui/FormFields.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class EditorSet;
class QPushButton;
class QTableView;
class QWidget;
class QueryListModel;
class RowForm;

// The editors bound to the current row of a list of records that belong to a
// parent: an owner's service jobs, a kind's devices, a device's repairs.
//
// - The editors show the row the list stands on. Leaving a changed row stores it
//   first; a refused store keeps the list on the row. A new row nobody typed
//   into is dropped.
// - Add starts a new row at the end. Save stores the row shown, changed or not,
//   and after a new row starts the next one at once.
// - Delete asks and deletes the current row (a new row is only dropped).
// - Nothing is added or saved without a parent: Add and Save are disabled.
// - An operator who may only browse gets read-only editors and no Add, Save or
//   Delete. With no row shown the editors are read-only too.
// - A record another copy removed meanwhile is reported and the list read again.
// - A dependent form (a device's repairs) goes with the row: leaving the row
//   stores the dependent's changed row first, and stays when that is refused.
class ParentRowForm : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        std::function<ListQuery(qlonglong parentId)> list;
        // Fill the editors: with the stored record `id`, for a new record, for no row.
        std::function<void(qlonglong id)> showStored;
        std::function<void()> showNew;
        std::function<void()> showNone;
        // Checks the editors and stores them as record `id` (0: a new record of
        // the parent). Throws DbError.
        std::function<Checked<qlonglong>(qlonglong id, qlonglong parentId)> store;
        // Deletes record `id`. Throws DbError.
        std::function<void(qlonglong id)> remove;
    };

    struct Controls
    {
        QTableView* grid;
        QueryListModel* model;
        QString keyField;
        EditorSet* editors;
        QWidget* firstEditor; // takes the focus for a new row
        QPushButton* add;
        QPushButton* save;
        QPushButton* remove;
        QString deleteQuestion = QStringLiteral("确实要删除此记录吗?");
    };

    ParentRowForm(const ScreenContext& context, Controls controls, Hooks hooks, QObject* parent);

    // The hooks of a form whose editors `fields` describes: `load` gives a stored
    // record as typed (nothing when it is gone), `save` checks and stores the
    // record as typed as record `id` (0: new) of the parent. `shown`, when given,
    // follows the editors: with the stored record shown, or null for a new row,
    // no row or a record gone (the repairs of the device shown, pickers of the
    // screen's own). `fields` outlives the form.
    template <class Input>
    static Hooks
    formHooks(const FormFields<Input>& fields, std::function<ListQuery(qlonglong parentId)> list,
              std::function<std::optional<Input>(qlonglong id)> load,
              std::function<Checked<qlonglong>(Input typed, qlonglong id, qlonglong parentId)> save,
              std::function<void(qlonglong id)> remove, std::function<void(const Input* stored)> shown = {})
    {
        const auto clear = [&fields, shown] {
            fields.clear();
            if (shown)
                shown(nullptr);
        };
        return {std::move(list),
                [&fields, load = std::move(load), shown, clear](qlonglong id) {
                    const std::optional<Input> typed = load(id);
                    if (!typed) {
                        clear();
                        return;
                    }
                    fields.show(*typed);
                    if (shown)
                        shown(&*typed);
                },
                clear,
                clear,
                [&fields, save = std::move(save)](qlonglong id, qlonglong parentId) {
                    return save(fields.read(), id, parentId);
                },
                std::move(remove)};
    }

    void setDependent(ParentRowForm* dependent) { m_dependent = dependent; }

    qlonglong parentId() const { return m_parentId; }
    // Lists the records of another parent, after storing the changed row; false
    // (the parent kept) when that is refused.
    bool setParent(qlonglong parentId);
    // The stored record shown; 0 for a new row or none.
    qlonglong currentId() const { return m_shown == Shown::Stored ? m_shownId : 0; }
    bool isModified() const;
    // Stores a changed row (and the dependent's); false when refused.
    bool storeIfModified();
    // Reads the list again and stands on `id` (the first row when 0 or not listed).
    void reload(qlonglong id = 0);

private:
    enum class Shown { None, New, Stored };

    void rowShown(int row);
    bool storeRows();
    bool storeShown();
    // Puts the cursor into the editor of the column a refusal names.
    void focusRefused(const QString& field);
    void add();
    void save();
    void removeCurrent();
    void updateButtons();

    ScreenContext m_context;
    Controls m_controls;
    Hooks m_hooks;
    RowForm* m_form;
    ParentRowForm* m_dependent = nullptr;
    qlonglong m_parentId = 0;
    Shown m_shown = Shown::None;
    qlonglong m_shownId = 0;
    qlonglong m_stored = 0; // the record the last store wrote
    bool m_saving = false;  // Save stores the row changed or not
};
