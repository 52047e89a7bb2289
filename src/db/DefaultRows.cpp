#include "db/DefaultRows.h"

#include "core/Decimal2.h"
#include "db/Sql.h"

namespace default_rows {

bool seedChargeTypes(const QSqlDatabase& db)
{
    // Checked inside the write transaction: two copies starting at once seed once.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select type_id from charge_type limit 1")))
        return false;

    struct Default
    {
        QString name;
        QString rule;
    };
    const Default defaults[] = {
        {QStringLiteral("物管费"), QStringLiteral("建筑面积*单价*月份")},
        {QStringLiteral("服务费"), QStringLiteral("普通收费")},
        {QStringLiteral("电费"), QStringLiteral("表读数*单价")},
        {QStringLiteral("水费"), QStringLiteral("表读数*单价")},
    };
    for (const Default& d : defaults) {
        sql::exec(
            db, QStringLiteral("insert into charge_type (type_name, unit_price, take_type) values (?, ?, ?)"),
            {d.name, Money().toDb(), d.rule});
    }
    transaction.commit();
    return true;
}

} // namespace default_rows
