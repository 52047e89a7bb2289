#pragma once

#include "output/ReportLayout.h"

#include <QString>
#include <QVariantList>

// A statement with its bound values, which a report of the property services
// prints. The caller runs it on the shared connection:
//
//     const ReportStatement s = reports::serveStatement();
//     StatementRecordSource rows(context.db, s.text, s.values);
//     runAction(*context.messages, [&] { context.reports->preview(reports::rptServe(), rows, this); });
struct ReportStatement
{
    QString text;
    QVariantList values;
};

// The printed lists of the property services. They print records of all owners
// (or all records of a table), whatever the calling screen shows: each comes with
// the statement its rows are read from.
namespace reports {

ReportLayout rptServe();   // 住户服务资料, grouped by owner
ReportLayout rptAdvice();  // 客户投诉信息, grouped by owner
ReportLayout rptFitMent(); // 二次装修信息, grouped by owner
ReportLayout rptDevice();  // 工程设备一览表, the devices of one kind
ReportLayout rptRepair();  // 故障维修信息, the repairs of one device
ReportLayout rptEvent();   // 重大事件一览表
ReportLayout rptFire();    // 消防片区资料
ReportLayout rptConnt();   // 环境保洁
ReportLayout rptPloy();    // 社区活动信息

// Every service job, complaint and fit-out permit with its owner's name, ordered
// by owner name in pinyin order (the connection needs the collation PINYIN, see
// db/PinyinCollation.h).
ReportStatement serveStatement();
ReportStatement adviceStatement();
ReportStatement fitmentStatement();
// The devices of one kind with the kind's name, ordered by dev_no.
ReportStatement deviceStatement(qlonglong typeId);
// The repairs of one device with its dev_no, ordered by repair_id.
ReportStatement repairStatement(qlonglong devId);
ReportStatement eventStatement();
ReportStatement fireStatement();
ReportStatement conditionStatement();
ReportStatement communityStatement();

} // namespace reports
