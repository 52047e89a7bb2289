#include "admin/GoodsTypesPage.h"

#include "admin/Goods.h"
#include "db/QueryListModel.h"

namespace {

const QString kTypeId = QStringLiteral("type_id");
const QString kTypeName = QStringLiteral("type_name");

GridEditScreen::Parts parts()
{
    using K = ListColumn::Kind;
    GridEditScreen::Parts p{
        "DBGrid2",
        QStringLiteral("goods_type"),
        {
            // Numbered by the database.
            {kTypeId, QStringLiteral("序号"), K::Number},
            {kTypeName, QStringLiteral("类别名称"), K::Text, true},
        },
        kTypeId,
        QStringLiteral("确实要删除此记录吗？"),
    };
    p.add = {"BitBtn6", QStringLiteral("增加")};
    p.save = {"BitBtn8", QStringLiteral("保存")};
    p.remove = {"BitBtn7", QStringLiteral("删除")};
    p.close = {"BitBtn9", QStringLiteral("退出")};
    p.deleteButtons = Messages::Buttons::YesNo;
    return p;
}

} // namespace

GoodsTypesPage::GoodsTypesPage(const ScreenContext& context, QWidget* parent)
    : GridEditScreen(context, parts(), parent)
{
    setObjectName(QStringLiteral("tabBig"));
}

int GoodsTypesPage::typeCount() const
{
    return model()->storedRowCount();
}

ListQuery GoodsTypesPage::listQuery() const
{
    return goods_type_store::list();
}

bool GoodsTypesPage::storeRows(const QList<int>& rows)
{
    // Types are stored as typed: the office checks neither empty nor repeated names.
    QList<GoodsType> types;
    for (int row : rows)
        types.append({model()->isNewRow(row) ? 0 : model()->value(row, kTypeId).toLongLong(),
                      cellText(row, kTypeName)});
    goods_type_store::store(db(), types);
    return true;
}

Checked<> GoodsTypesPage::deleteRefusal(const QVariant& key)
{
    return goods_type_store::checkRemove(db(), key.toLongLong());
}

Checked<> GoodsTypesPage::removeRecord(const QVariant& key)
{
    return goods_type_store::removeUnlessUsed(db(), key.toLongLong());
}

void GoodsTypesPage::currentRowShown(int row)
{
    if (!m_onCurrent)
        return;
    std::optional<Current> current;
    if (row >= 0 && !model()->isNewRow(row)) {
        const QString name = cellText(row, kTypeName);
        if (!name.isEmpty())
            current = Current{model()->value(row, kTypeId).toLongLong(), name};
    }
    m_onCurrent(current);
}
