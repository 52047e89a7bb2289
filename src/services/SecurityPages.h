#pragma once

#include "gui/WorkingCopyPage.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// The security events ("重大事件"): name, kind, who dealt with it, the day, the
// place, what happened and how it was dealt with.
class SecurityEventsPage : public WorkingCopyPage
{
    Q_OBJECT
public:
    SecurityEventsPage(const ScreenContext& context, QWidget* parent);

protected:
    ListQuery listQuery() const override;
    void showRecord(const QVariant& key) override;
    void clearForNew() override;
    std::optional<QVariant> storeRecord(const QVariant& key) override;
    void removeRecord(const QVariant& key) override;
    void print() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_type;
    QLineEdit* m_dealMan;
    QDateEdit* m_takeTime;
    QLineEdit* m_address;
    QPlainTextEdit* m_detail;
    QPlainTextEdit* m_dealResult;
};

// The fire-protection zones ("消防片区"): name, grade, place, area, who checks
// it and how often, who is responsible, the equipment and a remark.
class FireZonesPage : public WorkingCopyPage
{
    Q_OBJECT
public:
    FireZonesPage(const ScreenContext& context, QWidget* parent);

protected:
    ListQuery listQuery() const override;
    void showRecord(const QVariant& key) override;
    void clearForNew() override;
    std::optional<QVariant> storeRecord(const QVariant& key) override;
    void removeRecord(const QVariant& key) override;
    void print() override;

private:
    QLineEdit* m_areaName;
    QLineEdit* m_grade;
    QLineEdit* m_address;
    QLineEdit* m_fireArea;
    QLineEdit* m_checker;
    QLineEdit* m_cycle;
    QLineEdit* m_fireman;
    QLineEdit* m_equipment;
    QPlainTextEdit* m_remark;
};
