#include "db/Schema.h"

#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QStringBuilder>

namespace schema {
namespace {

using T = ColumnType;

// Unsized texts get 255 characters, the usual size of a short text column.
constexpr int kShortText = 255;

constexpr Column kOperator[] = {
    {"op_code", "操作员代码", T::Char, 6, nullptr, true},
    {"op_name", "操作员姓名", T::Char, 8},
    // Holds a libsodium password hash, never the password itself.
    {"password", "密码", T::Text, 128},
    {"group_name", "操作员组", T::Char, 16},
    {"popebase", "基础信息权限", T::Text, 20},
    {"popeadmin", "行政管理权限", T::Text, 20},
    {"popecharge", "收费管理权限", T::Text, 20},
    {"popemanage", "物业服务权限", T::Text, 20},
    {"popequery", "查询权限", T::Text, 20},
    {"popepara", "参数设置权限", T::Text, 20},
};

constexpr Column kGarden[] = {
    {"garden_id", "序号", T::AutoNumber},     {"garden_name", "大楼名称", T::Text, 30},
    {"developer", "开发商", T::Text, 50},     {"builder", "建筑商", T::Text, 50},
    {"build_high", "楼高", T::Text, 16},      {"build_floor", "楼层", T::Text, 16},
    {"structure", "建筑结构", T::Text, 20},   {"build_area", "建筑面积", T::Decimal, 10},
    {"use_area", "实用面积", T::Decimal, 10}, {"rooms_num", "房间数", T::Integer},
    {"finish_date", "竣工日期", T::DateTime}, {"remarks", "备注", T::Text, 100},
};

constexpr Column kRoomsInfo[] = {
    {"room_id", "房号", T::Char, 10, nullptr, true},
    {"garden_id", "大楼", T::Integer},
    {"build_area", "建筑面积", T::Decimal, 7},
    {"use_area", "实用面积", T::Decimal, 7},
    {"use_state", "使用状态", T::Char, 10},
    {"room_type", "房屋类型", T::Text, 30},
    {"direct", "朝向", T::Text, 20},
    {"floor", "楼层", T::Char, 10},
    {"fitment", "装修情况", T::Text, 60},
    {"match", "配套设施", T::Text, 60},
    {"remarks", "描述", T::Text, 100},
};

constexpr Column kOwnerInfo[] = {
    {"owner_id", "住户序号", T::AutoNumber}, {"owner_name", "单位名称", T::Text, 100},
    {"paper_name", "证件名称", T::Text, 30}, {"paper_id", "证件号码", T::Text, 30},
    {"linker", "联系人", T::Char, 8},        {"link_tel", "联系电话", T::Text, 30},
    {"work_time", "作息时间", T::Text, 50},  {"fare", "经营范围", T::Text, 100},
    {"credit", "信誉等级", T::Char, 6},      {"jjlink", "紧急联系", T::Text, 60},
    {"remarks", "备注", T::Text, 100},       {"in_out", "是否搬出", T::Text, 4},
    {"in_date", "迁入日期", T::DateTime},    {"bail_money", "装修押金", T::Decimal, 10},
    {"charge_man", "负责人", T::Char, 8},    {"charge_tel", "负责人电话", T::Text, 30},
};

constexpr Column kOwnerRooms[] = {
    {"ownerroom_id", "序号", T::AutoNumber},
    {"room_id", "房号", T::Char, 10},
    {"owner_id", "住户序号", T::Integer},
    {"relation_desc", "备注", T::Text, 100},
    // Every new link counts for the floor area that the fee screen bills.
    {"if_manage", "计入物管面积", T::Text, 2, "是"},
};

constexpr Column kMember[] = {
    {"member_id", "成员编号", T::AutoNumber},
    {"owner_id", "住户序号", T::Integer},
    {"member_name", "姓名", T::Char, 8},
    {"sex", "性别", T::Char, 2},
    {"duty", "职务", T::Char, 12},
    {"connect_tel", "联系电话", T::Text, 26},
    {"birthday", "出生日期", T::DateTime},
    {"degree", "文化程度", T::Char, 10},
    {"polity", "政治面貌", T::Char, 10},
    {"work_dept", "工作单位", T::Text, 30},
};

constexpr Column kCar[] = {
    {"car_id", "序号", T::AutoNumber},     {"owner_id", "住户序号", T::Integer},
    {"car_no", "车牌号", T::Char, 20},     {"car_type", "汽车种类", T::Char, 12},
    {"car_color", "颜色", T::Char, 8},     {"driver", "司机", T::Char, 8},
    {"link_tel", "联系电话", T::Text, 25}, {"remark", "备注", T::Text, 200},
};

constexpr Column kPark[] = {
    {"park_id", "序号", T::AutoNumber}, {"owner_id", "住户序号", T::Integer},
    {"park_no", "车位号", T::Char, 10}, {"lend_type", "租售类型", T::Char, 8},
    {"palace", "位置", T::Text, 60},    {"remark", "备注", T::Text, 200},
};

constexpr Column kChargeType[] = {
    {"type_id", "序号", T::AutoNumber},
    {"type_name", "费用名", T::Text, 20},
    {"unit_price", "单价", T::Decimal, 10},
    {"take_type", "费用类别", T::Text, 30},
};

constexpr Column kChargeTake[] = {
    {"take_id", "序号", T::AutoNumber},         {"owner_id", "住户序号", T::Integer},
    {"type_id", "收费类别", T::Integer},        {"should_pay", "应付款", T::Decimal, 10},
    {"delay", "滞纳金", T::Decimal, 10},        {"derate", "减免金额", T::Decimal, 10},
    {"payment_real", "实付款", T::Decimal, 10}, {"start_num", "上次抄数", T::Char, 10},
    {"end_num", "本次抄数", T::Char, 10},       {"pay_mode", "付款方式", T::Char, 12},
    {"take_date", "付款日期", T::DateTime},     {"write_man", "制单人", T::Char, 8},
    {"if_remain", "上期节余", T::Char, 2},      {"if_prep", "使用预付款", T::Char, 2},
    {"remarks", "备注", T::Text, 200},
};

constexpr Column kDevType[] = {
    {"type_id", "序号", T::AutoNumber},
    {"type_name", "设备类别", T::Text, 20},
};

constexpr Column kDevice[] = {
    {"dev_id", "序号", T::AutoNumber},         {"type_id", "设备类别", T::Integer},
    {"dev_no", "设备编号", T::Text, 20},       {"dev_name", "设备名称", T::Text, 30},
    {"asset_id", "资产编号", T::Text, 20},     {"factory", "生产厂家", T::Text, 30},
    {"factory_date", "出厂日期", T::DateTime}, {"link_tel", "厂家电话", T::Text, 25},
    {"palace", "安装位置", T::Text, 50},       {"voltage", "额定电压", T::Text, 10},
    {"curr", "额定电流", T::Text, 10},         {"power", "额定功率", T::Text, 10},
    {"use_date", "安装日期", T::DateTime},     {"old_year", "折旧年限", T::Integer},
    {"remark", "说明", T::Text, 200},
};

constexpr Column kRepair[] = {
    {"repair_id", "序号", T::AutoNumber},     {"dev_id", "设备", T::Integer},
    {"fault_time", "故障时间", T::DateTime},  {"fault_desc", "故障现象", T::Text, 200},
    {"cause", "故障原因", T::Text, 200},      {"repair", "维修人", T::Char, 8},
    {"repair_time", "维修时间", T::DateTime}, {"repair_money", "维修费", T::Decimal, 10},
    {"repair_desc", "备注", T::Text, 200},    {"result", "维修结果", T::Text, 200},
    {"finish_time", "完工时间", T::DateTime}, {"remark", "说明", T::Text, 200},
};

constexpr Column kDepartment[] = {
    {"dept_id", "序号", T::AutoNumber}, {"dept_name", "部门名称", T::Text, 30},
    {"manager", "领导", T::Char, 8},    {"sup_deptid", "上级部门", T::Integer},
    {"duty_desc", "职责描述", T::Memo},
};

constexpr Column kEmployee[] = {
    {"emp_id", "序号", T::AutoNumber},     {"dept_id", "部门", T::Integer},
    {"emp_name", "姓名", T::Char, 8},      {"identity_card", "身份证号码", T::Char, 18},
    {"sextype", "性别", T::Char, 2},       {"marry", "婚姻状况", T::Char, 2},
    {"birthday", "出生年月", T::DateTime}, {"home_address", "家庭地址", T::Text, 60},
    {"link_tel", "联系电话", T::Text, 20}, {"regist_address", "户口所在地", T::Char, 60},
    {"position", "职务", T::Text, 20},     {"post", "职称", T::Text, 16},
    {"grade", "文化程度", T::Text, 12},    {"polity", "政治面貌", T::Text, 10},
    {"school", "毕业学校", T::Text, 26},   {"special", "所学专业", T::Text, 20},
    {"graduate", "毕业时间", T::DateTime}, {"old_company", "原工作单位", T::Text, 60},
    {"remarks", "备注", T::Text, 200},
};

constexpr Column kMessageInfo[] = {
    {"msg_id", "序号", T::AutoNumber},
    {"sender", "发信人", T::Text, kShortText},
    {"receive", "收信人", T::Text, kShortText},
    {"mesg_head", "主题", T::Text, kShortText},
    {"mesg_contents", "信件内容", T::Memo},
    {"send_time", "发送时间", T::DateTime},
    {"mesg_type", "阅读状态", T::Text, kShortText},
};

constexpr Column kWorkPlan[] = {
    {"plan_id", "序号", T::AutoNumber},     {"op_code", "操作员代码", T::Char, 6},
    {"plan_type", "计划类型", T::Text, 20}, {"state", "执行状态", T::Text, 20},
    {"title", "标题", T::Text, 60},         {"finish_state", "完成情况", T::Text, 30},
    {"charge_man", "负责人", T::Char, 8},   {"awoke_date", "提醒日期", T::Char, 20},
    {"start_end", "起止时间", T::Text, 30}, {"manager", "上级", T::Char, 6},
    {"contents", "内容", T::Memo},
};

constexpr Column kMeet[] = {
    {"id", "序号", T::AutoNumber},
    {"title", "会议主题", T::Text, 100},
    {"take_man", "召开人", T::Text, 50},
    {"take_date", "召开日期", T::DateTime},
    {"take_people", "参加人员", T::Text, 200},
    {"contents", "会议内容", T::Memo},
};

constexpr Column kGoodsType[] = {
    {"type_id", "序号", T::AutoNumber},
    {"type_name", "类别名称", T::Char, 18},
};

constexpr Column kGoods[] = {
    {"goods_id", "物品序号", T::AutoNumber},    {"sort_id", "序号", T::Integer},
    {"goods_name", "用品名称", T::Text, 50},    {"type_id", "物品类别", T::Integer},
    {"store_num", "库存数量", T::SmallInteger}, {"remark", "备注", T::Text, 50},
};

constexpr Column kGoodsBuy[] = {
    {"buy_id", "序号", T::AutoNumber},     {"goods_id", "物品名称", T::Integer},
    {"buy_date", "采购日期", T::DateTime}, {"unit_price", "单价", T::Float},
    {"num", "数量", T::SmallInteger},      {"buyer", "申请人", T::Text, 8},
    {"xhgg", "规格型号", T::Text, 30},     {"pzr", "批准人", T::Text, 8},
    {"remark", "备注", T::Memo},
};

constexpr Column kTakeGoods[] = {
    {"id", "序号", T::AutoNumber},     {"goods_id", "物品名称", T::Integer},
    {"dept_id", "部门", T::Integer},   {"take_man", "领用人", T::Char, 8},
    {"take_num", "数量", T::Float},    {"take_date", "领用日期", T::DateTime},
    {"xhgg", "型号规格", T::Text, 50}, {"pzr", "批准人", T::Text, 8},
    {"remark", "备注", T::Text, 200},
};

constexpr Column kDeptGoods[] = {
    {"id", "序号", T::AutoNumber},        {"dept_id", "部门序号", T::Integer},
    {"goods_id", "物品序号", T::Integer}, {"goods_num", "数量", T::Float},
    {"remark", "备注", T::Text, 100},
};

constexpr Column kService[] = {
    {"serve_id", "序号", T::AutoNumber},
    {"owner_id", "业主序号", T::Integer},
    {"contents", "服务内容", T::Memo},
    {"worker", "服务人", T::Char, 8},
    {"start_time", "开始时间", T::DateTime},
    {"finish_time", "结束时间", T::DateTime},
    {"material_money", "原料费用", T::Decimal, 10},
    {"serve_money", "服务费用", T::Decimal, 10},
    {"need_material", "所需原料", T::Text, 200},
    {"owner_check", "用户验收", T::Text, 50},
    {"if_take", "已付费", T::Char, 2},
};

constexpr Column kAdvice[] = {
    {"advice_id", "序号", T::AutoNumber},     {"owner_id", "业主序号", T::Integer},
    {"advice_name", "投诉对象", T::Text, 30}, {"advice_type", "投诉类型", T::Text, 20},
    {"advice_time", "投诉时间", T::DateTime}, {"serve_name", "处理人", T::Char, 8},
    {"revert", "回访人", T::Char, 8},         {"revert_type", "回访方式", T::Text, 20},
    {"satisfy", "满意程度", T::Char, 8},      {"advice_content", "投诉内容", T::Memo},
    {"deal_content", "处理内容", T::Memo},
};

constexpr Column kFitment[] = {
    {"fit_id", "序号", T::AutoNumber},         {"owner_id", "业主序号", T::Char, 18},
    {"start_date", "开始日期", T::DateTime},   {"end_date", "结束日期", T::DateTime},
    {"company_name", "装修公司", T::Text, 50}, {"licence", "公司执照", T::Text, 20},
    {"fit_tel", "联系电话", T::Text, 25},      {"address", "装修地址", T::Text, 60},
    {"checker", "审批人", T::Char, 8},         {"remark", "备注", T::Text, 200},
    {"fit_content", "装修内容", T::Memo},
};

constexpr Column kEvent[] = {
    {"event_id", "序号", T::AutoNumber},       {"event_name", "事件名称", T::Text, 60},
    {"event_type", "事件类型", T::Text, 20},   {"take_time", "发生时间", T::DateTime},
    {"take_address", "发生地点", T::Text, 60}, {"deal_man", "处理人", T::Char, 8},
    {"detail", "事件缘由", T::Memo},           {"deal_result", "处理结果", T::Memo},
};

constexpr Column kFireArea[] = {
    {"fire_id", "序号", T::AutoNumber},      {"area_name", "片区名", T::Text, 60},
    {"address", "地点", T::Text, 60},        {"fire_area", "消防面积", T::Text, 60},
    {"grade", "消防级别", T::Text, 20},      {"cycle", "查验周期", T::Text, 20},
    {"fireman", "负责人", T::Char, 8},       {"checker", "查验人", T::Char, 8},
    {"equipment", "配备设备", T::Text, 100}, {"remark", "备注", T::Char, 100},
};

constexpr Column kCondition[] = {
    {"cond_id", "序号", T::AutoNumber},   {"area_name", "区域名称", T::Text, 60},
    {"charger", "负责人", T::Char, 8},    {"cycle", "保洁周期", T::Text, 30},
    {"remark", "岗位要求", T::Text, 100}, {"require", "要求", T::Memo},
};

constexpr Column kCommunity[] = {
    {"ploy_id", "序号", T::AutoNumber},
    {"ploy_name", "活动名称", T::Text, 50},
    {"main_dept", "主办单位", T::Text, 50},
    {"second_dept", "协办单位", T::Text, 50},
    {"ploy_type", "活动类型", T::Text, 20},
    {"start_date", "开始日期", T::DateTime},
    {"end_date", "结束日期", T::DateTime},
    {"charge_man", "负责人", T::Char, 8},
    {"ploy_money", "活动经费", T::Char, 10},
    {"money_take", "经费筹措", T::Text, 100},
    {"take_people", "参加人员", T::Text, 100},
    {"affiche", "公告方式", T::Text, 20},
    {"circs", "活动情况", T::Memo},
    {"remark", "备注", T::Memo},
};

constexpr Column kServeOrder[] = {
    {"id", "序号", T::AutoNumber},
    {"owner_id", "住户序号", T::Integer},
    {"send_dept", "发单部门", T::Text, 50},
    {"rece_dept", "收单部门", T::Text, 50},
    {"order_time", "预约时间", T::Text, 50},
    {"recorder", "记录人", T::Char, 8},
    {"link_tel", "联系电话", T::Text, 30},
    {"take_stand", "收费标准", T::Text, 200},
    {"take_money", "费用", T::Decimal, 10},
    {"big_money", "大写金额", T::Text, 50},
    {"record_date", "记录日期", T::DateTime},
    {"cust_write", "客户签名", T::Text, 50},
    {"server_item", "服务内容", T::Memo},
    {"remark", "备注", T::Memo},
};

// A numbered receipt: a payment, or the void of one. A receipt is never changed
// or removed (only its reprints are counted): a void is a receipt of its own
// that names the one it voids, with the amounts taken back. Numbers run per
// calendar year ("2026-000001"); the payments made before receipts existed sit
// on one historical receipt per owner (year 0).
constexpr Column kReceipt[] = {
    {"receipt_id", "序号", T::AutoNumber}, {"receipt_no", "收据号", T::Char, 11},
    {"receipt_year", "年度", T::Integer},  {"receipt_seq", "年度序号", T::Integer},
    {"owner_id", "住户序号", T::Integer},  {"issued_at", "开票时间", T::DateTime},
    {"op_code", "操作员代码", T::Char, 6}, {"pay_way", "付款方式", T::Char, 8},
    {"total", "金额", T::Decimal, 14},     {"voids_id", "冲红的收据", T::Integer},
    {"reprints", "补打次数", T::Integer},  {"remark", "备注", T::Text, 200},
};

// What a receipt paid (or took back) of each fee record.
constexpr Column kReceiptLine[] = {
    {"line_id", "序号", T::AutoNumber},
    {"receipt_id", "收据", T::Integer},
    {"take_id", "收费记录", T::Integer},
    {"amount", "金额", T::Decimal, 12},
};

// A cashier's day closed: what the receipts of that operator and day came to.
constexpr Column kCashierDay[] = {
    {"day_id", "序号", T::AutoNumber},   {"op_code", "操作员代码", T::Char, 6},
    {"work_day", "日期", T::DateTime},   {"closed_at", "结账时间", T::DateTime},
    {"closed_by", "结账人", T::Char, 6}, {"receipts", "收据张数", T::Integer},
    {"voids", "作废张数", T::Integer},   {"total", "金额", T::Decimal, 14},
};

constexpr Table kTables[] = {
    {"operator", kOperator},
    {"garden", kGarden},
    {"rooms_info", kRoomsInfo},
    {"owner_info", kOwnerInfo},
    {"owner_rooms", kOwnerRooms},
    {"member", kMember},
    {"car", kCar},
    {"park", kPark},
    {"charge_type", kChargeType},
    {"charge_take", kChargeTake},
    {"dev_type", kDevType},
    {"device", kDevice},
    {"repair", kRepair},
    {"department", kDepartment},
    {"employee", kEmployee},
    {"message_info", kMessageInfo},
    {"work_plan", kWorkPlan},
    {"meet", kMeet},
    {"goods_type", kGoodsType},
    {"goods", kGoods},
    {"goods_buy", kGoodsBuy},
    {"take_goods", kTakeGoods},
    {"dept_goods", kDeptGoods},
    {"service", kService},
    {"advice", kAdvice},
    {"fitment", kFitment},
    {"event", kEvent},
    {"fire_area", kFireArea},
    {"condition", kCondition},
    {"community", kCommunity},
    {"serveorder", kServeOrder},
    {"receipt", kReceipt},
    {"receipt_line", kReceiptLine},
    {"cashier_day", kCashierDay},
};

// The columns that screens filter, join or sort on.
constexpr Index kIndexes[] = {
    {"garden", "garden_name"},
    {"rooms_info", "garden_id"},
    {"owner_info", "owner_name"},
    {"owner_info", "in_out"},
    {"owner_rooms", "owner_id"},
    {"owner_rooms", "room_id"},
    {"member", "owner_id"},
    {"car", "owner_id"},
    {"park", "owner_id"},
    {"park", "park_no"},
    {"charge_take", "owner_id"},
    {"charge_take", "take_date"},
    {"device", "type_id"},
    {"repair", "dev_id"},
    {"employee", "dept_id"},
    {"employee", "emp_name"},
    {"message_info", "receive"},
    {"work_plan", "op_code"},
    {"goods", "type_id"},
    {"goods", "sort_id"},
    {"goods_buy", "goods_id"},
    {"goods_buy", "buy_date"},
    {"take_goods", "goods_id"},
    {"take_goods", "dept_id"},
    {"take_goods", "take_date"},
    {"dept_goods", "dept_id"},
    {"dept_goods", "goods_id"},
    {"service", "owner_id"},
    {"advice", "owner_id"},
    {"fitment", "owner_id"},
    {"serveorder", "owner_id"},
    // The latest month billed of a charge type, read by the monthly run's guard.
    {"charge_take", "type_id,end_num"},
    // The income of a period: the sums per charge type are read from the index
    // alone, type after type, never from the million rows of the table.
    {"charge_take", "type_id,take_date,should_pay,payment_real"},
    // A receipt's number is handed out once in its year; a receipt is voided once.
    {"receipt", "receipt_year,receipt_seq", true},
    {"receipt", "voids_id", true},
    {"receipt", "owner_id"},
    {"receipt", "issued_at"},
    {"receipt_line", "receipt_id"},
    {"receipt_line", "take_id"},
    {"cashier_day", "op_code,work_day", true},
};

// Every column has a label: a refusal names its column by it.
constexpr bool everyColumnLabelled()
{
    for (const Table& table : kTables) {
        for (const Column& column : table.columns) {
            if (column.label == nullptr || column.label[0] == '\0')
                return false;
        }
    }
    return true;
}
static_assert(everyColumnLabelled(), "a column without a label");

struct RuleName
{
    Rule rule;
    QLatin1StringView name;
};

constexpr RuleName kRuleNames[] = {
    {Rule::Length, QLatin1StringView("length")}, {Rule::NotBlank, QLatin1StringView("blank")},
    {Rule::Number, QLatin1StringView("number")}, {Rule::Range, QLatin1StringView("range")},
    {Rule::Date, QLatin1StringView("date")},     {Rule::Characters, QLatin1StringView("characters")},
};

} // namespace

std::span<const Table> tables()
{
    return kTables;
}

std::span<const Index> indexes()
{
    return kIndexes;
}

const Column* findColumn(const QString& table, const QString& column)
{
    for (const Table& t : kTables) {
        if (table.compare(QLatin1StringView(t.name), Qt::CaseInsensitive) != 0)
            continue;
        for (const Column& c : t.columns) {
            if (column.compare(QLatin1StringView(c.name), Qt::CaseInsensitive) == 0)
                return &c;
        }
    }
    return nullptr;
}

int maxLength(const QString& table, const QString& column)
{
    const Column* c = findColumn(table, column);
    if (!c || (c->type != ColumnType::Text && c->type != ColumnType::Char))
        return 0;
    return c->size;
}

QString label(const QString& table, const QString& column)
{
    const Column* c = findColumn(table, column);
    return c ? QString::fromUtf8(c->label) : column;
}

QString checkName(const QString& table, const QString& column, Rule rule)
{
    for (const RuleName& r : kRuleNames) {
        if (r.rule == rule)
            return table + u'.' + column + u'.' + r.name;
    }
    return {};
}

std::optional<CheckTarget> parseCheckName(const QString& name)
{
    const QStringList parts = name.split(u'.');
    if (parts.size() != 3)
        return std::nullopt;
    for (const RuleName& r : kRuleNames) {
        if (parts[2] == r.name)
            return CheckTarget{parts[0], parts[1], r.rule};
    }
    return std::nullopt;
}

void create(const QSqlDatabase& db)
{
    Transaction transaction(db);
    for (const QString& statement : SqlDialect::of(db).createStatements())
        sql::exec(db, statement);
    transaction.commit();
}

} // namespace schema
