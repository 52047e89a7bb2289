#pragma once

#include <QSqlDatabase>

// Rows that a new database receives on its first start.
namespace default_rows {

// Puts the four default fee types into an empty charge_type, in this order:
// 物管费, 服务费, 电费, 水费. A table holding any row is left as it is.
// Returns whether rows were inserted. Throws DbError.
bool seedChargeTypes(const QSqlDatabase& db);

} // namespace default_rows
