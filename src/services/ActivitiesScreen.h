#pragma once

#include "gui/WorkingCopyPage.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// The community activities: the boxes on top hold a working copy of the
// activity chosen in the list below them, which Save writes back. The list
// previews as a printed list.
class ActivitiesScreen : public WorkingCopyPage
{
    Q_OBJECT
public:
    explicit ActivitiesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    void showRecord(const QVariant& key) override;
    void clearForNew() override;
    std::optional<QVariant> storeRecord(const QVariant& key) override;
    void removeRecord(const QVariant& key) override;
    void print() override;

private:
    QList<QLineEdit*> textBoxes() const;

    QLineEdit* m_name;
    QLineEdit* m_mainDept;
    QLineEdit* m_secondDept;
    QLineEdit* m_affiche;
    QDateEdit* m_start;
    QDateEdit* m_end;
    QLineEdit* m_chargeMan;
    QLineEdit* m_ployMoney;
    QLineEdit* m_moneyTake;
    QLineEdit* m_takePeople;
    QPlainTextEdit* m_circs;
    QPlainTextEdit* m_remark;
};
