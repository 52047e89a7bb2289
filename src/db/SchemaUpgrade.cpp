#include "db/SchemaUpgrade.h"

#include "db/DbError.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <algorithm>

namespace schema_upgrade {

std::span<const Step> steps()
{
    // Version 1 is the first; a step {1, ...} comes with version 2.
    static const std::vector<Step> list;
    return list;
}

void upgrade(const QSqlDatabase& db, std::span<const Step> steps, int target)
{
    Transaction transaction(db);
    // Read under the write lock: another copy may have upgraded the file since
    // this one looked.
    const int from = sql_dialect::schemaVersion(db);
    if (from == target)
        return;
    if (from > target) {
        throw DbError(QStringLiteral("数据库文件的版本（%1）比本程序的版本（%2）新，请使用新版程序打开。")
                          .arg(from)
                          .arg(target));
    }
    const QString failed =
        QStringLiteral("数据库文件无法从版本%1升级到版本%2，文件未做任何改动。").arg(from).arg(target);
    for (int version = from; version < target; ++version) {
        const auto step =
            std::find_if(steps.begin(), steps.end(), [version](const Step& s) { return s.from == version; });
        if (step == steps.end() || !step->run)
            throw DbError(DbError::Kind::Engine, failed,
                          QStringLiteral("缺少从版本%1升级的步骤。").arg(version));
        try {
            step->run(db);
        } catch (const DbError& e) {
            QString detail = QStringLiteral("从版本%1升级时出错：%2").arg(version).arg(e.text());
            if (!e.detail().isEmpty())
                detail += u'\n' + e.detail();
            throw DbError(DbError::Kind::Engine, failed, detail);
        }
    }
    sql_dialect::setSchemaVersion(db, target);
    transaction.commit();
}

} // namespace schema_upgrade
