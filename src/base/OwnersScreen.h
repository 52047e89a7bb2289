#pragma once

#include "gui/Screen.h"

class EditorSet;
class OwnerPicker;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class RowForm;
class StatementRecordSource;
struct Owner;

// The owner register: the list of current occupants (or of all owners), the
// editors of the owner chosen in it, search by name, add, save, delete, print
// and export. As on a form bound to its row, changes are stored when the operator
// moves to another owner; a new owner nobody typed into is dropped then, and one
// typed into but not yet named keeps the operator on it.
class OwnersScreen : public Screen
{
    Q_OBJECT
public:
    explicit OwnersScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildEditors();
    void showOwner(int row);
    bool storeOwner();
    void save();
    void removeOwner();
    void exportOwners();
    void print();
    Owner ownerFromEditors() const;
    // The owners as the list shows them, with every column.
    StatementRecordSource listedOwners() const;

    OwnerPicker* m_owners;
    RowForm* m_form;
    EditorSet* m_editors;
    QCheckBox* m_all;
    QLineEdit* m_name;
    QComboBox* m_inOut;
    QLineEdit* m_linker;
    QComboBox* m_credit;
    QLineEdit* m_linkTel;
    QDateEdit* m_inDate;
    QLineEdit* m_paperName;
    QLineEdit* m_paperId;
    QLineEdit* m_workTime;
    QLineEdit* m_fare;
    QPlainTextEdit* m_remarks;
    qlonglong m_shownId = 0; // the owner in the editors; 0 for a new one
};
