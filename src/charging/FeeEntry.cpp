#include "charging/FeeEntry.h"

#include "charging/ChargeType.h"
#include "charging/FeeRules.h"
#include "db/NumberInput.h"
#include "db/Sql.h"

namespace fee_entry {
namespace {

const Refusal kNoSuchType{QStringLiteral("没有此费用的信息,请重新输入！"), QStringLiteral("type_id")};

// The type chosen from the list, or the first of the typed name.
std::optional<ChargeType> typeOf(const QSqlDatabase& db, const FeeInput& input)
{
    if (input.typeId != 0) {
        if (std::optional<ChargeType> chosen = charge_type_store::load(db, input.typeId))
            return chosen;
    }
    return charge_type_store::findByName(db, input.typeName);
}

} // namespace

Checked<QString> computeAmount(const QSqlDatabase& db, const FeeInput& input)
{
    const std::optional<ChargeType> type = typeOf(db, input);
    if (!type)
        return kNoSuchType;
    const BillingRule rule = type->rule();
    if (rule == BillingRule::AreaMonths || rule == BillingRule::PriceMonths) {
        if (input.lastMonth < input.firstMonth)
            return Refusal{QStringLiteral("起始日期不能大于结束日期！"), QStringLiteral("end_num")};
        const int months = fee_rules::months(input.firstMonth, input.lastMonth);
        if (rule == BillingRule::PriceMonths) {
            if (!type->unitPrice)
                return Refusal{QStringLiteral("还未设置此费用参数！")};
            return fee_rules::amountText(fee_rules::priceAmount(months, *type->unitPrice));
        }
        if (!type->unitPrice)
            return Refusal{QStringLiteral("还未设置物业费参数！")};
        qlonglong owner = input.ownerId;
        if (input.recordId != 0) {
            if (const std::optional<FeeRecord> record = fee_store::load(db, input.recordId))
                owner = record->ownerId;
        }
        const std::optional<Area> area = fee_store::billedArea(db, owner);
        if (!area)
            return Refusal{QStringLiteral("此住户还未设置付费房间！")};
        return fee_rules::amountText(fee_rules::areaAmount(months, *type->unitPrice, *area));
    }
    if (rule == BillingRule::Meter) {
        const std::optional<Decimal2> previous = fee_rules::reading(input.previousReading);
        if (!previous)
            return Refusal{QStringLiteral("上次度数需要填写数字！"), QStringLiteral("start_num")};
        const std::optional<Decimal2> current = fee_rules::reading(input.currentReading);
        if (!current)
            return Refusal{QStringLiteral("本次度数需要填写数字！"), QStringLiteral("end_num")};
        if (*current < *previous)
            return Refusal{QStringLiteral("当前度数不能小于上次的度数！"), QStringLiteral("end_num")};
        if (!type->unitPrice)
            return Refusal{QStringLiteral("还未设置物业费参数！")};
        return fee_rules::amountText(fee_rules::meterAmount(*previous, *current, *type->unitPrice));
    }
    return QString(); // typed by hand
}

Checked<FeeRecord> check(const QSqlDatabase& db, const FeeInput& input)
{
    const auto refuse = [](const char16_t* text, const char* field) {
        return Refusal{QString::fromUtf16(text), QString::fromLatin1(field)};
    };
    if (input.ownerId == 0)
        return refuse(u"请先选择一个住户！", "owner_id");
    if (input.typeName.trimmed().isEmpty())
        return refuse(u"请选择费用名称！", "type_id");
    const number_input::Decimal due = number_input::decimal(input.shouldPay, "charge_take", "should_pay");
    if (due.result == number_input::Result::Empty)
        return refuse(u"请输入应付款！", "should_pay");
    if (due.result == number_input::Result::NotANumber)
        return refuse(u"应付款需要填写数字！", "should_pay");
    if (!fee_rules::reading(input.previousReading))
        return refuse(u"上次缴费度数需要填写数字！", "start_num");
    if (!fee_rules::reading(input.currentReading))
        return refuse(u"本次缴费度数需要填写数字！", "end_num");
    const number_input::Decimal paid = number_input::decimal(input.paid, "charge_take", "payment_real");
    if (paid.result == number_input::Result::NotANumber)
        return refuse(u"实际付费需要填写数字！", "payment_real");
    const std::optional<ChargeType> type = typeOf(db, input);
    if (!type)
        return kNoSuchType;
    if (paid.value > due.value)
        return refuse(u"实付款不需要付这么多！", "payment_real");

    FeeRecord record;
    if (input.recordId != 0) {
        record = fee_store::load(db, input.recordId).value_or(FeeRecord{});
        record.id = input.recordId; // a record removed meanwhile is reported when stored
    } else {
        record.ownerId = input.ownerId;
    }
    record.typeId = type->id;
    record.shouldPay = due.value;
    record.paymentReal = paid.value;
    switch (type->rule()) {
    case BillingRule::Meter:
        record.startNum = input.previousReading.trimmed();
        record.endNum = input.currentReading.trimmed();
        break;
    case BillingRule::AreaMonths:
    case BillingRule::PriceMonths:
        record.startNum = sql::dateValue(input.firstMonth).toString();
        record.endNum = sql::dateValue(input.lastMonth).toString();
        break;
    case BillingRule::Typed:
        record.startNum.clear();
        record.endNum.clear();
        break;
    }
    record.takeDate = input.takeDate;
    record.remarks = input.remarks.trimmed();
    return record;
}

} // namespace fee_entry
