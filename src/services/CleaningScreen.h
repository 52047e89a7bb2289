#pragma once

#include "gui/WorkingCopyPage.h"

class QLineEdit;
class QPlainTextEdit;

// The areas the cleaning staff look after: the list on the left, beside it the
// boxes holding a working copy of the area chosen, which Save writes back. The
// list previews as a printed list.
class CleaningScreen : public WorkingCopyPage
{
    Q_OBJECT
public:
    explicit CleaningScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    void showRecord(const QVariant& key) override;
    void clearForNew() override;
    std::optional<QVariant> storeRecord(const QVariant& key) override;
    void removeRecord(const QVariant& key) override;
    void print() override;

private:
    QLineEdit* m_areaName;
    QLineEdit* m_charger;
    QLineEdit* m_cycle;
    QPlainTextEdit* m_remark;
};
