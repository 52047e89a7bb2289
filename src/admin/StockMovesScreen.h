#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "gui/Screen.h"

#include <QList>

class EditorSet;
class QHBoxLayout;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// A list of office-supply records whose every write moves stock (purchases,
// requisitions): the records a query chose, edited in boxes bound to the row the
// list stands on.
//
// - Leaving a changed row saves it, with its stock move; a refusal keeps the
//   operator on the row, with the stock shown as it now is.
// - Add starts a new record (its date today); Save stores the record shown and
//   lists it on that row. A record stored here stays listed until the next query.
// - Delete asks (Yes/No) and deletes the current record, its stock moved back; on
//   an empty list it says so.
// - The query and the export save a changed record first.
// - Browsing never writes: no Add, Save or Delete, read-only boxes.
// - Esc and the exit button close the window.
//
// A subclass makes its boxes (watched by editors()) and lays out grid(), its
// boxes and buttonRow(), then calls begin().
class StockMovesScreen : public Screen
{
    Q_OBJECT
public:
    struct Parts
    {
        const char* gridName;
        QList<ListColumn> columns; // the key first, untitled
        QString keyField;
        // The buttons: Excel, query, add, delete, save, exit.
        const char* excelName;
        const char* queryName;
        const char* addName;
        const char* removeName;
        const char* saveName;
        const char* exitName;
        // The list waits while a new record is added, until it is saved or deleted.
        bool listWaitsForNew = false;
    };

    StockMovesScreen(const ScreenContext& context, Parts parts, QWidget* parent);

protected:
    QueryListModel* model() const { return m_list; }
    QTableView* grid() const { return m_grid; }
    EditorSet* editors() const { return m_editors; }
    QHBoxLayout* buttonRow() const;
    // The record in the boxes; 0 for a new one.
    qlonglong shownId() const { return m_shownId; }

    // Reads the list and shows its first row (nothing before the first query).
    void begin();
    // Lists anew what the last query chose, the records stored here since
    // forgotten.
    void listAnew();
    // The grid and the buttons follow `box` in the tab order (boxes above the list).
    void putListAfter(QWidget* box);
    // Where typing starts for a new record.
    void setFirstBox(QWidget* box) { m_firstBox = box; }
    // Saves a changed record as Save does; false when refused.
    bool saveIfModified();

    // The records the last query chose, and those of `kept` whatever it said.
    virtual ListQuery listQuery(const QList<qlonglong>& kept) const = 0;
    // Shows the stored record `id`; with 0 a new record (`isNew`, its date
    // today) or no record at all (empty boxes).
    virtual void showRecord(qlonglong id, bool isNew) = 0;
    // Checks the boxes and stores them as the record shown (0: a new one).
    virtual Checked<qlonglong> storeRecord(qlonglong id) = 0;
    virtual void removeRecord(qlonglong id) = 0;
    // Shows the stock of the item in the boxes as it is now.
    virtual void showStock() = 0;
    // Opens the query; the Excel button.
    virtual void query() = 0;
    virtual void exportRecords() = 0;

    void keyPressEvent(QKeyEvent* event) override;

private:
    void rowShown(int row);
    bool store();
    void add();
    void save();
    void remove();

    Parts m_parts;
    QueryListModel* m_list;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    QList<QPushButton*> m_buttons;
    QList<qlonglong> m_kept; // records stored since the last query
    qlonglong m_shownId = 0;
    QWidget* m_firstBox = nullptr;
};
