#pragma once

#include "gui/Screen.h"

class EditorSet;
class ParentRowForm;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class QTimeEdit;
class QueryListModel;

// The engineering devices: a kind chosen above the list of its devices; the
// device the list stands on edited on the first tab, its faults and repairs on
// the second, both where they are listed and entered one after another. The
// kind's devices preview and export; the device's repairs preview.
class DevicesScreen : public Screen
{
    Q_OBJECT
public:
    explicit DevicesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildDevicePage();
    QWidget* buildRepairPage();
    void kindChanged();
    void previewDevices();
    void previewRepairs();
    void exportDevices();

    QComboBox* m_kind;
    QTabWidget* m_pages;

    // devices
    QueryListModel* m_devices;
    QTableView* m_deviceGrid;
    ParentRowForm* m_deviceForm = nullptr;
    EditorSet* m_deviceEditors;
    QLineEdit* m_devNo;
    QLineEdit* m_devName;
    QDateEdit* m_useDate;
    QLineEdit* m_factory;
    QLineEdit* m_linkTel;
    QLineEdit* m_voltage;
    QDateEdit* m_factoryDate;
    QLineEdit* m_power;
    QLineEdit* m_curr;
    QLineEdit* m_oldYear;
    QLineEdit* m_palace;
    QPlainTextEdit* m_remark;

    // repairs
    QueryListModel* m_repairs;
    ParentRowForm* m_repairForm = nullptr;
    EditorSet* m_repairEditors;
    QDateTimeEdit* m_faultDate;
    QTimeEdit* m_faultClock;
    QLineEdit* m_faultDesc;
    QLineEdit* m_cause;
    QLineEdit* m_result;
    QLineEdit* m_repairer;
    QLineEdit* m_money;
    QPlainTextEdit* m_repairDesc;
    QDateTimeEdit* m_finishDate;
    QTimeEdit* m_finishClock;
};
