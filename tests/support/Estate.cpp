#include "support/Estate.h"

#include "core/Decimal2.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <stdexcept>

namespace {

// A typed amount as the database keeps it (hundredths); empty text is null.
QVariant hundredths(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::optional<Decimal2> d = Decimal2::parse(text);
    if (!d)
        throw std::runtime_error("not an amount in a test fact: " + text.toStdString());
    return d->toDb();
}

} // namespace

qlonglong Estate::insert(const QString& table, const QList<std::pair<QString, QVariant>>& values)
{
    try {
        return sql::insert(m_db, table, values);
    } catch (const DbError& e) {
        throw std::runtime_error("test fact refused: " + e.text().toStdString() + " " +
                                 e.detail().toStdString());
    }
}

qlonglong Estate::addBuilding(const QString& name)
{
    return insert(QStringLiteral("garden"), {{QStringLiteral("garden_name"), name}});
}

void Estate::addRoom(const Room& r)
{
    insert(QStringLiteral("rooms_info"), {{QStringLiteral("room_id"), r.id},
                                          {QStringLiteral("garden_id"), r.building},
                                          {QStringLiteral("build_area"), hundredths(r.buildArea)},
                                          {QStringLiteral("use_state"), r.useState},
                                          {QStringLiteral("match"), r.match}});
}

qlonglong Estate::addOwner(const Owner& o)
{
    return insert(QStringLiteral("owner_info"), {{QStringLiteral("owner_name"), o.name},
                                                 {QStringLiteral("in_out"), o.inOut},
                                                 {QStringLiteral("linker"), o.linker},
                                                 {QStringLiteral("link_tel"), o.linkTel},
                                                 {QStringLiteral("in_date"), o.inDate},
                                                 {QStringLiteral("jjlink"), o.jjlink},
                                                 {QStringLiteral("bail_money"), hundredths(o.bailMoney)},
                                                 {QStringLiteral("credit"), o.credit}});
}

qlonglong Estate::linkRoom(qlonglong owner, const QString& room, const QString& remark)
{
    return insert(QStringLiteral("owner_rooms"), {{QStringLiteral("owner_id"), owner},
                                                  {QStringLiteral("room_id"), room},
                                                  {QStringLiteral("relation_desc"), remark}});
}

qlonglong Estate::addMember(qlonglong owner, const QString& name, const QVariant& sex)
{
    return insert(QStringLiteral("member"), {{QStringLiteral("owner_id"), owner},
                                             {QStringLiteral("member_name"), name},
                                             {QStringLiteral("sex"), sex}});
}

qlonglong Estate::addCar(qlonglong owner, const QString& number, const QString& remark)
{
    return insert(QStringLiteral("car"), {{QStringLiteral("owner_id"), owner},
                                          {QStringLiteral("car_no"), number},
                                          {QStringLiteral("remark"), remark}});
}

qlonglong Estate::addParkingPlace(qlonglong owner, const QString& number)
{
    return insert(QStringLiteral("park"),
                  {{QStringLiteral("owner_id"), owner}, {QStringLiteral("park_no"), number}});
}

qlonglong Estate::addChargeType(const QString& name, const QString& unitPrice, const QString& rule)
{
    return insert(QStringLiteral("charge_type"), {{QStringLiteral("type_name"), name},
                                                  {QStringLiteral("unit_price"), hundredths(unitPrice)},
                                                  {QStringLiteral("take_type"), rule}});
}

qlonglong Estate::addFee(const Fee& f)
{
    return insert(QStringLiteral("charge_take"), {{QStringLiteral("owner_id"), f.owner},
                                                  {QStringLiteral("type_id"), f.type},
                                                  {QStringLiteral("should_pay"), hundredths(f.shouldPay)},
                                                  {QStringLiteral("payment_real"), hundredths(f.paid)},
                                                  {QStringLiteral("take_date"), f.date}});
}

qlonglong Estate::addDepartment(const QString& name)
{
    return insert(QStringLiteral("department"), {{QStringLiteral("dept_name"), name}});
}

qlonglong Estate::addGoodsType(const QString& name)
{
    return insert(QStringLiteral("goods_type"), {{QStringLiteral("type_name"), name}});
}

qlonglong Estate::addGoods(const Goods& g)
{
    return insert(QStringLiteral("goods"), {{QStringLiteral("goods_name"), g.name},
                                            {QStringLiteral("type_id"), g.type},
                                            {QStringLiteral("store_num"), g.stock},
                                            {QStringLiteral("sort_id"), g.sortId},
                                            {QStringLiteral("remark"), g.remark}});
}

qlonglong Estate::addPurchase(const Purchase& p)
{
    return insert(QStringLiteral("goods_buy"), {{QStringLiteral("goods_id"), p.goods},
                                                {QStringLiteral("num"), p.quantity},
                                                {QStringLiteral("buy_date"), p.date},
                                                {QStringLiteral("buyer"), p.buyer},
                                                {QStringLiteral("xhgg"), p.xhgg},
                                                {QStringLiteral("unit_price"), p.unitPrice},
                                                {QStringLiteral("remark"), p.remark}});
}

qlonglong Estate::addRequisition(const Requisition& r)
{
    return insert(QStringLiteral("take_goods"),
                  {{QStringLiteral("goods_id"), r.goods},
                   {QStringLiteral("dept_id"), r.dept == 0 ? QVariant() : QVariant(r.dept)},
                   {QStringLiteral("take_num"), r.quantity},
                   {QStringLiteral("take_date"), r.date},
                   {QStringLiteral("take_man"), r.takeMan},
                   {QStringLiteral("xhgg"), r.xhgg},
                   {QStringLiteral("remark"), r.remark}});
}

qlonglong Estate::addDeptGoods(qlonglong dept, qlonglong goods, const QVariant& quantity,
                               const QString& remark)
{
    return insert(QStringLiteral("dept_goods"), {{QStringLiteral("dept_id"), dept},
                                                 {QStringLiteral("goods_id"), goods},
                                                 {QStringLiteral("goods_num"), quantity},
                                                 {QStringLiteral("remark"), remark}});
}

qlonglong Estate::addService(const Service& s)
{
    return insert(QStringLiteral("service"), {{QStringLiteral("owner_id"), s.owner},
                                              {QStringLiteral("worker"), s.worker},
                                              {QStringLiteral("start_time"), s.startTime},
                                              {QStringLiteral("finish_time"), s.finishTime},
                                              {QStringLiteral("material_money"), hundredths(s.materialMoney)},
                                              {QStringLiteral("serve_money"), hundredths(s.serveMoney)},
                                              {QStringLiteral("need_material"), s.needMaterial},
                                              {QStringLiteral("owner_check"), s.ownerCheck},
                                              {QStringLiteral("if_take"), s.ifTake},
                                              {QStringLiteral("contents"), s.contents}});
}

qlonglong Estate::addComplaint(const Complaint& c)
{
    return insert(QStringLiteral("advice"), {{QStringLiteral("owner_id"), c.owner},
                                             {QStringLiteral("advice_name"), c.name},
                                             {QStringLiteral("advice_time"), c.time},
                                             {QStringLiteral("serve_name"), c.serveName},
                                             {QStringLiteral("revert"), c.revert},
                                             {QStringLiteral("revert_type"), c.revertType},
                                             {QStringLiteral("satisfy"), c.satisfy},
                                             {QStringLiteral("advice_type"), c.type},
                                             {QStringLiteral("advice_content"), c.content},
                                             {QStringLiteral("deal_content"), c.dealContent}});
}

qlonglong Estate::addFitOut(const FitOut& f)
{
    return insert(QStringLiteral("fitment"), {{QStringLiteral("owner_id"), f.owner},
                                              {QStringLiteral("company_name"), f.company},
                                              {QStringLiteral("start_date"), f.startDate},
                                              {QStringLiteral("end_date"), f.endDate},
                                              {QStringLiteral("licence"), f.licence},
                                              {QStringLiteral("fit_tel"), f.tel},
                                              {QStringLiteral("address"), f.address},
                                              {QStringLiteral("checker"), f.checker},
                                              {QStringLiteral("fit_content"), f.content}});
}

qlonglong Estate::addDeviceType(const QString& name)
{
    return insert(QStringLiteral("dev_type"), {{QStringLiteral("type_name"), name}});
}

qlonglong Estate::addDevice(const Device& d)
{
    return insert(QStringLiteral("device"), {{QStringLiteral("type_id"), d.type},
                                             {QStringLiteral("dev_no"), d.number},
                                             {QStringLiteral("dev_name"), d.name},
                                             {QStringLiteral("use_date"), d.useDate},
                                             {QStringLiteral("factory_date"), d.factoryDate},
                                             {QStringLiteral("factory"), d.factory},
                                             {QStringLiteral("link_tel"), d.linkTel},
                                             {QStringLiteral("voltage"), d.voltage},
                                             {QStringLiteral("power"), d.power},
                                             {QStringLiteral("curr"), d.curr},
                                             {QStringLiteral("old_year"), d.oldYear},
                                             {QStringLiteral("palace"), d.palace},
                                             {QStringLiteral("remark"), d.remark}});
}

qlonglong Estate::addRepair(const Repair& r)
{
    return insert(QStringLiteral("repair"), {{QStringLiteral("dev_id"), r.device},
                                             {QStringLiteral("fault_desc"), r.faultDesc},
                                             {QStringLiteral("fault_time"), r.faultTime},
                                             {QStringLiteral("finish_time"), r.finishTime},
                                             {QStringLiteral("repair_time"), r.repairTime},
                                             {QStringLiteral("cause"), r.cause},
                                             {QStringLiteral("result"), r.result},
                                             {QStringLiteral("repair"), r.repairer},
                                             {QStringLiteral("repair_money"), hundredths(r.money)},
                                             {QStringLiteral("repair_desc"), r.desc}});
}

qlonglong Estate::addEvent(const Event& e)
{
    return insert(QStringLiteral("event"), {{QStringLiteral("event_name"), e.name},
                                            {QStringLiteral("event_type"), e.type},
                                            {QStringLiteral("deal_man"), e.dealMan},
                                            {QStringLiteral("take_time"), e.takeTime},
                                            {QStringLiteral("take_address"), e.address},
                                            {QStringLiteral("detail"), e.detail},
                                            {QStringLiteral("deal_result"), e.dealResult}});
}

qlonglong Estate::addFireZone(const FireZone& z)
{
    return insert(QStringLiteral("fire_area"), {{QStringLiteral("area_name"), z.areaName},
                                                {QStringLiteral("grade"), z.grade},
                                                {QStringLiteral("address"), z.address},
                                                {QStringLiteral("fire_area"), z.fireArea},
                                                {QStringLiteral("checker"), z.checker},
                                                {QStringLiteral("cycle"), z.cycle},
                                                {QStringLiteral("fireman"), z.fireman},
                                                {QStringLiteral("equipment"), z.equipment},
                                                {QStringLiteral("remark"), z.remark}});
}

qlonglong Estate::addCleaningArea(const CleaningArea& a)
{
    return insert(QStringLiteral("condition"), {{QStringLiteral("area_name"), a.areaName},
                                                {QStringLiteral("charger"), a.charger},
                                                {QStringLiteral("cycle"), a.cycle},
                                                {QStringLiteral("remark"), a.remark}});
}

qlonglong Estate::addActivity(const Activity& a)
{
    return insert(QStringLiteral("community"), {{QStringLiteral("ploy_name"), a.name},
                                                {QStringLiteral("main_dept"), a.mainDept},
                                                {QStringLiteral("second_dept"), a.secondDept},
                                                {QStringLiteral("affiche"), a.affiche},
                                                {QStringLiteral("start_date"), a.startDate},
                                                {QStringLiteral("end_date"), a.endDate},
                                                {QStringLiteral("charge_man"), a.chargeMan},
                                                {QStringLiteral("ploy_money"), a.ployMoney},
                                                {QStringLiteral("money_take"), a.moneyTake},
                                                {QStringLiteral("take_people"), a.takePeople},
                                                {QStringLiteral("circs"), a.circs},
                                                {QStringLiteral("remark"), a.remark}});
}

qlonglong Estate::addServiceOrder(const ServiceOrder& o)
{
    return insert(QStringLiteral("serveorder"), {{QStringLiteral("owner_id"), o.owner},
                                                 {QStringLiteral("record_date"), o.recordDate},
                                                 {QStringLiteral("send_dept"), o.sendDept},
                                                 {QStringLiteral("rece_dept"), o.receDept},
                                                 {QStringLiteral("order_time"), o.orderTime},
                                                 {QStringLiteral("recorder"), o.recorder},
                                                 {QStringLiteral("link_tel"), o.linkTel},
                                                 {QStringLiteral("take_stand"), o.takeStand},
                                                 {QStringLiteral("take_money"), hundredths(o.takeMoney)},
                                                 {QStringLiteral("big_money"), o.bigMoney},
                                                 {QStringLiteral("cust_write"), o.custWrite},
                                                 {QStringLiteral("server_item"), o.serverItem},
                                                 {QStringLiteral("remark"), o.remark}});
}

qlonglong Estate::addEmployee(qlonglong dept, const QString& name)
{
    return insert(QStringLiteral("employee"),
                  {{QStringLiteral("dept_id"), dept}, {QStringLiteral("emp_name"), name}});
}
