#pragma once

#include "gui/FormFields.h"
#include "gui/Screen.h"
#include "services/Devices.h"

class ParentRowForm;
class QComboBox;
class QDateTimeEdit;
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
    FormFields<DeviceInput> m_deviceFields{"device"};

    // repairs: the times are a date and a time picker each, the rest a form
    QueryListModel* m_repairs;
    ParentRowForm* m_repairForm = nullptr;
    FormFields<RepairInput> m_repairFields{"repair"};
    QDateTimeEdit* m_faultDate;
    QTimeEdit* m_faultClock;
    QDateTimeEdit* m_finishDate;
    QTimeEdit* m_finishClock;
};
