#pragma once

#include "output/ExportDescription.h"

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The customer-service records the office keeps per owner: service jobs done for
// the owner (table service), complaints received from the owner (advice) and
// fit-out permits for the owner's premises (fitment). A record keeps the owner it
// was entered for; the screen's boxes are read here, so the checks are testable
// without a window. Every function throws DbError.

// A typed date and time ("开始时间"): "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm" or
// a date alone, month, day and hour with one digit or two, full-width digits
// too. Stored "yyyy-MM-dd HH:mm:ss".
namespace typed_time {

enum class Result { Empty, DateTime, NotADateTime };

struct Read
{
    Result result = Result::Empty;
    QString value = {}; // "yyyy-MM-dd HH:mm:ss" for a date and time
};

Read read(const QString& text);

} // namespace typed_time

// A service job (table service).
struct ServiceJob
{
    qlonglong id = 0;
    qlonglong ownerId = 0; // kept by a change
    QString contents = {}; // as typed
    QString worker = {};
    QString ownerCheck = {};
    QString startTime = {}; // "yyyy-MM-dd HH:mm:ss", or empty
    QString finishTime = {};
    std::optional<Money> materialMoney = {};
    std::optional<Money> serveMoney = {};
    QString needMaterial = {};
    QString ifTake = {}; // shown, not edited here
};

// What the operator typed into the boxes of a service job.
struct ServiceJobInput
{
    qlonglong id = 0;      // the job shown; 0 for a new one
    qlonglong ownerId = 0; // the owner a new job is entered for
    QString contents = {};
    QString worker = {};
    QString ownerCheck = {};
    QString startTime = {};
    QString finishTime = {};
    QString materialMoney = {};
    QString serveMoney = {};
    QString needMaterial = {};
};

namespace service_store {

// The owner's service jobs in the order they were entered, every column; nothing
// for no owner (0).
ListQuery ofOwner(qlonglong ownerId);
// How the service jobs' "Excel" button and `pelm export services` write the jobs
// of the owner named `ownerName`.
ExportDescription exported(const QString& ownerName);
std::optional<ServiceJob> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, ServiceJob job);
void update(const QSqlDatabase& db, const ServiceJob& job);
void remove(const QSqlDatabase& db, qlonglong id);

// The job as its boxes show it.
ServiceJobInput typed(const ServiceJob& job);

// Checks the typed boxes (the times, then the amounts) and stores them as a new
// job of the owner or over the job shown; empty boxes are stored empty.
Checked<qlonglong> save(const QSqlDatabase& db, const ServiceJobInput& input);

} // namespace service_store

// A complaint or suggestion (table advice).
struct Complaint
{
    qlonglong id = 0;
    qlonglong ownerId = 0; // kept by a change
    QString name = {};     // advice_name: what the complaint is about
    QString type = {};     // shown, not edited here
    QDate time = {};       // advice_time, the day only
    QString serveName = {};
    QString revert = {};
    QString revertType = {};
    QString satisfy = {};
    QString content = {};     // as typed
    QString dealContent = {}; // as typed
};

namespace complaint_store {

ListQuery ofOwner(qlonglong ownerId);
std::optional<Complaint> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Complaint complaint);
void update(const QSqlDatabase& db, const Complaint& complaint);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new complaint (id 0) of its owner or the complaint shown, once it
// names what it is about. The texts are trimmed, the two memos kept as typed.
Checked<qlonglong> save(const QSqlDatabase& db, Complaint complaint);

} // namespace complaint_store

// A permit for fit-out work (table fitment). Its owner column is text.
struct FitOutPermit
{
    qlonglong id = 0;
    QString ownerId = {}; // the owner's number as text; kept by a change
    QDate startDate = {};
    QDate endDate = {}; // not compared with the start
    QString companyName = {};
    QString licence = {};
    QString tel = {};
    QString address = {};
    QString checker = {};
    QString content = {}; // fit_content, as typed
};

namespace fitout_store {

ListQuery ofOwner(qlonglong ownerId);
std::optional<FitOutPermit> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, FitOutPermit permit);
void update(const QSqlDatabase& db, const FitOutPermit& permit);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new permit (id 0) of its owner or the permit shown, once it names the
// fit-out company.
Checked<qlonglong> save(const QSqlDatabase& db, FitOutPermit permit);

} // namespace fitout_store
