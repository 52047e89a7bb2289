#include "charging/ChargeTypesScreen.h"

#include "charging/ChargeType.h"
#include "db/QueryListModel.h"

namespace {

GridEditScreen::Parts parts()
{
    using K = ListColumn::Kind;
    return {
        "dbgGarden",
        QStringLiteral("charge_type"),
        {
            {QStringLiteral("type_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("type_name"), QStringLiteral("费用名"), K::Text, true},
            {QStringLiteral("unit_price"), QStringLiteral("单价"), K::Decimal, true},
            {QStringLiteral("take_type"), QStringLiteral("费用类别"), K::Text, true},
        },
        QStringLiteral("type_id"),
        QStringLiteral("确实要删除此费用参数吗?"),
    };
}

} // namespace

ChargeTypesScreen::ChargeTypesScreen(const ScreenContext& context, QWidget* parent)
    : GridEditScreen(context, parts(), parent)
{
    setObjectName(QStringLiteral("TChargeTypeFrm"));
    setWindowTitle(QStringLiteral("费用类别"));
    resize(640, 420);
    reload();
}

ListQuery ChargeTypesScreen::listQuery() const
{
    return charge_type_store::list();
}

bool ChargeTypesScreen::isProtectedRow(int row) const
{
    return !model()->isNewRow(row) &&
           ChargeType::isProtectedName(model()->value(row, QStringLiteral("type_name")).toString());
}

bool ChargeTypesScreen::cellEditable(int row, int column) const
{
    // The price of a protected type stays editable; its name and rule do not.
    return !isProtectedRow(row) || model()->columns().value(column).field == u"unit_price";
}

bool ChargeTypesScreen::canDelete(int row) const
{
    return !isProtectedRow(row);
}

bool ChargeTypesScreen::storeRows(const QList<int>& rows)
{
    QList<ChargeTypeInput> types;
    for (int row : rows) {
        types.append(
            {model()->isNewRow(row) ? 0 : model()->value(row, QStringLiteral("type_id")).toLongLong(),
             cellText(row, QStringLiteral("type_name")), cellText(row, QStringLiteral("unit_price")),
             cellText(row, QStringLiteral("take_type"))});
    }
    charge_type_store::store(db(), types);
    return true;
}

Checked<> ChargeTypesScreen::removeRecord(const QVariant& key)
{
    return charge_type_store::removeUnlessInUse(db(), key.toLongLong());
}
