#include "base/BuildingsScreen.h"

#include "base/Building.h"
#include "base/BuildingEditor.h"

namespace {

ListScreen::Parts parts()
{
    using K = ListColumn::Kind;
    return {
        "dbgGarden",
        {
            {QStringLiteral("garden_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("garden_name"), QStringLiteral("大楼名称")},
            {QStringLiteral("build_high"), QStringLiteral("楼高"), K::Code},
            {QStringLiteral("build_floor"), QStringLiteral("楼层"), K::Code},
            {QStringLiteral("structure"), QStringLiteral("建筑结构")},
            {QStringLiteral("build_area"), QStringLiteral("建筑面积"), K::Decimal},
            {QStringLiteral("use_area"), QStringLiteral("实用面积"), K::Decimal},
            {QStringLiteral("rooms_num"), QStringLiteral("房间数"), K::Number},
            {QStringLiteral("finish_date"), QStringLiteral("竣工日期"), K::Date},
            {QStringLiteral("builder"), QStringLiteral("建筑商")},
            {QStringLiteral("developer"), QStringLiteral("开发商")},
        },
        QStringLiteral("garden_id"),
        {"btnAdd", QStringLiteral("增加 &a.")},
        {"btnModify", QStringLiteral("修改 &s.")},
        {"btnDel", QStringLiteral("删除 &d.")},
        {"btnClose", QStringLiteral("退出 &c.")},
        QStringLiteral("请先指定修改记录！"),
        QStringLiteral("确实要删除此任务吗?"),
    };
}

} // namespace

BuildingsScreen::BuildingsScreen(const ScreenContext& context, QWidget* parent)
    : ListScreen(context, parts(), parent)
{
    setObjectName(QStringLiteral("TgardenFrm"));
    setWindowTitle(QStringLiteral("大楼信息"));
    resize(900, 480);
    reload();
}

ListQuery BuildingsScreen::listQuery() const
{
    return building_store::list();
}

RecordEditor* BuildingsScreen::makeEditor(RecordEditor::Mode mode, const QVariant& key)
{
    return new BuildingEditor(context(), mode, key.toLongLong(), this);
}

Checked<> BuildingsScreen::removeRecord(const QVariant& key)
{
    return building_store::removeUnlessRooms(db(), key.toLongLong());
}
