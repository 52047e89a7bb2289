#pragma once

#include "gui/Screen.h"

class OwnerPicker;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;
struct FeeInput;
enum class BillingRule;

// Fee collection: the owners on the left, the chosen owner's fee records (or
// every owner's records of one day, or every record), and the entry of a record:
// its type, the readings or months it is computed from, the amount due (Enter
// computes it by the type's rule), the amount paid (Enter copies the amount due),
// the payment date and a remark. Entry is continuous: after a new record is saved
// the next one is ready.
class FeeCollectionScreen : public Screen
{
    Q_OBJECT
public:
    explicit FeeCollectionScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Filter { Owner, Day };

    void buildEntry(QWidget* box);
    void selectOwner(qlonglong ownerId);
    void showList(qlonglong selectId, bool last);
    void loadRecord(int row);
    void setUpInputs(BillingRule rule);
    void typeChanged();
    void computeAmount();
    void startNewRecord();
    void save();
    void filterByDay();
    void showAll(bool all);
    void clearEntry();
    void paidEntered();
    FeeInput input() const;
    qlonglong currentRecordId() const;
    void updateButtons();

    OwnerPicker* m_owners;
    QueryListModel* m_records;
    QTableView* m_grid;
    RowForm* m_form;
    QDateEdit* m_day;
    QCheckBox* m_all;
    QComboBox* m_type;
    QLabel* m_lastLabel;
    QLabel* m_currentLabel;
    QLineEdit* m_previous;
    QLineEdit* m_current;
    QDateEdit* m_firstMonth;
    QDateEdit* m_lastMonth;
    QLineEdit* m_shouldPay;
    QLineEdit* m_paid;
    QComboBox* m_payWay;
    QPlainTextEdit* m_remark;
    QDateEdit* m_takeDate;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_remove;

    qlonglong m_ownerId = 0; // the owner chosen in the list
    Filter m_filter = Filter::Owner;
    bool m_newRecord = false;   // the entry is a record not stored yet
    bool m_unpaidShown = false; // a stored bill with nothing paid, its date not yet moved
};
