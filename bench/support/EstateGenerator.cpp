#include "EstateGenerator.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"
#include "db/Sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// A statement prepared once and run for many rows.
class Insert
{
public:
    Insert(const QSqlDatabase& db, const QString& statement) : m_query(db)
    {
        if (!m_query.prepare(statement))
            throw DbError(m_query.lastError(), SqlDialect::of(m_query.driver()));
    }
    void run(const QVariantList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values[i]);
        if (!m_query.exec())
            throw DbError(m_query.lastError(), SqlDialect::of(m_query.driver()));
    }

private:
    QSqlQuery m_query;
};

const QStringList kSurnames = {QStringLiteral("王"), QStringLiteral("李"), QStringLiteral("张"),
                               QStringLiteral("刘"), QStringLiteral("陈"), QStringLiteral("杨")};
const QStringList kTrades = {QStringLiteral("贸易"), QStringLiteral("科技"), QStringLiteral("咨询"),
                             QStringLiteral("物流"), QStringLiteral("餐饮"), QStringLiteral("设计")};

// "07-1203": building 7, floor 12, unit 3.
QString roomNumber(int building, int index)
{
    const int floor = index / 20 + 1;
    const int unit = index % 20 + 1;
    return QStringLiteral("%1-%2%3")
        .arg(building + 1, 2, 10, QLatin1Char('0'))
        .arg(floor, 2, 10, QLatin1Char('0'))
        .arg(unit, 2, 10, QLatin1Char('0'));
}

} // namespace

void generateEstate(const QSqlDatabase& db, const EstateSize& size)
{
    Transaction transaction(db);
    {
        Insert garden(db, QStringLiteral("insert into garden (garden_name, developer, build_area, rooms_num) "
                                         "values (?, ?, ?, ?)"));
        for (int b = 0; b < size.buildings; ++b) {
            garden.run({QStringLiteral("第%1栋写字楼").arg(b + 1), QStringLiteral("环球置业"),
                        qlonglong(2000000 + b * 1000), size.rooms / size.buildings});
        }

        QStringList rooms;
        Insert room(
            db, QStringLiteral("insert into rooms_info (room_id, garden_id, build_area, use_area, use_state, "
                               "floor) values (?, ?, ?, ?, ?, ?)"));
        const int perBuilding = size.rooms / size.buildings;
        for (int b = 0; b < size.buildings; ++b) {
            for (int i = 0; i < perBuilding; ++i) {
                const QString number = roomNumber(b, i);
                rooms << number;
                room.run({number, b + 1, qlonglong(8000 + (i % 37) * 150), qlonglong(7000 + (i % 37) * 120),
                          QStringLiteral("公司"), QString::number(i / 20 + 1)});
            }
        }

        Insert owner(db,
                     QStringLiteral("insert into owner_info (owner_name, linker, link_tel, in_out, in_date, "
                                    "bail_money, credit) values (?, ?, ?, ?, ?, ?, ?)"));
        Insert link(db, QStringLiteral(
                            "insert into owner_rooms (room_id, owner_id, relation_desc) values (?, ?, ?)"));
        Insert member(db, QStringLiteral("insert into member (owner_id, member_name, sex, duty, connect_tel) "
                                         "values (?, ?, ?, ?, ?)"));
        int nextRoom = 0;
        for (int o = 1; o <= size.owners; ++o) {
            const QString surname = kSurnames[o % kSurnames.size()];
            owner.run({QStringLiteral("%1氏%2有限公司%3").arg(surname, kTrades[o % kTrades.size()]).arg(o),
                       QString(surname + QStringLiteral("经理")), QStringLiteral("020-%1").arg(80000000 + o),
                       o % 10 == 0 ? QStringLiteral("搬出") : QStringLiteral("居住"),
                       QStringLiteral("20%1-0%2-1%3").arg(10 + o % 15).arg(1 + o % 9).arg(o % 10),
                       qlonglong((o % 50) * 10000), QStringLiteral("良好")});
            for (int r = 0; r < size.roomsPerOwner && !rooms.isEmpty(); ++r)
                link.run({rooms[nextRoom++ % rooms.size()], o, QString()});
            for (int m = 0; m < size.membersPerOwner; ++m) {
                member.run({o, QString(surname + QStringLiteral("员工%1").arg(m + 1)),
                            m % 2 ? QStringLiteral("女") : QStringLiteral("男"), QStringLiteral("职员"),
                            QStringLiteral("139%1").arg(10000000 + o * 3 + m)});
            }
        }

        if (size.feeRecords > 0) {
            Insert type(db, QStringLiteral("insert into charge_type (type_name, unit_price, take_type) "
                                           "values ('物管费', 350, '建筑面积*单价*月份')"));
            type.run({});
            Insert fee(db, QStringLiteral(
                               "insert into charge_take (owner_id, type_id, should_pay, payment_real, "
                               "start_num, end_num, take_date, write_man) values (?, 1, ?, ?, ?, ?, ?, ?)"));
            for (int f = 0; f < size.feeRecords; ++f) {
                const qlonglong due = 10000 + (f % 97) * 250;
                fee.run({1 + f % std::max(1, size.owners), due, f % 5 ? due : qlonglong(0),
                         QStringLiteral("2025-%1-01").arg(1 + f % 12, 2, 10, QLatin1Char('0')),
                         QStringLiteral("2025-%1-01").arg(1 + f % 12, 2, 10, QLatin1Char('0')),
                         QStringLiteral("2025-%1-%2")
                             .arg(1 + f % 12, 2, 10, QLatin1Char('0'))
                             .arg(1 + f % 28, 2, 10, QLatin1Char('0')),
                         QStringLiteral("管理员")});
            }
        }
    }
    transaction.commit();
}
