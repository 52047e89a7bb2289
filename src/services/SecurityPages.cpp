#include "services/SecurityPages.h"

#include "gui/WidgetFactory.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"
#include "services/Security.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

using K = ListColumn::Kind;

std::optional<QVariant> storedKey(const Checked<qlonglong>& result, Messages& messages)
{
    if (!result.ok()) {
        messages.information(result.refusal().text);
        return std::nullopt;
    }
    return QVariant(result.value());
}

void showPrinted(const ScreenContext& context, const ReportLayout& layout, const ReportStatement& s,
                 QWidget* parent)
{
    runAction(*context.messages, [&] {
        StatementRecordSource rows(context.db, s.text, s.values);
        context.reports->preview(layout, rows, parent);
    });
}

} // namespace

SecurityEventsPage::SecurityEventsPage(const ScreenContext& context, QWidget* parent)
    : WorkingCopyPage(context,
                      {"DBGrid1",
                       {{QStringLiteral("event_id"), QStringLiteral("序号"), K::Number},
                        {QStringLiteral("event_name"), QStringLiteral("事件名称")}},
                       QStringLiteral("event_id"),
                       {"btnPrintEvent", QStringLiteral("预览 &p.")},
                       {"btnAdd", QStringLiteral("增加 &a")},
                       {"btnDel", QStringLiteral("删除 &d.")},
                       {"btnSave", QStringLiteral("保存 &s.")},
                       {"btnCancel2", QStringLiteral("退出 &e.")}},
                      parent)
{
    QWidget* area = editorArea();
    m_name = widgets::lineEdit(area, "edtEventName", "event", "event_name");
    m_type = widgets::lineEdit(area, "edtEventType", "event", "event_type");
    m_dealMan = widgets::lineEdit(area, "edtDealMan", "event", "deal_man");
    m_takeTime = widgets::dateEdit(area, "dtpTakeTime");
    m_takeTime->setDate(context.clock->today());
    m_address = widgets::lineEdit(area, "edtAddress", "event", "take_address");
    m_detail = widgets::memo(area, "memDetail", "event", "detail");
    m_dealResult = widgets::memo(area, "memDealResult", "event", "deal_result");

    auto* form = new QFormLayout(area);
    form->addRow(QStringLiteral("事件名称"), m_name);
    form->addRow(QStringLiteral("事件类型"), m_type);
    form->addRow(QStringLiteral("处理人"), m_dealMan);
    form->addRow(QStringLiteral("发生时间"), m_takeTime);
    form->addRow(QStringLiteral("发生地点"), m_address);
    form->addRow(QStringLiteral("事件缘由"), m_detail);
    form->addRow(QStringLiteral("处理结果"), m_dealResult);
    begin();
}

ListQuery SecurityEventsPage::listQuery() const
{
    return event_store::list();
}

void SecurityEventsPage::showRecord(const QVariant& key)
{
    const std::optional<SecurityEvent> e = event_store::load(db(), key.toLongLong());
    if (!e)
        return;
    m_name->setText(e->name);
    m_dealMan->setText(e->dealMan);
    m_type->setText(e->type);
    m_detail->setPlainText(e->detail);
    m_dealResult->setPlainText(e->dealResult);
    widgets::setDate(m_takeTime, e->takeTime);
    m_address->setText(e->address);
}

void SecurityEventsPage::clearForNew()
{
    for (QLineEdit* box : {m_name, m_address, m_type, m_dealMan})
        box->clear();
    m_detail->clear();
    m_dealResult->clear();
    m_takeTime->setDate(context().clock->today());
    m_name->setFocus();
}

std::optional<QVariant> SecurityEventsPage::storeRecord(const QVariant& key)
{
    SecurityEvent e;
    e.id = key.toLongLong();
    e.name = m_name->text();
    e.type = m_type->text();
    e.dealMan = m_dealMan->text();
    e.takeTime = widgets::dateOf(m_takeTime);
    e.address = m_address->text();
    e.detail = m_detail->toPlainText();
    e.dealResult = m_dealResult->toPlainText();
    return storedKey(event_store::save(db(), e), messages());
}

void SecurityEventsPage::removeRecord(const QVariant& key)
{
    event_store::remove(db(), key.toLongLong());
}

void SecurityEventsPage::print()
{
    showPrinted(context(), reports::rptEvent(), reports::eventStatement(), this);
}

FireZonesPage::FireZonesPage(const ScreenContext& context, QWidget* parent)
    : WorkingCopyPage(context,
                      {"DBGrid2",
                       {{QStringLiteral("fire_id"), QStringLiteral("序号"), K::Number},
                        {QStringLiteral("area_name"), QStringLiteral("区域名称")}},
                       QStringLiteral("fire_id"),
                       {"btnPrintArea", QStringLiteral("预览 &p.")},
                       {"btnAddFire", QStringLiteral("增加 &a")},
                       {"btnDelFire", QStringLiteral("删除 &d.")},
                       {"btnSaveFire", QStringLiteral("保存 &s.")},
                       {"BitBtn1", QStringLiteral("退出 &e.")}},
                      parent)
{
    QWidget* area = editorArea();
    m_areaName = widgets::lineEdit(area, "edtAreaName", "fire_area", "area_name");
    m_grade = widgets::lineEdit(area, "edtGrade", "fire_area", "grade");
    m_address = widgets::lineEdit(area, "edtAddressFire", "fire_area", "address");
    m_fireArea = widgets::lineEdit(area, "edtFireArea", "fire_area", "fire_area");
    m_checker = widgets::lineEdit(area, "edtChecker", "fire_area", "checker");
    m_cycle = widgets::lineEdit(area, "edtCycle", "fire_area", "cycle");
    m_fireman = widgets::lineEdit(area, "edtFireMan", "fire_area", "fireman");
    m_equipment = widgets::lineEdit(area, "edtEquipment", "fire_area", "equipment");
    m_remark = widgets::memo(area, "memRemark", "fire_area", "remark");

    auto* form = new QFormLayout(area);
    form->addRow(QStringLiteral("片区名"), m_areaName);
    form->addRow(QStringLiteral("消防级别"), m_grade);
    form->addRow(QStringLiteral("地点"), m_address);
    form->addRow(QStringLiteral("消防面积"), m_fireArea);
    form->addRow(QStringLiteral("查验人"), m_checker);
    form->addRow(QStringLiteral("查验周期"), m_cycle);
    form->addRow(QStringLiteral("负责人"), m_fireman);
    form->addRow(QStringLiteral("配备设备"), m_equipment);
    form->addRow(QStringLiteral("备注"), m_remark);
    begin();
}

ListQuery FireZonesPage::listQuery() const
{
    return fire_zone_store::list();
}

void FireZonesPage::showRecord(const QVariant& key)
{
    const std::optional<FireZone> z = fire_zone_store::load(db(), key.toLongLong());
    if (!z)
        return;
    m_areaName->setText(z->areaName);
    m_address->setText(z->address);
    m_fireArea->setText(z->fireArea);
    m_grade->setText(z->grade);
    m_cycle->setText(z->cycle);
    m_fireman->setText(z->fireman);
    m_equipment->setText(z->equipment);
    m_checker->setText(z->checker);
    m_remark->setPlainText(z->remark);
}

void FireZonesPage::clearForNew()
{
    for (QLineEdit* box :
         {m_areaName, m_grade, m_address, m_fireArea, m_checker, m_cycle, m_fireman, m_equipment})
        box->clear();
    m_remark->clear();
    m_areaName->setFocus();
}

std::optional<QVariant> FireZonesPage::storeRecord(const QVariant& key)
{
    FireZone z;
    z.id = key.toLongLong();
    z.areaName = m_areaName->text();
    z.grade = m_grade->text();
    z.address = m_address->text();
    z.fireArea = m_fireArea->text();
    z.checker = m_checker->text();
    z.cycle = m_cycle->text();
    z.fireman = m_fireman->text();
    z.equipment = m_equipment->text();
    z.remark = m_remark->toPlainText();
    return storedKey(fire_zone_store::save(db(), z), messages());
}

void FireZonesPage::removeRecord(const QVariant& key)
{
    fire_zone_store::remove(db(), key.toLongLong());
}

void FireZonesPage::print()
{
    showPrinted(context(), reports::rptFire(), reports::fireStatement(), this);
}
