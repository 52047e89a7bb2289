#pragma once

#include <QDateTime>
#include <QString>

// Names of the files the office writes into the exports folder: the list's title
// and the time of writing, "业主欠费清单_20261210_093000.xlsx", with every
// character that a file name cannot hold replaced by "_".
namespace export_file_name {

// The name without folder or extension. An empty title gives "导出".
QString baseName(const QString& title, const QDateTime& when);

// A path in `folder` named `base` + `suffix` (".xlsx") that no file has yet:
// "name.xlsx", else "name(2).xlsx", "name(3).xlsx" ...
QString uniquePath(const QString& folder, const QString& base, const QString& suffix);

} // namespace export_file_name
