#pragma once

#include "core/Checked.h"
#include "gui/FormFields.h"
#include "gui/WorkingCopyPage.h"

#include <QGridLayout>
#include <QSqlDatabase>

#include <functional>
#include <optional>

// A WorkingCopyPage whose boxes a FormFields describes, over a store of records
// typed as `Input` (its number in `Input::id`, 0 for a new one):
//
// - choosing a row shows the stored record in the boxes;
// - Add empties the boxes, but those kept on clear, and puts the cursor into the
//   first;
// - Save reads the boxes into the record as typed and hands it to the store; a
//   refusal is shown with the cursor in the box of the column it names.
//
// A subclass declares its boxes on fields() in its constructor, then calls
// begin(), which lays them out in the editor area and reads the list (a box
// given a first value, such as today's date, is made by buildFields() before);
// it gives the printed list itself.
template <class Input> class WorkingCopyForm : public WorkingCopyPage
{
public:
    struct Store
    {
        std::function<ListQuery()> list;
        std::function<std::optional<Input>(const QSqlDatabase& db, qlonglong id)> load;
        // Checks and stores the record as typed; its number, or the refusal.
        std::function<Checked<qlonglong>(const QSqlDatabase& db, const Input& typed)> save;
        std::function<void(const QSqlDatabase& db, qlonglong id)> remove;
    };

    WorkingCopyForm(const ScreenContext& context, Parts parts, const char* table, Store store,
                    QWidget* parent)
        : WorkingCopyPage(context, std::move(parts), parent), m_fields(table), m_store(std::move(store))
    {
    }

protected:
    FormFields<Input>& fields() { return m_fields; }

    // Makes the declared boxes and lays them out in the editor area (once).
    void buildFields()
    {
        if (m_built)
            return;
        editorArea()->setLayout(m_fields.build(editorArea()));
        m_built = true;
    }
    // Ends the set-up: the boxes made, reads the list and shows its first record.
    void begin()
    {
        buildFields();
        WorkingCopyPage::begin();
    }

    ListQuery listQuery() const override { return m_store.list(); }

    void showRecord(const QVariant& key) override
    {
        if (const std::optional<Input> stored = m_store.load(db(), key.toLongLong()))
            m_fields.show(*stored);
    }

    void clearForNew() override
    {
        m_fields.clear();
        if (QWidget* first = m_fields.boxes().value(0))
            first->setFocus();
    }

    std::optional<QVariant> storeRecord(const QVariant& key) override
    {
        Input typed = m_fields.read();
        typed.id = key.toLongLong();
        const Checked<qlonglong> stored = m_store.save(db(), typed);
        if (!stored.ok()) {
            refuse(stored.refusal());
            return std::nullopt;
        }
        return QVariant(stored.value());
    }

    void removeRecord(const QVariant& key) override { m_store.remove(db(), key.toLongLong()); }

private:
    FormFields<Input> m_fields;
    Store m_store;
    bool m_built = false;
};
