#pragma once

#include "db/ListQuery.h"
#include "gui/Screen.h"

#include <QList>
#include <QVariant>

class CellEditing;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// A code table kept in its grid, typed into in place: Add appends an empty row,
// Save stores what was typed, Delete asks and deletes the current row, Close
// closes. Leaving a row that was typed into stores it; a new row nobody typed
// into is dropped. An operator who may only browse gets a grid that takes no
// input and no Add, Save or Delete. Used as a screen of its own or as a page of
// one (Close then closes the window the page is in).
class GridEditScreen : public Screen
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
        QString table;             // whose column sizes limit the cell editors
        QList<ListColumn> columns; // the key first; the editable ones take input
        QString keyField;
        QString deleteQuestion;
        Button add = {"btnAdd", QStringLiteral("增加 &a.")};
        Button save = {"btnSave", QStringLiteral("保存 &s.")};
        Button remove = {"btnDel", QStringLiteral("删除 &d.")};
        Button close = {"btnClose", QStringLiteral("退出 &c.")};
        Messages::Buttons deleteButtons = Messages::Buttons::OkCancel; // of the delete question
    };

    GridEditScreen(const ScreenContext& context, Parts parts, QWidget* parent);

protected:
    QueryListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    // Reads the list again and stands on `key` (the first row when not listed).
    void reload(const QVariant& key = {});
    // The text shown in a cell (what was typed, or the stored value as shown).
    QString cellText(int row, const QString& field) const;

    virtual ListQuery listQuery() const = 0;
    // Stores the rows typed into (stored rows changed, a new row with something in
    // it); false when refused, the operator told why. Throws DbError.
    virtual bool storeRows(const QList<int>& rows) = 0;
    // Deletes the record of `key`, or refuses (a record something still uses).
    // Throws DbError.
    virtual Checked<> removeRecord(const QVariant& key) = 0;
    // Whether the stored record of `key` may be deleted, told before the delete
    // question is asked (removeRecord checks again as it deletes). Throws DbError.
    virtual Checked<> deleteRefusal(const QVariant& /*key*/) { return Done{}; }
    // The row the grid shows as current now (-1: none), after a move or a reload.
    virtual void currentRowShown(int /*row*/) {}
    // Whether Save may store the current row as it stands; false after telling why.
    virtual bool saveAllowed(int /*row*/) { return true; }
    // Whether a cell of the row takes input, beyond its column being editable.
    virtual bool cellEditable(int /*row*/, int /*column*/) const { return true; }
    // Whether the row may be deleted (Delete is disabled on it otherwise).
    virtual bool canDelete(int /*row*/) const { return true; }

private:
    bool isModified() const;
    QList<int> typedRows() const;
    void rowShown(int row);
    void save();
    void removeCurrent();

    Parts m_parts;
    QueryListModel* m_model;
    QTableView* m_grid;
    RowForm* m_form;
    CellEditing* m_cells = nullptr;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_remove;
};
