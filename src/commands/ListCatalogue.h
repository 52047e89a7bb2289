#pragma once

#include "app/Rights.h"
#include "core/Period.h"
#include "output/ExportDescription.h"
#include "output/ReportLayout.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <optional>
#include <span>

// What narrows a list on the command line, as the screens' own filters do.
struct ListRequest
{
    std::optional<qlonglong> ownerId; // --owner
    QString ownerName;                // the owner's name, where a list shows it
    std::optional<Period> period;     // --from, --to
    std::optional<qlonglong> buildingId;
    std::optional<qlonglong> departmentId;
    std::optional<qlonglong> kindId; // a device kind
    bool all = false;                // moved-out owners too
};

// A list ready to be written: how the export or the printed list lays it out,
// and the statement its rows are read from.
struct ListOutput
{
    ExportDescription description; // exports
    ReportLayout layout;           // printed lists
    QString statement;
    QVariantList values;
};

// The filters a list takes, and those it cannot do without.
enum ListFilter : unsigned {
    kNoFilter = 0,
    kOwnerFilter = 1,
    kPeriodFilter = 2,
    kBuildingFilter = 4,
    kDepartmentFilter = 8,
    kKindFilter = 16,
    kAllFilter = 32,
};

// One list the command line exports or prints: the screen's own description and
// statement, and the function of the office whose browse right it needs.
struct ListEntry
{
    const char* name;    // on the command line: "owners"
    const char* caption; // UTF-8, for the help: "住户资料"
    RightsGroup group;   // the function whose rights govern it
    int position;
    const char* function; // UTF-8, the function's caption in the main window
    unsigned takes;       // ListFilter bits
    unsigned needs;       // ListFilter bits among `takes`
    ListOutput (*make)(const QSqlDatabase& db, const ListRequest& request);

    QString text() const { return QString::fromUtf8(caption); }
};

namespace list_catalogue {

// Every list a screen exports (`pelm export LIST`), and every printed list
// (`pelm print REPORT`), in the order the help shows them.
std::span<const ListEntry> exports();
std::span<const ListEntry> reports();

// The entry of that name; null when none.
const ListEntry* find(std::span<const ListEntry> entries, const QString& name);

} // namespace list_catalogue
