#include "db/Schema.h"

#include "db/Sql.h"

#include <QStringBuilder>

namespace schema {
namespace {

using T = ColumnType;

// Unsized texts get 255 characters, the usual size of a short text column.
constexpr int kShortText = 255;

constexpr Column kOperator[] = {
    {"op_code", T::Char, 6, nullptr, true},
    {"op_name", T::Char, 8},
    // Holds a libsodium password hash, never the password itself.
    {"PassWord", T::Text, 128},
    {"group_name", T::Char, 16},
    {"PopeBase", T::Text, 20},
    {"PopeAdmin", T::Text, 20},
    {"PopeCharge", T::Text, 20},
    {"popeManage", T::Text, 20},
    {"popeQuery", T::Text, 20},
    {"popePara", T::Text, 20},
};

constexpr Column kGarden[] = {
    {"garden_id", T::AutoNumber}, {"garden_name", T::Text, 30},   {"developer", T::Text, 50},
    {"builder", T::Text, 50},     {"build_high", T::Text, 16},    {"build_floor", T::Text, 16},
    {"structure", T::Text, 20},   {"build_area", T::Decimal, 10}, {"use_area", T::Decimal, 10},
    {"rooms_num", T::Integer},    {"finish_date", T::DateTime},   {"remarks", T::Text, 100},
};

constexpr Column kRoomsInfo[] = {
    {"room_id", T::Char, 10, nullptr, true},
    {"garden_id", T::Integer},
    {"build_area", T::Decimal, 7},
    {"use_area", T::Decimal, 7},
    {"use_state", T::Char, 10},
    {"room_type", T::Text, 30},
    {"direct", T::Text, 20},
    {"floor", T::Char, 10},
    {"fitment", T::Text, 60},
    {"match", T::Text, 60},
    {"remarks", T::Text, 100},
};

constexpr Column kOwnerInfo[] = {
    {"owner_id", T::AutoNumber}, {"owner_name", T::Text, 100},   {"paper_name", T::Text, 30},
    {"paper_id", T::Text, 30},   {"linker", T::Char, 8},         {"link_tel", T::Text, 30},
    {"work_time", T::Text, 50},  {"fare", T::Text, 100},         {"credit", T::Char, 6},
    {"jjlink", T::Text, 60},     {"remarks", T::Text, 100},      {"in_out", T::Text, 4},
    {"in_date", T::DateTime},    {"bail_money", T::Decimal, 10}, {"charge_man", T::Char, 8},
    {"charge_tel", T::Text, 30},
};

constexpr Column kOwnerRooms[] = {
    {"ownerroom_id", T::AutoNumber},
    {"room_id", T::Char, 10},
    {"owner_id", T::Integer},
    {"relation_desc", T::Text, 100},
    // Every new link counts for the floor area that the fee screen bills.
    {"if_manage", T::Text, 2, "是"},
};

constexpr Column kMember[] = {
    {"member_id", T::AutoNumber}, {"owner_id", T::Integer}, {"member_name", T::Char, 8},
    {"sex", T::Char, 2},          {"duty", T::Char, 12},    {"connect_tel", T::Text, 26},
    {"birthday", T::DateTime},    {"degree", T::Char, 10},  {"polity", T::Char, 10},
    {"work_dept", T::Text, 30},
};

constexpr Column kCar[] = {
    {"car_id", T::AutoNumber}, {"owner_id", T::Integer}, {"car_no", T::Char, 20},   {"car_type", T::Char, 12},
    {"car_color", T::Char, 8}, {"driver", T::Char, 8},   {"link_tel", T::Text, 25}, {"remark", T::Text, 200},
};

constexpr Column kPark[] = {
    {"park_id", T::AutoNumber}, {"owner_id", T::Integer}, {"park_no", T::Char, 10},
    {"lend_type", T::Char, 8},  {"palace", T::Text, 60},  {"remark", T::Text, 200},
};

constexpr Column kChargeType[] = {
    {"type_id", T::AutoNumber},
    {"type_name", T::Text, 20},
    {"unit_price", T::Decimal, 10},
    {"take_type", T::Text, 30},
};

constexpr Column kChargeTake[] = {
    {"take_id", T::AutoNumber},       {"owner_id", T::Integer},   {"type_id", T::Byte},
    {"should_pay", T::Decimal, 10},   {"delay", T::Decimal, 10},  {"derate", T::Decimal, 10},
    {"payment_real", T::Decimal, 10}, {"start_num", T::Char, 10}, {"end_num", T::Char, 10},
    {"pay_mode", T::Char, 12},        {"take_date", T::DateTime}, {"write_man", T::Char, 8},
    {"if_remain", T::Char, 2},        {"if_prep", T::Char, 2},    {"remarks", T::Text, 200},
};

constexpr Column kDevType[] = {
    {"type_id", T::AutoNumber},
    {"type_name", T::Text, 20},
};

constexpr Column kDevice[] = {
    {"dev_id", T::AutoNumber},     {"type_id", T::Integer},   {"dev_no", T::Text, 20},
    {"dev_name", T::Text, 30},     {"asset_id", T::Text, 20}, {"factory", T::Text, 30},
    {"factory_date", T::DateTime}, {"link_tel", T::Text, 25}, {"palace", T::Text, 50},
    {"voltage", T::Text, 10},      {"curr", T::Text, 10},     {"power", T::Text, 10},
    {"use_date", T::DateTime},     {"old_year", T::Integer},  {"remark", T::Text, 200},
};

constexpr Column kRepair[] = {
    {"repair_id", T::AutoNumber}, {"dev_id", T::Integer},           {"fault_time", T::DateTime},
    {"fault_desc", T::Text, 200}, {"cause", T::Text, 200},          {"repair", T::Char, 8},
    {"repair_time", T::DateTime}, {"repair_money", T::Decimal, 10}, {"repair_desc", T::Text, 200},
    {"result", T::Text, 200},     {"finish_time", T::DateTime},     {"remark", T::Text, 200},
};

constexpr Column kDepartment[] = {
    {"dept_id", T::AutoNumber}, {"dept_name", T::Text, 30}, {"manager", T::Char, 8},
    {"sup_deptid", T::Integer}, {"duty_desc", T::Memo},
};

constexpr Column kEmployee[] = {
    {"emp_id", T::AutoNumber},       {"dept_id", T::Integer},       {"emp_name", T::Char, 8},
    {"identity_card", T::Char, 18},  {"sextype", T::Char, 2},       {"marry", T::Char, 2},
    {"birthday", T::DateTime},       {"home_address", T::Text, 60}, {"link_tel", T::Text, 20},
    {"regist_address", T::Char, 60}, {"position", T::Text, 20},     {"post", T::Text, 16},
    {"grade", T::Text, 12},          {"polity", T::Text, 10},       {"school", T::Text, 26},
    {"special", T::Text, 20},        {"graduate", T::DateTime},     {"old_company", T::Text, 60},
    {"remarks", T::Text, 200},
};

constexpr Column kMessageInfo[] = {
    {"msg_id", T::AutoNumber},          {"sender", T::Text, kShortText}, {"receive", T::Text, kShortText},
    {"mesg_head", T::Text, kShortText}, {"mesg_contents", T::Memo},      {"send_time", T::DateTime},
    {"mesg_type", T::Text, kShortText},
};

constexpr Column kWorkPlan[] = {
    {"plan_id", T::AutoNumber}, {"op_code", T::Char, 6},     {"plan_type", T::Text, 20},
    {"state", T::Text, 20},     {"title", T::Text, 60},      {"finish_state", T::Text, 30},
    {"charge_man", T::Char, 8}, {"awoke_date", T::Char, 20}, {"start_end", T::Text, 30},
    {"manager", T::Char, 6},    {"contents", T::Memo},
};

constexpr Column kMeet[] = {
    {"id", T::AutoNumber},      {"title", T::Text, 100},       {"take_man", T::Text, 50},
    {"take_date", T::DateTime}, {"take_people", T::Text, 200}, {"contents", T::Memo},
};

constexpr Column kGoodsType[] = {
    {"type_id", T::AutoNumber},
    {"type_name", T::Char, 18},
};

constexpr Column kGoods[] = {
    {"goods_id", T::AutoNumber}, {"sort_id", T::Integer},        {"goods_name", T::Text, 50},
    {"type_id", T::Integer},     {"store_num", T::SmallInteger}, {"remark", T::Text, 50},
};

constexpr Column kGoodsBuy[] = {
    {"buy_id", T::AutoNumber}, {"goods_id", T::Integer}, {"buy_date", T::DateTime},
    {"unit_price", T::Float},  {"num", T::SmallInteger}, {"buyer", T::Text, 8},
    {"xhgg", T::Text, 30},     {"pzr", T::Text, 8},      {"remark", T::Memo},
};

constexpr Column kTakeGoods[] = {
    {"id", T::AutoNumber},    {"goods_id", T::Integer}, {"dept_id", T::Integer},
    {"take_man", T::Char, 8}, {"take_num", T::Float},   {"take_date", T::DateTime},
    {"xhgg", T::Text, 50},    {"pzr", T::Text, 8},      {"remark", T::Text, 200},
};

constexpr Column kDeptGoods[] = {
    {"id", T::AutoNumber},   {"dept_id", T::Integer},  {"goods_id", T::Integer},
    {"goods_num", T::Float}, {"remark", T::Text, 100},
};

constexpr Column kService[] = {
    {"serve_id", T::AutoNumber},
    {"owner_id", T::Integer},
    {"contents", T::Memo},
    {"worker", T::Char, 8},
    {"start_time", T::DateTime},
    {"finish_time", T::DateTime},
    {"material_money", T::Decimal, 10},
    {"serve_money", T::Decimal, 10},
    {"need_material", T::Text, 200},
    {"owner_check", T::Text, 50},
    {"if_take", T::Char, 2},
};

constexpr Column kAdvice[] = {
    {"advice_id", T::AutoNumber}, {"owner_id", T::Integer},     {"advice_name", T::Text, 30},
    {"advice_type", T::Text, 20}, {"advice_time", T::DateTime}, {"serve_name", T::Char, 8},
    {"revert", T::Char, 8},       {"revert_type", T::Text, 20}, {"satisfy", T::Char, 8},
    {"advice_content", T::Memo},  {"deal_content", T::Memo},
};

constexpr Column kFitment[] = {
    {"fit_id", T::AutoNumber}, {"owner_id", T::Char, 18},     {"start_date", T::DateTime},
    {"end_date", T::DateTime}, {"company_name", T::Text, 50}, {"licence", T::Text, 20},
    {"fit_tel", T::Text, 25},  {"address", T::Text, 60},      {"checker", T::Char, 8},
    {"remark", T::Text, 200},  {"fit_Content", T::Memo},
};

constexpr Column kEvent[] = {
    {"event_id", T::AutoNumber}, {"event_name", T::Text, 60},   {"event_type", T::Text, 20},
    {"take_time", T::DateTime},  {"take_address", T::Text, 60}, {"deal_man", T::Char, 8},
    {"detail", T::Memo},         {"deal_result", T::Memo},
};

constexpr Column kFireArea[] = {
    {"fire_id", T::AutoNumber}, {"area_name", T::Text, 60}, {"address", T::Text, 60},
    {"fire_area", T::Text, 60}, {"grade", T::Text, 20},     {"cycle", T::Text, 20},
    {"fireman", T::Char, 8},    {"checker", T::Char, 8},    {"equipment", T::Text, 100},
    {"remark", T::Char, 100},
};

constexpr Column kCondition[] = {
    {"cond_id", T::AutoNumber}, {"area_name", T::Text, 60}, {"charger", T::Char, 8},
    {"cycle", T::Text, 30},     {"remark", T::Text, 100},   {"require", T::Memo},
};

constexpr Column kCommunity[] = {
    {"ploy_id", T::AutoNumber},   {"ploy_name", T::Text, 50},    {"main_dept", T::Text, 50},
    {"second_dept", T::Text, 50}, {"ploy_type", T::Text, 20},    {"start_date", T::DateTime},
    {"end_date", T::DateTime},    {"charge_man", T::Char, 8},    {"ploy_money", T::Char, 10},
    {"money_take", T::Text, 100}, {"take_people", T::Text, 100}, {"affiche", T::Text, 20},
    {"circs", T::Memo},           {"remark", T::Memo},
};

constexpr Column kServeOrder[] = {
    {"id", T::AutoNumber},      {"owner_id", T::Integer},     {"send_dept", T::Text, 50},
    {"rece_dept", T::Text, 50}, {"order_time", T::Text, 50},  {"recorder", T::Char, 8},
    {"link_tel", T::Text, 30},  {"take_stand", T::Text, 200}, {"take_money", T::Decimal, 10},
    {"big_money", T::Text, 50}, {"record_date", T::DateTime}, {"cust_write", T::Text, 50},
    {"server_item", T::Memo},   {"remark", T::Memo},
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
};

// The columns that screens filter, join or sort on.
constexpr Index kIndexes[] = {
    {"garden", "garden_name"},    {"rooms_info", "garden_id"}, {"owner_info", "owner_name"},
    {"owner_info", "in_out"},     {"owner_rooms", "owner_id"}, {"owner_rooms", "room_id"},
    {"member", "owner_id"},       {"car", "owner_id"},         {"park", "owner_id"},
    {"park", "park_no"},          {"charge_take", "owner_id"}, {"charge_take", "type_id"},
    {"charge_take", "take_date"}, {"device", "type_id"},       {"repair", "dev_id"},
    {"employee", "dept_id"},      {"employee", "emp_name"},    {"message_info", "receive"},
    {"work_plan", "op_code"},     {"goods", "type_id"},        {"goods", "sort_id"},
    {"goods_buy", "goods_id"},    {"goods_buy", "buy_date"},   {"take_goods", "goods_id"},
    {"take_goods", "dept_id"},    {"take_goods", "take_date"}, {"dept_goods", "dept_id"},
    {"dept_goods", "goods_id"},   {"service", "owner_id"},     {"advice", "owner_id"},
    {"fitment", "owner_id"},      {"serveorder", "owner_id"},
};

QString quoted(const char* identifier)
{
    return u'"' + QString::fromLatin1(identifier) + u'"';
}

QString integerCheck(const QString& c, const QString& range)
{
    return u"CHECK (" + c + u" IS NULL OR (typeof(" + c + u") = 'integer'" + range + u"))";
}

// The declaration of one column, with the checks that hold its type and size.
QString columnDefinition(const Column& column)
{
    const QString c = quoted(column.name);
    const QString n = QString::number(column.size);
    switch (column.type) {
    case ColumnType::AutoNumber:
        return c + u" INTEGER PRIMARY KEY AUTOINCREMENT";
    case ColumnType::Integer:
        return c + u" INTEGER " + integerCheck(c, u" AND " + c + u" BETWEEN -2147483648 AND 2147483647");
    case ColumnType::SmallInteger:
        return c + u" INTEGER " + integerCheck(c, u" AND " + c + u" BETWEEN -32768 AND 32767");
    case ColumnType::Byte:
        return c + u" INTEGER " + integerCheck(c, u" AND " + c + u" BETWEEN 0 AND 255");
    case ColumnType::Decimal: {
        // decimal(p,2) in hundredths: fewer than p digits.
        const QString limit = u'1' + QString(column.size, u'0');
        return c + u" INTEGER " + integerCheck(c, u" AND abs(" + c + u") < " + limit);
    }
    case ColumnType::Float:
        return c + u" REAL CHECK (" + c + u" IS NULL OR typeof(" + c + u") IN ('real', 'integer'))";
    case ColumnType::DateTime:
        return c + u" TEXT CHECK (" + c + u" IS NULL OR " + c +
               u" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR " + c +
               u" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')";
    case ColumnType::Memo:
        return c + u" TEXT COLLATE RTRIM";
    case ColumnType::Text:
    case ColumnType::Char: {
        QString def = c + u" TEXT";
        if (column.key)
            def += u" PRIMARY KEY NOT NULL";
        def += u" COLLATE RTRIM";
        if (column.defaultText)
            def += u" DEFAULT '" + QString::fromUtf8(column.defaultText) + u'\'';
        def += u" CHECK (" + c + u" IS NULL OR (typeof(" + c + u") = 'text' AND length(" + c + u") <= " + n;
        if (column.key)
            def += u" AND length(trim(" + c + u")) > 0";
        return def + u"))";
    }
    }
    return {};
}

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

QStringList createStatements()
{
    QStringList statements;
    for (const Table& table : kTables) {
        QStringList columns;
        for (const Column& column : table.columns)
            columns << columnDefinition(column);
        statements << u"CREATE TABLE " + quoted(table.name) + u" (\n    " + columns.join(u",\n    ") + u"\n)";
    }
    for (const Index& index : kIndexes) {
        const QString name = QString::fromLatin1(index.table) + u'_' + QString::fromLatin1(index.column);
        statements << u"CREATE INDEX \"" + name + u"\" ON " + quoted(index.table) + u" (" +
                          quoted(index.column) + u')';
    }
    statements << u"PRAGMA application_id = " + QString::number(kApplicationId);
    statements << u"PRAGMA user_version = " + QString::number(kVersion);
    return statements;
}

void create(const QSqlDatabase& db)
{
    Transaction transaction(db);
    for (const QString& statement : createStatements())
        sql::exec(db, statement);
    transaction.commit();
}

} // namespace schema
