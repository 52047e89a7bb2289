#include "services/DevicesScreen.h"

#include "db/LabelledColumns.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/NameChoice.h"
#include "gui/WidgetFactory.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "services/Devices.h"
#include "services/ParentRowForm.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

using K = ListColumn::Kind;

// A date picker that also shows the time, "yyyy-MM-dd HH:mm". Its lowest value
// stands for "no date" and shows blank.
QDateTimeEdit* dateTimeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QDateTimeEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    edit->setCalendarPopup(true);
    edit->setMinimumDateTime(QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    edit->setSpecialValueText(QStringLiteral(" "));
    return edit;
}

QDate dateOf(const QDateTimeEdit* edit)
{
    return edit->dateTime() == edit->minimumDateTime() ? QDate() : edit->date();
}

QTimeEdit* timeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QTimeEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    return edit;
}

// Both pickers of a time take the typed time; no day leaves the date blank.
void showTime(const QDate& day, const QTime& clock, QDateTimeEdit* datePicker, QTimeEdit* clockPicker)
{
    datePicker->setDateTime(day.isValid() ? QDateTime(day, clock) : datePicker->minimumDateTime());
    clockPicker->setTime(clock);
}

} // namespace

DevicesScreen::DevicesScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TdeviceFrm"));
    setWindowTitle(QStringLiteral("设备资料"));
    resize(1000, 600);

    m_kind = widgets::comboBox(this, "cmbTypeName", {}, "dev_type", "type_name");
    // The key stays hidden.
    m_devices = new QueryListModel(
        QList<ListColumn>{{QStringLiteral("dev_id"), QString(), K::Number}} +
            labelledColumns("device", {{"dev_no", {}, QStringLiteral("编号")}, {"dev_name"}}),
        this);
    m_deviceGrid = widgets::grid(this, "DBGrid2", m_devices);
    auto* leftBox = new QWidget(this);
    leftBox->setMaximumWidth(260);
    auto* left = new QVBoxLayout(leftBox);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(m_kind);
    left->addWidget(m_deviceGrid, 1);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildDevicePage(), QStringLiteral("设备资料"));
    m_pages->addTab(buildRepairPage(), QStringLiteral("故障维修"));
    // A device goes with its repairs: leaving a device stores its changed repair first.
    m_deviceForm->setDependent(m_repairForm);
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));

    auto* right = new QVBoxLayout;
    right->addWidget(m_pages, 1);
    right->addLayout(widgets::buttonRow({excel}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftBox);
    layout->addLayout(right, 1);

    const QDate today = context.clock->today();
    for (const char* date : {"use_date", "factory_date"})
        form_fields::setDate(m_deviceFields.box(date), today);
    m_faultDate->setDateTime(QDateTime(today, QTime(0, 0)));
    m_finishDate->setDateTime(QDateTime(today, QTime(0, 0)));

    connect(excel, &QPushButton::clicked, this, &DevicesScreen::exportDevices);
    run([&] { name_choice::fill(m_kind, device_store::kinds(db())); });
    // A kind is chosen from the list (two kinds may share a name) or typed.
    connect(m_kind, &QComboBox::currentIndexChanged, this, &DevicesScreen::kindChanged);
    connect(m_kind, &QComboBox::editTextChanged, this, &DevicesScreen::kindChanged);
    if (m_kind->count() > 0)
        m_kind->setCurrentIndex(0);
    else
        m_deviceForm->setParent(0);
}

QWidget* DevicesScreen::buildDevicePage()
{
    auto* page = new QWidget(this);
    // A new device starts with the dates last shown.
    using F = DeviceInput;
    m_deviceFields.text("dev_no", "dbeDevNo", &F::devNo)
        .text("dev_name", "dbeDevName", &F::name)
        .date("use_date", "dtpUseDate", &F::useDate)
        .keptOnClear()
        .date("factory_date", "dtpFactoryDate", &F::factoryDate)
        .keptOnClear()
        .text("factory", "DBEdit1", &F::factory)
        .text("link_tel", "DBEdit5", &F::linkTel)
        .text("voltage", "DBEdit7", &F::voltage)
        .text("power", "DBEdit8", &F::power)
        .text("curr", "DBEdit2", &F::curr)
        .number("old_year", "DBEdit9", &F::oldYear)
        .text("palace", "DBEdit6", &F::palace)
        .wide()
        .memo("remark", "DBMemo1", &F::remark)
        .wide()
        .height(56);
    auto* editors = new EditorSet(this);
    QLayout* boxes = m_deviceFields.build(page, editors);

    auto* print = widgets::button(page, "btnPrintDevice", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddDev", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelDev", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveDev", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnClose", QStringLiteral("退出 &c."));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(boxes);
    layout->addStretch();
    layout->addLayout(widgets::buttonRow({print, add, remove, save, close}));

    m_deviceForm = new ParentRowForm(
        context(),
        {m_deviceGrid, m_devices, QStringLiteral("dev_id"), editors, m_deviceFields.box("dev_no"), add, save,
         remove, QStringLiteral("确实要删除此设备吗?")},
        ParentRowForm::formHooks<F>(
            m_deviceFields, device_store::ofKind,
            [this](qlonglong id) -> std::optional<F> {
                const std::optional<Device> device = device_store::load(db(), id);
                return device ? std::optional(device_store::typed(*device)) : std::nullopt;
            },
            [this](F typed, qlonglong id, qlonglong kind) {
                typed.id = id;
                typed.typeId = kind;
                return device_store::save(db(), typed);
            },
            [this](qlonglong id) { device_store::remove(db(), id); },
            // The repairs listed are the device's; a new device has none yet.
            [this](const F* device) { m_repairForm->setParent(device ? device->id : 0); }),
        this);

    connect(print, &QPushButton::clicked, this, &DevicesScreen::previewDevices);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* DevicesScreen::buildRepairPage()
{
    auto* page = new QWidget(this);
    m_repairs =
        new QueryListModel(labelledColumns("repair", {{"repair_id"},
                                                      {"fault_time"},
                                                      {"fault_desc", {}, QStringLiteral("现象")},
                                                      {"result"},
                                                      {"cause", {}, QStringLiteral("原因")},
                                                      {"repair", {}, QStringLiteral("维修人员")},
                                                      {"repair_time"},
                                                      {"repair_money", {}, QStringLiteral("维修金额")},
                                                      {"finish_time"}}),
                           this);
    auto* grid = widgets::grid(page, "DBGrid1", m_repairs);

    // The two times are a date picker and a time picker each, the screen's own,
    // in the first row; the form's boxes below them. A new repair starts with the
    // times last shown.
    m_faultDate = dateTimeEdit(page, "dtpFaultTime");
    m_faultClock = timeEdit(page, "dtpTime1");
    m_finishDate = dateTimeEdit(page, "dtpFinishTime");
    m_finishClock = timeEdit(page, "dtpTime2");
    auto* editors = new EditorSet(this);
    editors->add({m_faultDate, m_faultClock, m_finishDate, m_finishClock});
    using F = RepairInput;
    m_repairFields.text("fault_desc", "dbeFaultDesc", &F::faultDesc)
        .text("cause", "DBEdit11", &F::cause)
        .text("result", "DBEdit15", &F::result)
        .text("repair", "DBEdit12", &F::repairer)
        .number("repair_money", "DBEdit13", &F::money)
        .memo("repair_desc", "DBMemo2", &F::desc)
        .wide()
        .height(48);
    QGridLayout* boxes = m_repairFields.build(page, editors, 1);
    const auto placeTime = [&](int pair, const QString& caption, QDateTimeEdit* date, QTimeEdit* clock) {
        auto* time = new QHBoxLayout;
        time->addWidget(date, 1);
        time->addWidget(clock);
        boxes->addWidget(new QLabel(caption, page), 0, pair * 2);
        boxes->addLayout(time, 0, pair * 2 + 1);
    };
    placeTime(0, QStringLiteral("故障时间"), m_faultDate, m_faultClock);
    placeTime(1, QStringLiteral("修理完成"), m_finishDate, m_finishClock);

    auto* print = widgets::button(page, "BitBtn3", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddRepair", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelRepair", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveRepair", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "BitBtn2", QStringLiteral("退出 &c."));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(boxes);
    layout->addLayout(widgets::buttonRow({print, add, remove, save, close}));

    m_repairForm = new ParentRowForm(
        context(),
        {grid, m_repairs, QStringLiteral("repair_id"), editors, m_faultDate, add, save, remove,
         QStringLiteral("确实要删除此维修记录吗?")},
        ParentRowForm::formHooks<F>(
            m_repairFields, repair_store::ofDevice,
            [this](qlonglong id) -> std::optional<F> {
                const std::optional<Repair> repair = repair_store::load(db(), id);
                return repair ? std::optional(repair_store::typed(*repair)) : std::nullopt;
            },
            [this](F typed, qlonglong id, qlonglong device) {
                typed.id = id;
                typed.devId = device;
                typed.faultDate = dateOf(m_faultDate);
                typed.faultClock = m_faultClock->time();
                typed.finishDate = dateOf(m_finishDate);
                typed.finishClock = m_finishClock->time();
                return repair_store::save(db(), typed);
            },
            [this](qlonglong id) { repair_store::remove(db(), id); },
            [this](const F* repair) {
                if (!repair)
                    return;
                showTime(repair->faultDate, repair->faultClock, m_faultDate, m_faultClock);
                showTime(repair->finishDate, repair->finishClock, m_finishDate, m_finishClock);
            }),
        this);

    connect(print, &QPushButton::clicked, this, &DevicesScreen::previewRepairs);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void DevicesScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void DevicesScreen::kindChanged()
{
    // The kind chosen, or the first of a typed name; a name of no kind lists no
    // device, and then nothing can be added.
    std::optional<qlonglong> kind;
    run([&] {
        kind = name_choice::chosen(
            m_kind, [this](const QString& name) { return device_store::kindByName(db(), name); });
    });
    if (kind.value_or(0) == m_deviceForm->parentId() || m_deviceForm->setParent(kind.value_or(0)))
        return;
    // The changed device could not be stored: back to its kind.
    const QSignalBlocker blocker(m_kind);
    const int index = m_kind->findData(m_deviceForm->parentId());
    m_kind->setCurrentIndex(index);
    if (index >= 0)
        m_kind->setEditText(m_kind->itemText(index));
}

void DevicesScreen::previewDevices()
{
    if (!m_deviceForm->storeIfModified())
        return;
    run([&] {
        const ReportStatement s = reports::deviceStatement(m_deviceForm->parentId());
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptDevice(), rows, this);
    });
}

void DevicesScreen::previewRepairs()
{
    const qlonglong device = m_deviceForm->currentId();
    if (device == 0) {
        messages().information(QStringLiteral("请先选择设备！"));
        return;
    }
    if (!m_repairForm->storeIfModified())
        return;
    run([&] {
        const ReportStatement s = reports::repairStatement(device);
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptRepair(), rows, this);
    });
}

void DevicesScreen::exportDevices()
{
    if (!m_deviceForm->storeIfModified())
        return;
    // The kind's devices as listed.
    StatementRecordSource rows(db(), device_store::ofKind(m_deviceForm->parentId()));
    if (exportList(context(), device_store::exported(), rows, this))
        widgets::selectRow(m_deviceGrid, 0);
}
