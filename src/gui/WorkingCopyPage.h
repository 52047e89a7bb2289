#pragma once

#include "db/ListQuery.h"
#include "gui/Screen.h"

#include <QVariant>

#include <optional>

class EditorSet;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// A list whose editors are plain boxes holding a working copy of the current
// row: choosing a row copies it into the boxes, and only Save writes the boxes
// back. Typing changes nothing stored; choosing another row discards what was
// typed. Used as a page of a screen or as a screen of its own.
//
// - Add empties the boxes (clearForNew) for a new record at the end of the list.
// - Save checks and stores the boxes as the record shown, or as a new record
//   when a new one is being added or the list is empty; after a new record the
//   next one is ready at once. Enter in a one-line box saves too.
// - Delete asks and deletes the current record; a new one is only dropped. The
//   boxes keep their text until another record is shown.
// - An operator who may only browse gets no Add, Save or Delete; the boxes
//   still take text, which nothing stores.
// - A record another copy removed meanwhile is reported and the list read again.
// - A write elsewhere to a table the list reads has it read again on the record
//   shown, the boxes filled afresh; while something typed into the boxes is not
//   saved, the list waits until it is saved or discarded (ListRefresh).
// - Esc and the close button close the window.
//
// A subclass makes its editors in editorArea(), then calls begin().
class WorkingCopyPage : public Screen
{
    Q_OBJECT
public:
    struct Button
    {
        const char* name;
        QString caption;
    };

    // Where the grid stands beside the editors.
    enum class Arrangement { GridLeft, GridBelow };

    struct Parts
    {
        const char* gridName;
        QList<ListColumn> columns; // columns without a title (the key) stay hidden
        QString keyField;
        Button print;
        Button add;
        Button remove;
        Button save;
        Button close;
        Arrangement arrangement = Arrangement::GridLeft;
        QString deleteQuestion = QStringLiteral("确实要删除此记录吗?");
    };

    WorkingCopyPage(const ScreenContext& context, Parts parts, QWidget* parent);

    // The key of the record shown; invalid while a new one is added or the list is empty.
    QVariant currentKey() const;
    // Reads the list again and stands on the record of `key` (the first when not listed).
    void reload(const QVariant& key = {});

protected:
    QueryListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    // The widget the subclass lays its editors out in.
    QWidget* editorArea() const { return m_editorArea; }

    // Ends the set-up: reads the list and shows its first record.
    void begin();

    virtual ListQuery listQuery() const = 0;
    // Copies the stored record of `key` into the boxes.
    virtual void showRecord(const QVariant& key) = 0;
    // Empties the boxes for a new record and puts the focus where typing starts.
    virtual void clearForNew() = 0;
    // Checks the boxes and stores them as the record of `key` (invalid: a new
    // record). The key stored under, or nothing when refused (the operator was
    // told why). Throws DbError.
    virtual std::optional<QVariant> storeRecord(const QVariant& key) = 0;
    // Deletes the record of `key`. Throws DbError.
    virtual void removeRecord(const QVariant& key) = 0;
    // Shows the printed list.
    virtual void print() = 0;

    void keyPressEvent(QKeyEvent* event) override;

private:
    void rowShown(int row);
    void add();
    void save();
    void startNew();

    Parts m_parts;
    QueryListModel* m_model;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_boxes; // the boxes, watched for typing
    QWidget* m_editorArea;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_remove;
};
