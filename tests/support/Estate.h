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

    // The office: departments and office supplies. Purchases and requisitions
    // are written as facts: they move no stock (set the stock of the goods).
    qlonglong addDepartment(const QString& name);
    qlonglong addGoodsType(const QString& name);
    struct Goods
    {
        QString name;
        qlonglong type = 0;
        QVariant stock = {}; // none: never counted
        QVariant sortId = {};
        QString remark = {};
    };
    qlonglong addGoods(const Goods& goods);
    struct Purchase
    {
        qlonglong goods = 0;
        int quantity = 0;
        QString date = {}; // yyyy-MM-dd
        QString buyer = {};
        QString xhgg = {};
        QVariant unitPrice = {}; // as the floating-point column holds it
        QString remark = {};
    };
    qlonglong addPurchase(const Purchase& purchase);
    struct Requisition
    {
        qlonglong goods = 0;
        qlonglong dept = 0; // 0: none
        int quantity = 0;
        QString date = {}; // yyyy-MM-dd
        QString takeMan = {};
        QString xhgg = {};
        QString remark = {};
    };
    qlonglong addRequisition(const Requisition& requisition);
    qlonglong addDeptGoods(qlonglong dept, qlonglong goods, const QVariant& quantity,
                           const QString& remark = {});

    // The property services. Times are written as given ("2026-12-10 09:30:00"),
    // amounts as typed.
    struct Service
    {
        qlonglong owner = 0;
        QString worker = {};
        QString startTime = {};
        QString finishTime = {};
        QString materialMoney = {};
        QString serveMoney = {};
        QString needMaterial = {};
        QString ownerCheck = {};
        QString ifTake = {};
        QString contents = {};
    };
    qlonglong addService(const Service& service);
    struct Complaint
    {
        qlonglong owner = 0;
        QString name;
        QString time = {}; // yyyy-MM-dd
        QString serveName = {};
        QString revert = {};
        QString revertType = {};
        QString satisfy = {};
        QString type = {};
        QString content = {};
        QString dealContent = {};
    };
    qlonglong addComplaint(const Complaint& complaint);
    struct FitOut
    {
        QString owner; // the owner's number, as the text column holds it
        QString company;
        QString startDate = {};
        QString endDate = {};
        QString licence = {};
        QString tel = {};
        QString address = {};
        QString checker = {};
        QString content = {};
    };
    qlonglong addFitOut(const FitOut& permit);

    qlonglong addDeviceType(const QString& name);
    struct Device
    {
        qlonglong type = 0;
        QString number;
        QString name;
        QString useDate = {};
        QString factoryDate = {};
        QString factory = {};
        QString linkTel = {};
        QString voltage = {};
        QString power = {};
        QString curr = {};
        QVariant oldYear = {};
        QString palace = {};
        QString remark = {};
    };
    qlonglong addDevice(const Device& device);
    struct Repair
    {
        qlonglong device = 0;
        QString faultDesc;
        QString faultTime = {};
        QString finishTime = {};
        QString repairTime = {};
        QString cause = {};
        QString result = {};
        QString repairer = {};
        QString money = {};
        QString desc = {};
    };
    qlonglong addRepair(const Repair& repair);

    struct Event
    {
        QString name;
        QString type = {};
        QString dealMan = {};
        QString takeTime = {}; // yyyy-MM-dd
        QString address = {};
        QString detail = {};
        QString dealResult = {};
    };
    qlonglong addEvent(const Event& event);
    struct FireZone
    {
        QString areaName;
        QString grade = {};
        QString address = {};
        QString fireArea = {};
        QString checker = {};
        QString cycle = {};
        QString fireman = {};
        QString equipment = {};
        QString remark = {};
    };
    qlonglong addFireZone(const FireZone& zone);
    struct CleaningArea
    {
        QString areaName;
        QString charger = {};
        QString cycle = {};
        QString remark = {};
    };
    qlonglong addCleaningArea(const CleaningArea& area);
    struct Activity
    {
        QString name;
        QString mainDept = {};
        QString secondDept = {};
        QString affiche = {};
        QString startDate = {}; // yyyy-MM-dd
        QString endDate = {};
        QString chargeMan = {};
        QString ployMoney = {};
        QString moneyTake = {};
        QString takePeople = {};
        QString circs = {};
        QString remark = {};
    };
    qlonglong addActivity(const Activity& activity);
    struct ServiceOrder
    {
        qlonglong owner = 0;
        QString recordDate = {}; // yyyy-MM-dd
        QString sendDept = {};
        QString receDept = {};
        QString orderTime = {};
        QString recorder = {};
        QString linkTel = {};
        QString takeStand = {};
        QString takeMoney = {};
        QString bigMoney = {};
        QString custWrite = {};
        QString serverItem = {};
        QString remark = {};
    };
    qlonglong addServiceOrder(const ServiceOrder& order);

    qlonglong addEmployee(qlonglong dept, const QString& name);

private:
    qlonglong insert(const QString& table, const QList<std::pair<QString, QVariant>>& values);

    QSqlDatabase m_db;
};
