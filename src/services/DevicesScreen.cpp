#include "services/DevicesScreen.h"

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
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Both pickers of a time take the stored value; none leaves the date blank.
void showTime(const QString& stored, QDateTimeEdit* date, QTimeEdit* clock)
{
    const QDateTime t = repair_store::toDateTime(stored);
    date->setDateTime(t.isValid() ? t : date->minimumDateTime());
    clock->setTime(t.isValid() ? t.time() : QTime(0, 0));
}

void addPair(QGridLayout* grid, QWidget* page, int row, int pair, const QString& label, QWidget* editor,
             int span = 1)
{
    grid->addWidget(new QLabel(label, page), row, pair * 2);
    grid->addWidget(editor, row, pair * 2 + 1, 1, span * 2 - 1);
}

} // namespace

DevicesScreen::DevicesScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TdeviceFrm"));
    setWindowTitle(QStringLiteral("设备资料"));
    resize(1000, 600);

    m_kind = widgets::comboBox(this, "cmbTypeName", {}, "dev_type", "type_name");
    m_devices = new QueryListModel({{QStringLiteral("dev_id"), QString(), K::Number},
                                    {QStringLiteral("dev_no"), QStringLiteral("编号")},
                                    {QStringLiteral("dev_name"), QStringLiteral("设备名称")}},
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
    m_useDate->setDate(today);
    m_factoryDate->setDate(today);
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
    m_devNo = widgets::lineEdit(page, "dbeDevNo", "device", "dev_no");
    m_devName = widgets::lineEdit(page, "dbeDevName", "device", "dev_name");
    m_useDate = widgets::dateEdit(page, "dtpUseDate");
    m_factory = widgets::lineEdit(page, "DBEdit1", "device", "factory");
    m_linkTel = widgets::lineEdit(page, "DBEdit5", "device", "link_tel");
    m_voltage = widgets::lineEdit(page, "DBEdit7", "device", "voltage");
    m_factoryDate = widgets::dateEdit(page, "dtpFactoryDate");
    m_power = widgets::lineEdit(page, "DBEdit8", "device", "power");
    m_curr = widgets::lineEdit(page, "DBEdit2", "device", "curr");
    m_oldYear = widgets::numberEdit(page, "DBEdit9");
    m_palace = widgets::lineEdit(page, "DBEdit6", "device", "palace");
    m_remark = widgets::memo(page, "DBMemo1", "device", "remark");
    m_remark->setFixedHeight(56);
    m_deviceEditors = new EditorSet(this);
    m_deviceEditors->add({m_devNo, m_devName, m_useDate, m_factory, m_linkTel, m_voltage, m_factoryDate,
                          m_power, m_curr, m_oldYear, m_palace, m_remark});

    auto* editors = new QGridLayout;
    addPair(editors, page, 0, 0, QStringLiteral("设备编号"), m_devNo);
    addPair(editors, page, 0, 1, QStringLiteral("设备名称"), m_devName);
    addPair(editors, page, 1, 0, QStringLiteral("安装日期"), m_useDate);
    addPair(editors, page, 1, 1, QStringLiteral("出厂日期"), m_factoryDate);
    addPair(editors, page, 2, 0, QStringLiteral("生产厂家"), m_factory);
    addPair(editors, page, 2, 1, QStringLiteral("厂家电话"), m_linkTel);
    addPair(editors, page, 3, 0, QStringLiteral("额定电压"), m_voltage);
    addPair(editors, page, 3, 1, QStringLiteral("额定功率"), m_power);
    addPair(editors, page, 4, 0, QStringLiteral("额定电流"), m_curr);
    addPair(editors, page, 4, 1, QStringLiteral("折旧年限"), m_oldYear);
    addPair(editors, page, 5, 0, QStringLiteral("安装位置"), m_palace, 2);
    addPair(editors, page, 6, 0, QStringLiteral("说明"), m_remark, 2);

    auto* print = widgets::button(page, "btnPrintDevice", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddDev", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelDev", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveDev", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnClose", QStringLiteral("退出 &c."));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(editors);
    layout->addStretch();
    layout->addLayout(widgets::buttonRow({print, add, remove, save, close}));

    // A new device starts with the dates last shown, and has no repairs yet.
    const auto clear = [this] {
        for (QLineEdit* box :
             {m_devNo, m_devName, m_factory, m_linkTel, m_voltage, m_power, m_curr, m_oldYear, m_palace})
            box->clear();
        m_remark->clear();
        m_repairForm->setParent(0);
    };
    m_deviceForm = new ParentRowForm(
        context(),
        {m_deviceGrid, m_devices, QStringLiteral("dev_id"), m_deviceEditors, m_devNo, add, save, remove,
         QStringLiteral("确实要删除此设备吗?")},
        {[](qlonglong kind) { return device_store::ofKind(kind); },
         [this, clear](qlonglong id) {
             const std::optional<Device> d = device_store::load(db(), id);
             if (!d) {
                 clear();
                 return;
             }
             m_devNo->setText(d->devNo);
             m_devName->setText(d->name);
             widgets::setDate(m_useDate, d->useDate);
             m_factory->setText(d->factory);
             m_linkTel->setText(d->linkTel);
             m_voltage->setText(d->voltage);
             widgets::setDate(m_factoryDate, d->factoryDate);
             m_power->setText(d->power);
             m_curr->setText(d->curr);
             m_oldYear->setText(d->oldYear ? QString::number(*d->oldYear) : QString());
             m_palace->setText(d->palace);
             m_remark->setPlainText(d->remark);
             m_repairForm->setParent(d->id);
         },
         clear, clear,
         [this](qlonglong id, qlonglong kind) {
             return device_store::save(db(), {id, kind, m_devNo->text(), m_devName->text(),
                                              widgets::dateOf(m_useDate), m_factory->text(),
                                              m_linkTel->text(), m_voltage->text(),
                                              widgets::dateOf(m_factoryDate), m_power->text(), m_curr->text(),
                                              m_oldYear->text(), m_palace->text(), m_remark->toPlainText()});
         },
         [this](qlonglong id) { device_store::remove(db(), id); }},
        this);

    connect(print, &QPushButton::clicked, this, &DevicesScreen::previewDevices);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* DevicesScreen::buildRepairPage()
{
    auto* page = new QWidget(this);
    m_repairs = new QueryListModel({{QStringLiteral("repair_id"), QStringLiteral("序号"), K::Number},
                                    {QStringLiteral("fault_time"), QStringLiteral("故障时间")},
                                    {QStringLiteral("fault_desc"), QStringLiteral("现象")},
                                    {QStringLiteral("result"), QStringLiteral("维修结果")},
                                    {QStringLiteral("cause"), QStringLiteral("原因")},
                                    {QStringLiteral("repair"), QStringLiteral("维修人员")},
                                    {QStringLiteral("repair_time"), QStringLiteral("维修时间")},
                                    {QStringLiteral("repair_money"), QStringLiteral("维修金额"), K::Decimal},
                                    {QStringLiteral("finish_time"), QStringLiteral("完工时间")}},
                                   this);
    auto* grid = widgets::grid(page, "DBGrid1", m_repairs);

    m_faultDate = dateTimeEdit(page, "dtpFaultTime");
    m_faultClock = timeEdit(page, "dtpTime1");
    m_faultDesc = widgets::lineEdit(page, "dbeFaultDesc", "repair", "fault_desc");
    m_cause = widgets::lineEdit(page, "DBEdit11", "repair", "cause");
    m_result = widgets::lineEdit(page, "DBEdit15", "repair", "result");
    m_repairer = widgets::lineEdit(page, "DBEdit12", "repair", "repair");
    m_money = widgets::numberEdit(page, "DBEdit13");
    m_repairDesc = widgets::memo(page, "DBMemo2", "repair", "repair_desc");
    m_repairDesc->setFixedHeight(48);
    m_finishDate = dateTimeEdit(page, "dtpFinishTime");
    m_finishClock = timeEdit(page, "dtpTime2");
    m_repairEditors = new EditorSet(this);
    m_repairEditors->add({m_faultDate, m_faultClock, m_faultDesc, m_cause, m_result, m_repairer, m_money,
                          m_repairDesc, m_finishDate, m_finishClock});

    auto* fault = new QHBoxLayout;
    fault->addWidget(m_faultDate, 1);
    fault->addWidget(m_faultClock);
    auto* finish = new QHBoxLayout;
    finish->addWidget(m_finishDate, 1);
    finish->addWidget(m_finishClock);
    auto* editors = new QGridLayout;
    editors->addWidget(new QLabel(QStringLiteral("故障时间"), page), 0, 0);
    editors->addLayout(fault, 0, 1);
    editors->addWidget(new QLabel(QStringLiteral("修理完成"), page), 0, 2);
    editors->addLayout(finish, 0, 3);
    addPair(editors, page, 1, 0, QStringLiteral("故障现象"), m_faultDesc);
    addPair(editors, page, 1, 1, QStringLiteral("故障原因"), m_cause);
    addPair(editors, page, 2, 0, QStringLiteral("维修结果"), m_result);
    addPair(editors, page, 2, 1, QStringLiteral("维修人"), m_repairer);
    addPair(editors, page, 3, 0, QStringLiteral("维修费"), m_money);
    addPair(editors, page, 4, 0, QStringLiteral("备注"), m_repairDesc, 2);

    auto* print = widgets::button(page, "BitBtn3", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddRepair", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelRepair", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveRepair", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "BitBtn2", QStringLiteral("退出 &c."));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(editors);
    layout->addLayout(widgets::buttonRow({print, add, remove, save, close}));

    // A new repair starts with the times last shown.
    const auto clear = [this] {
        for (QLineEdit* box : {m_faultDesc, m_cause, m_result, m_repairer, m_money})
            box->clear();
        m_repairDesc->clear();
    };
    m_repairForm =
        new ParentRowForm(context(),
                          {grid, m_repairs, QStringLiteral("repair_id"), m_repairEditors, m_faultDate, add,
                           save, remove, QStringLiteral("确实要删除此维修记录吗?")},
                          {[](qlonglong device) { return repair_store::ofDevice(device); },
                           [this, clear](qlonglong id) {
                               const std::optional<Repair> r = repair_store::load(db(), id);
                               if (!r) {
                                   clear();
                                   return;
                               }
                               showTime(r->faultTime, m_faultDate, m_faultClock);
                               showTime(r->finishTime, m_finishDate, m_finishClock);
                               m_faultDesc->setText(r->faultDesc);
                               m_cause->setText(r->cause);
                               m_result->setText(r->result);
                               m_repairer->setText(r->repairer);
                               m_money->setText(r->money ? r->money->toString(2) : QString());
                               m_repairDesc->setPlainText(r->desc);
                           },
                           clear, clear,
                           [this](qlonglong id, qlonglong device) {
                               RepairInput in;
                               in.id = id;
                               in.devId = device;
                               in.faultDate = dateOf(m_faultDate);
                               in.faultClock = m_faultClock->time();
                               in.faultDesc = m_faultDesc->text();
                               in.cause = m_cause->text();
                               in.result = m_result->text();
                               in.repairer = m_repairer->text();
                               in.money = m_money->text();
                               in.desc = m_repairDesc->toPlainText();
                               in.finishDate = dateOf(m_finishDate);
                               in.finishClock = m_finishClock->time();
                               return repair_store::save(db(), in);
                           },
                           [this](qlonglong id) { repair_store::remove(db(), id); }},
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
    ExportDescription d;
    d.title = QStringLiteral("工程设备一览表");
    using C = ExportColumn;
    d.columns = {
        // The number the office gives the device.
        C::text(QStringLiteral("设备编号"), QStringLiteral("dev_no")),
        C::text(QStringLiteral("设备名称"), QStringLiteral("dev_name")),
        C::date(QStringLiteral("安装日期"), QStringLiteral("use_date")),
        C::text(QStringLiteral("生产厂家"), QStringLiteral("factory")),
        C::text(QStringLiteral("厂家电话"), QStringLiteral("link_tel")),
        C::text(QStringLiteral("额定电压"), QStringLiteral("voltage")),
        C::date(QStringLiteral("出厂日期"), QStringLiteral("factory_date")),
        C::text(QStringLiteral("额定功率"), QStringLiteral("power")),
        C::text(QStringLiteral("额定电流"), QStringLiteral("curr")),
        C::text(QStringLiteral("折旧年限"), QStringLiteral("old_year")),
        C::text(QStringLiteral("安装位置"), QStringLiteral("palace")),
        C::text(QStringLiteral("说明"), QStringLiteral("remark")),
    };
    // The kind's devices as listed.
    StatementRecordSource rows(db(), device_store::ofKind(m_deviceForm->parentId()));
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_deviceGrid, 0);
}
