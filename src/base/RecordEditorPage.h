#pragma once

#include "base/OwnerRecords.h"
#include "db/ListQuery.h"
#include "gui/Screen.h"

class EditorSet;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// A page of an owner's records (cars, parking places) with a grid and plain
// editors below it: the editors show the current row and Save writes them back.
// Entry is continuous: after a new record is saved, the next new one is ready.
class RecordEditorPage : public Screen
{
    Q_OBJECT
public:
    struct Editor
    {
        const char* column;
        const char* objectName;
        QString label;
        bool memo = false; // multi-line, stored as typed (not trimmed)
    };

    struct Description
    {
        OwnerRecordTable table;
        const char* gridName;
        QList<ListColumn> gridColumns; // the key first; columns without title stay hidden
        QList<Editor> editors;         // the table's required column first
        const char* addName;
        const char* saveName;
        const char* deleteName;
        const char* closeName;
    };

    RecordEditorPage(const ScreenContext& context, Description description, QWidget* parent = nullptr);

    // Shows the records of this owner; a new record not saved yet is dropped.
    void setOwner(qlonglong ownerId);

private:
    void showRow(int row);
    void addRecord();
    void save();
    void removeCurrent();
    OwnerRecordTable::Values editorValues() const;

    Description m_description;
    QueryListModel* m_model;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editorSet;
    QList<QWidget*> m_editors;
    QList<QPushButton*> m_writeButtons;
    qlonglong m_ownerId = 0;
};
