#include "charging/DeviceTypesScreen.h"

#include "charging/DeviceType.h"
#include "db/QueryListModel.h"

namespace {

const QString kNameNeeded = QStringLiteral("请填写名称!");

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
    if (row >= 0 && !cellText(row, QStringLiteral("type_name")).isEmpty())
        return true;
    messages().information(kNameNeeded);
    return false;
}

bool DeviceTypesScreen::storeRows(const QList<int>& rows)
{
    QList<DeviceType> types;
    for (int row : rows) {
        const QString name = cellText(row, QStringLiteral("type_name"));
        if (name.isEmpty()) {
            messages().information(kNameNeeded);
            return false;
        }
        types.append(
            {model()->isNewRow(row) ? 0 : model()->value(row, QStringLiteral("type_id")).toLongLong(), name});
    }
    device_type_store::store(db(), types);
    return true;
}

std::optional<QString> DeviceTypesScreen::removeRecord(const QVariant& key)
{
    if (device_type_store::removeUnlessUsed(db(), key.toLongLong()))
        return std::nullopt;
    return QStringLiteral("此类型有具体的设备存在，如确定要删除此类型，先要删除此类型下的所有设备！");
}
