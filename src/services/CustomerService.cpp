#include "services/CustomerService.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

#include <QRegularExpression>

namespace typed_time {

Read read(const QString& text)
{
    QString s = number_input::normalised(text);
    if (s.isEmpty())
        return {};
    s.replace(u'：', u':').replace(u'\u3000', u' ');
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:(?:\\s+|T)(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = shape.match(s);
    if (!m.hasMatch())
        return {Result::NotADateTime, {}};
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || date.year() < 1 || !time.isValid())
        return {Result::NotADateTime, {}};
    return {Result::DateTime, date.toString(Qt::ISODate) + u' ' + time.toString(QStringLiteral("HH:mm:ss"))};
}

} // namespace typed_time

namespace {

// No owner chosen lists nothing, not the records stored without an owner.
ListQuery ownersRecords(const QString& table, const QVariant& ownerId, bool none, const QString& key)
{
    if (none)
        return {table, QStringLiteral("1 = 0"), {}, {key}};
    return {table, QStringLiteral("owner_id = ?"), {ownerId}, {key}};
}

} // namespace

namespace service_store {
namespace {

const RecordMap<ServiceJob>& map()
{
    using M = RecordMap<ServiceJob>;
    static const M m = M(QStringLiteral("service"), "serve_id", &ServiceJob::id)
                           .field("owner_id", &ServiceJob::ownerId, M::Write::OnInsert)
                           .memo("contents", &ServiceJob::contents)
                           .field("worker", &ServiceJob::worker)
                           .field("owner_check", &ServiceJob::ownerCheck)
                           .field("start_time", &ServiceJob::startTime)
                           .field("finish_time", &ServiceJob::finishTime)
                           .field("material_money", &ServiceJob::materialMoney)
                           .field("serve_money", &ServiceJob::serveMoney)
                           .field("need_material", &ServiceJob::needMaterial)
                           .field("if_take", &ServiceJob::ifTake, M::Write::OnInsert);
    return m;
}

} // namespace

ListQuery ofOwner(qlonglong ownerId)
{
    return ownersRecords(QStringLiteral("service"), ownerId, ownerId == 0, QStringLiteral("serve_id"));
}

std::optional<ServiceJob> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, ServiceJob job)
{
    return map().insert(db, job).toLongLong();
}

void update(const QSqlDatabase& db, const ServiceJob& job)
{
    map().update(db, job);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

ServiceJobInput typed(const ServiceJob& job)
{
    const auto money = [](const std::optional<Money>& m) { return m ? m->toString(2) : QString(); };
    return {job.id,
            job.ownerId,
            job.contents,
            job.worker,
            job.ownerCheck,
            job.startTime,
            job.finishTime,
            money(job.materialMoney),
            money(job.serveMoney),
            job.needMaterial};
}

Checked<qlonglong> save(const QSqlDatabase& db, const ServiceJobInput& input)
{
    ServiceJob job;
    job.id = input.id;
    job.ownerId = input.ownerId;
    job.contents = input.contents;
    job.worker = input.worker.trimmed();
    job.ownerCheck = input.ownerCheck.trimmed();
    job.needMaterial = input.needMaterial.trimmed();

    const auto time = [](const QString& text, const char* column, const QString& label,
                         QString& out) -> std::optional<Refusal> {
        const typed_time::Read read = typed_time::read(text);
        if (read.result == typed_time::Result::NotADateTime)
            return Refusal{label + QStringLiteral("不是有效的时间，请按“2026-12-10 09:30”的格式填写！"),
                           QString::fromLatin1(column)};
        out = read.value;
        return std::nullopt;
    };
    const auto money = [](const QString& text, const char* column, const QString& label,
                          std::optional<Money>& out) -> std::optional<Refusal> {
        const number_input::Decimal read = number_input::decimal(text, "service", column);
        if (read.result == number_input::Result::NotANumber)
            return Refusal{label + QStringLiteral("需要填写数字！"), QString::fromLatin1(column)};
        if (read.result == number_input::Result::Number)
            out = read.value;
        return std::nullopt;
    };
    for (const std::optional<Refusal>& refusal :
         {time(input.startTime, "start_time", QStringLiteral("开始时间"), job.startTime),
          time(input.finishTime, "finish_time", QStringLiteral("结束时间"), job.finishTime),
          money(input.materialMoney, "material_money", QStringLiteral("材料费"), job.materialMoney),
          money(input.serveMoney, "serve_money", QStringLiteral("服务费"), job.serveMoney)}) {
        if (refusal)
            return *refusal;
    }
    if (job.id == 0)
        return insert(db, job);
    update(db, job);
    return job.id;
}

} // namespace service_store

namespace complaint_store {
namespace {

const RecordMap<Complaint>& map()
{
    using M = RecordMap<Complaint>;
    static const M m = M(QStringLiteral("advice"), "advice_id", &Complaint::id)
                           .field("owner_id", &Complaint::ownerId, M::Write::OnInsert)
                           .field("advice_name", &Complaint::name)
                           .field("advice_type", &Complaint::type, M::Write::OnInsert)
                           .field("advice_time", &Complaint::time)
                           .field("serve_name", &Complaint::serveName)
                           .field("revert", &Complaint::revert)
                           .field("revert_type", &Complaint::revertType)
                           .field("satisfy", &Complaint::satisfy)
                           .memo("advice_content", &Complaint::content)
                           .memo("deal_content", &Complaint::dealContent);
    return m;
}

} // namespace

ListQuery ofOwner(qlonglong ownerId)
{
    return ownersRecords(QStringLiteral("advice"), ownerId, ownerId == 0, QStringLiteral("advice_id"));
}

std::optional<Complaint> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Complaint complaint)
{
    return map().insert(db, complaint).toLongLong();
}

void update(const QSqlDatabase& db, const Complaint& complaint)
{
    map().update(db, complaint);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, Complaint complaint)
{
    for (QString* text : {&complaint.name, &complaint.serveName, &complaint.revert, &complaint.revertType,
                          &complaint.satisfy})
        *text = text->trimmed();
    if (complaint.name.isEmpty())
        return Refusal{QStringLiteral("请填写投诉对象名称")};
    if (complaint.id == 0)
        return insert(db, complaint);
    update(db, complaint);
    return complaint.id;
}

} // namespace complaint_store

namespace fitout_store {
namespace {

const RecordMap<FitOutPermit>& map()
{
    using M = RecordMap<FitOutPermit>;
    static const M m = M(QStringLiteral("fitment"), "fit_id", &FitOutPermit::id)
                           .field("owner_id", &FitOutPermit::ownerId, M::Write::OnInsert)
                           .field("start_date", &FitOutPermit::startDate)
                           .field("end_date", &FitOutPermit::endDate)
                           .field("company_name", &FitOutPermit::companyName)
                           .field("licence", &FitOutPermit::licence)
                           .field("fit_tel", &FitOutPermit::tel)
                           .field("address", &FitOutPermit::address)
                           .field("checker", &FitOutPermit::checker)
                           .memo("fit_content", &FitOutPermit::content);
    return m;
}

} // namespace

ListQuery ofOwner(qlonglong ownerId)
{
    // The owner column is text: the owner's number is compared as text.
    return ownersRecords(QStringLiteral("fitment"), QString::number(ownerId), ownerId == 0,
                         QStringLiteral("fit_id"));
}

std::optional<FitOutPermit> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, FitOutPermit permit)
{
    return map().insert(db, permit).toLongLong();
}

void update(const QSqlDatabase& db, const FitOutPermit& permit)
{
    map().update(db, permit);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, FitOutPermit permit)
{
    for (QString* text :
         {&permit.companyName, &permit.licence, &permit.tel, &permit.address, &permit.checker})
        *text = text->trimmed();
    if (permit.companyName.isEmpty())
        return Refusal{QStringLiteral("请填写装修公司名称")};
    if (permit.id == 0)
        return insert(db, permit);
    update(db, permit);
    return permit.id;
}

} // namespace fitout_store

ExportDescription service_store::exported(const QString& ownerName)
{
    ExportDescription d;
    d.title = QStringLiteral("住户服务信息");
    d.titleWidth = 13;
    d.columnWidths = {{1, 10}};
    using C = ExportColumn;
    d.columns = {
        C::screenValue(QStringLiteral("住户名称"), ownerName),
        C::text(QStringLiteral("服务人"), QStringLiteral("worker")),
        C::text(QStringLiteral("开始时间"), QStringLiteral("start_time")),
        C::text(QStringLiteral("原料费用"), QStringLiteral("material_money"), FieldFormat::Decimal),
        C::text(QStringLiteral("服务费用"), QStringLiteral("serve_money"), FieldFormat::Decimal),
        C::text(QStringLiteral("已付费"), QStringLiteral("if_take")),
        C::text(QStringLiteral("所需原料"), QStringLiteral("need_material")),
        C::text(QStringLiteral("用户验收"), QStringLiteral("owner_check")),
        // No column of a service job goes under this caption.
        C::screenValue(QStringLiteral("装修情况"), QString()),
        C::text(QStringLiteral("结束时间"), QStringLiteral("finish_time")),
    };
    return d;
}
