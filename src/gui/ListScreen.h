#pragma once

#include "db/ListQuery.h"
#include "gui/RecordEditor.h"
#include "gui/Screen.h"

#include <QVariant>

class QHBoxLayout;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QueryListModel;

// A list of records with an editor dialog: a grid, and buttons to add a record,
// modify the current one (also by a double click), delete it and close. Used as
// a screen of its own or as a page of one.
//
// - Add and Delete are disabled for an operator who may only browse; Modify
//   opens the editor read-only.
// - After a store the list is read again and stands on the stored record; after
//   a delete it stands on the record that took its place (or the last one).
// - A record another copy removed meanwhile is reported and the list read again.
// - A write elsewhere (another window) to a table the list reads shows at once:
//   the list is read again on the record it stood on (ListRefresh).
//
// A subclass says what to list (listQuery), makes its editor (makeEditor) and
// deletes (removeRecord); the texts and names come with the Parts below.
class ListScreen : public Screen
{
    Q_OBJECT
public:
    struct Button
    {
        const char* name;
        QString caption;
    };

    struct Parts
    {
        const char* gridName;
        QList<ListColumn> columns;
        QString keyField; // the column that identifies a record
        Button add;
        Button modify;
        Button remove;
        Button close;
        QString nothingToModify; // "修改" with no record
        QString deleteQuestion = QStringLiteral("确实要删除此记录吗?");
        // Modify (and the double click) is a write too: disabled like Add for an
        // operator who may only browse, instead of opening a read-only editor.
        bool modifyNeedsWrite = false;
    };

    ListScreen(const ScreenContext& context, Parts parts, QWidget* parent);

    // Reads the list again and stands on the record of `key` (the first record
    // when it is not listed).
    void reload(const QVariant& key = {});
    // The key of the current record; invalid when the list is empty.
    QVariant currentKey() const;

protected:
    QueryListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    // The screen's layout: the grid, then the button row; a subclass may insert
    // rows above the grid (index 0).
    QVBoxLayout* mainLayout() const { return m_layout; }
    // Adds a button before Close (an "Excel" button).
    void addButton(QPushButton* button);
    // Whether records can be added and changed now (an owner is chosen ...): the
    // subclass sets it whenever its state changes, from its own constructor on.
    // Yes until it says otherwise.
    void setEditable(bool editable);

    // What the list shows now.
    virtual ListQuery listQuery() const = 0;
    // The editor of a new record (key invalid) or of the record of `key`.
    virtual RecordEditor* makeEditor(RecordEditor::Mode mode, const QVariant& key) = 0;
    // Deletes the record of `key`, or refuses (a record something still uses).
    // Throws DbError.
    virtual Checked<> removeRecord(const QVariant& key) = 0;

private:
    // Enables Add, Modify by double click and Delete as far as the operator's right
    // and the screen's own state allow.
    void updateButtons();
    void openEditor(RecordEditor::Mode mode);
    void removeCurrent();

    Parts m_parts;
    bool m_editable = true;
    QueryListModel* m_model;
    QTableView* m_grid;
    QVBoxLayout* m_layout;
    QHBoxLayout* m_buttons;
    QPushButton* m_add;
    QPushButton* m_modify;
    QPushButton* m_remove;
    QPushButton* m_close;
};
