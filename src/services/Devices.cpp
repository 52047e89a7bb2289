#include "services/Devices.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace device_store {
namespace {

const RecordMap<Device>& map()
{
    using M = RecordMap<Device>;
    static const M m = M(QStringLiteral("device"), "dev_id", &Device::id)
                           .field("type_id", &Device::typeId, M::Write::OnInsert)
                           .field("dev_no", &Device::devNo)
                           .field("dev_name", &Device::name)
                           .field("use_date", &Device::useDate)
                           .field("factory", &Device::factory)
                           .field("link_tel", &Device::linkTel)
                           .field("voltage", &Device::voltage)
                           .field("factory_date", &Device::factoryDate)
                           .field("power", &Device::power)
                           .field("curr", &Device::curr)
                           .field("old_year", &Device::oldYear)
                           .field("palace", &Device::palace)
                           .memo("remark", &Device::remark);
    return m;
}

} // namespace

QList<NamedKey> kinds(const QSqlDatabase& db)
{
    QSqlQuery q = sql::exec(db, QStringLiteral("select type_id, type_name from dev_type order by type_id"));
    QList<NamedKey> kinds;
    while (q.next())
        kinds.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return kinds;
}

std::optional<qlonglong> kindByName(const QSqlDatabase& db, const QString& name)
{
    const QVariant id = sql::scalar(
        db, QStringLiteral("select type_id from dev_type where type_name = ? order by type_id limit 1"),
        {name.trimmed()});
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

ListQuery ofKind(qlonglong typeId)
{
    if (typeId == 0)
        return {QStringLiteral("device"), QStringLiteral("1 = 0"), {}, {QStringLiteral("dev_id")}};
    return {QStringLiteral("device"), QStringLiteral("type_id = ?"), {typeId}, {QStringLiteral("dev_id")}};
}

std::optional<Device> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Device device)
{
    return map().insert(db, device).toLongLong();
}

void update(const QSqlDatabase& db, const Device& device)
{
    map().update(db, device);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

DeviceInput typed(const Device& device)
{
    return {device.id,      device.typeId,  device.devNo,
            device.name,    device.useDate, device.factory,
            device.linkTel, device.voltage, device.factoryDate,
            device.power,   device.curr,    device.oldYear ? QString::number(*device.oldYear) : QString(),
            device.palace,  device.remark};
}

Checked<qlonglong> save(const QSqlDatabase& db, const DeviceInput& input)
{
    Device device;
    device.id = input.id;
    device.typeId = input.typeId;
    device.devNo = input.devNo.trimmed();
    device.name = input.name.trimmed();
    if (device.devNo.isEmpty())
        return Refusal{QStringLiteral("请输入设备编号！"), QStringLiteral("dev_no")};
    if (device.name.isEmpty())
        return Refusal{QStringLiteral("请输入设备名称！"), QStringLiteral("dev_name")};
    const number_input::Whole years = number_input::whole(input.oldYear, "device", "old_year");
    if (years.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("折旧年限需要填写整数！"), QStringLiteral("old_year")};
    if (years.result == number_input::Result::Number)
        device.oldYear = static_cast<int>(years.value);
    device.useDate = input.useDate;
    device.factory = input.factory.trimmed();
    device.linkTel = input.linkTel.trimmed();
    device.voltage = input.voltage.trimmed();
    device.factoryDate = input.factoryDate;
    device.power = input.power.trimmed();
    device.curr = input.curr.trimmed();
    device.palace = input.palace.trimmed();
    device.remark = input.remark;
    if (device.id == 0)
        return insert(db, device);
    update(db, device);
    return device.id;
}

} // namespace device_store

namespace repair_store {
namespace {

const RecordMap<Repair>& map()
{
    using M = RecordMap<Repair>;
    static const M m = M(QStringLiteral("repair"), "repair_id", &Repair::id)
                           .field("dev_id", &Repair::devId, M::Write::OnInsert)
                           .field("fault_time", &Repair::faultTime)
                           .field("fault_desc", &Repair::faultDesc)
                           .field("cause", &Repair::cause)
                           .field("result", &Repair::result)
                           .field("repair", &Repair::repairer)
                           .field("repair_time", &Repair::repairTime, M::Write::OnInsert)
                           .field("repair_money", &Repair::money)
                           .memo("repair_desc", &Repair::desc)
                           .field("finish_time", &Repair::finishTime);
    return m;
}

QString stored(const QDate& date, const QTime& clock)
{
    if (!date.isValid())
        return {};
    return sql::dateValue(date).toString() + u' ' + QTime(clock.hour(), clock.minute()).toString(u"HH:mm:ss");
}

} // namespace

ListQuery ofDevice(qlonglong devId)
{
    if (devId == 0)
        return {QStringLiteral("repair"), QStringLiteral("1 = 0"), {}, {QStringLiteral("repair_id")}};
    return {QStringLiteral("repair"), QStringLiteral("dev_id = ?"), {devId}, {QStringLiteral("repair_id")}};
}

std::optional<Repair> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Repair repair)
{
    return map().insert(db, repair).toLongLong();
}

void update(const QSqlDatabase& db, const Repair& repair)
{
    map().update(db, repair);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

RepairInput typed(const Repair& repair)
{
    const QDateTime fault = toDateTime(repair.faultTime);
    const QDateTime finish = toDateTime(repair.finishTime);
    return {repair.id,
            repair.devId,
            fault.date(),
            fault.isValid() ? fault.time() : QTime(0, 0),
            repair.faultDesc,
            repair.cause,
            repair.result,
            repair.repairer,
            repair.money ? repair.money->toString(2) : QString(),
            repair.desc,
            finish.date(),
            finish.isValid() ? finish.time() : QTime(0, 0)};
}

Checked<qlonglong> save(const QSqlDatabase& db, const RepairInput& input)
{
    Repair repair;
    repair.id = input.id;
    repair.devId = input.devId;
    repair.faultDesc = input.faultDesc.trimmed();
    if (repair.faultDesc.isEmpty())
        return Refusal{QStringLiteral("请输入故障原因！"), QStringLiteral("fault_desc")};
    const number_input::Decimal money = number_input::decimal(input.money, "repair", "repair_money");
    if (money.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("维修费需要填写数字！"), QStringLiteral("repair_money")};
    if (money.result == number_input::Result::Number)
        repair.money = money.value;
    repair.faultTime = stored(input.faultDate, input.faultClock);
    repair.finishTime = stored(input.finishDate, input.finishClock);
    repair.cause = input.cause.trimmed();
    repair.result = input.result.trimmed();
    repair.repairer = input.repairer.trimmed();
    repair.desc = input.desc;
    if (repair.id == 0)
        return insert(db, repair);
    update(db, repair);
    return repair.id;
}

QDateTime toDateTime(const QString& stored)
{
    const QString s = stored.trimmed();
    QDateTime t = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        t = QDateTime(sql::toDate(s), QTime(0, 0));
    return t.date().isValid() ? t : QDateTime();
}

} // namespace repair_store

ExportDescription device_store::exported()
{
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
    return d;
}
