#include "charging/DeviceTypesScreen.h"

#include "charging/DeviceType.h"
#include "db/QueryListModel.h"

namespace {

GridEditScreen::Parts parts()
{
    using K = ListColumn::Kind;
    return {
        "dbgGarden",
        QStringLiteral("dev_type"),
        {
            {QStringLiteral("type_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("type_name"), QStringLiteral("设备类别"), K::Text, true},
        },
        QStringLiteral("type_id"),
        QStringLiteral("确实要删除此记录吗?"),
    };
}

} // namespace

DeviceTypesScreen::DeviceTypesScreen(const ScreenContext& context, QWidget* parent)
    : GridEditScreen(context, parts(), parent)
{
    setObjectName(QStringLiteral("TCodeTypeFrm"));
    setWindowTitle(QStringLiteral("代码设置"));
    resize(420, 420);
    reload();
}

ListQuery DeviceTypesScreen::listQuery() const
{
    return device_type_store::list();
}

bool DeviceTypesScreen::saveAllowed(int row)
{
    const Checked<DeviceType> type =
        device_type_store::check({0, row >= 0 ? cellText(row, QStringLiteral("type_name")) : QString()});
    if (!type.ok())
        refuse(type.refusal());
    return type.ok();
}

bool DeviceTypesScreen::storeRows(const QList<int>& rows)
{
    QList<DeviceType> types;
    for (int row : rows) {
        types.append(
            {model()->isNewRow(row) ? 0 : model()->value(row, QStringLiteral("type_id")).toLongLong(),
             cellText(row, QStringLiteral("type_name"))});
    }
    const Checked<> stored = device_type_store::store(db(), types);
    if (!stored.ok())
        refuse(stored.refusal());
    return stored.ok();
}

Checked<> DeviceTypesScreen::removeRecord(const QVariant& key)
{
    return device_type_store::removeUnlessUsed(db(), key.toLongLong());
}
