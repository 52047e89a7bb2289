#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// A test estate built one fact per line, straight into the tables (so that a test
// can also set up what no screen writes, such as a deposit):
//
//     const qlonglong tower = t.estate().addBuilding("一号楼");
//     t.estate().addRoom({.id = "101", .building = tower, .buildArea = "100.50"});
//     const qlonglong owner = t.estate().addOwner({.name = "甲公司"});
//     t.estate().linkRoom(owner, "101");
//
// Money and areas are written as typed ("12.50") and stored as hundredths, dates
// as "yyyy-MM-dd". Every function returns the new row's number and fails the test
// (by throwing) when the database refuses the fact.
class Estate
{
public:
    explicit Estate(QSqlDatabase db) : m_db(std::move(db)) {}

    qlonglong addBuilding(const QString& name);
    struct Room
    {
        QString id;
        qlonglong building = 0;
        QString buildArea = QStringLiteral("100");
        QString useState = {};
        QString match = {};
    };
    void addRoom(const Room& room);

    struct Owner
    {
        QString name;
        QString inOut = QStringLiteral("居住");
        QString linker = {};
        QString linkTel = {};
        QString inDate = {};    // yyyy-MM-dd
        QString jjlink = {};    // the emergency contact
        QString bailMoney = {}; // the deposit, in yuan
        QString credit = {};
    };
    qlonglong addOwner(const Owner& owner);
    qlonglong linkRoom(qlonglong owner, const QString& room, const QString& remark = {});
    qlonglong addMember(qlonglong owner, const QString& name, const QVariant& sex = QStringLiteral("男"));
    qlonglong addCar(qlonglong owner, const QString& number, const QString& remark = {});
    qlonglong addParkingPlace(qlonglong owner, const QString& number);

    qlonglong addChargeType(const QString& name, const QString& unitPrice, const QString& rule);
    struct Fee
    {
        qlonglong owner = 0;
        qlonglong type = 0;
        QString shouldPay = QStringLiteral("0");
        QString paid = QStringLiteral("0");
        QString date = {}; // yyyy-MM-dd
    };
    qlonglong addFee(const Fee& fee);

private:
    qlonglong insert(const QString& table, const QList<std::pair<QString, QVariant>>& values);

    QSqlDatabase m_db;
};
