#pragma once

#include "app/Screen.h"
#include "output/StatementRecordSource.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QueryListModel;
struct Owner;

// The owner register: the list of current occupants (or of all owners), the
// editors of the owner chosen in it, search by name, add, save, delete, print
// and export.
//
// As on a form bound to its row, changes are stored when the operator moves to
// another owner; a new owner whose name was never typed is dropped then.
class OwnersScreen : public Screen
{
    Q_OBJECT
public:
    explicit OwnersScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void buildEditors();
    void reload(qlonglong selectId);
    void showOwner(int row);
    void rowChanged(const QModelIndex& current, const QModelIndex& previous);
    // Stores the editors; false when refused (the operator was told why).
    bool storeEditors();
    void addOwner();
    void save();
    void removeOwner();
    void search();
    void exportOwners();
    // The owners as the list shows them, with every column.
    StatementRecordSource listedOwners() const;
    void print();
    Owner ownerFromEditors() const;
    qlonglong ownerIdAt(int row) const;
    QString listConditions(QVariantList* values) const;

    QueryListModel* m_model;
    QTableView* m_grid;
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
    bool m_dirty = false;    // the editors differ from what is stored
    bool m_quiet = false;    // row changes made by the screen itself
};
