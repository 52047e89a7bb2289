#pragma once

#include <QSqlDatabase>

#include <functional>
#include <span>
#include <vector>

// Bringing a database file made by an older release up to this release's schema.
// Each release that changes the schema raises schema::kVersion, changes the
// description in Schema.cpp (which makes new files), and adds one step here that
// turns a file of the previous version into the new one.
namespace schema_upgrade {

// One step: turns a file of version `from` into one of version `from + 1`.
// Throws DbError when it fails.
struct Step
{
    int from;
    std::function<void(const QSqlDatabase&)> run;
};

// The steps of this release, one for every version before schema::kVersion.
std::span<const Step> steps();

// Brings the file on `db` to version `target`: runs the steps from the file's
// version upwards, in order of their versions, then writes `target` as the
// file's version, all in one transaction. A file already at `target` is left as
// it is. Throws DbError, with the file left at its old version and content, when
// a step fails or is missing or the file is newer than `target`.
void upgrade(const QSqlDatabase& db, std::span<const Step> steps, int target);

} // namespace schema_upgrade
