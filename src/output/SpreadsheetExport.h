#pragma once

#include "core/ScreenContext.h"
#include "output/ExportDescription.h"
#include "output/RecordSource.h"

class QWidget;

// The export of a list screen's "Excel" button: writes the rows into a new
// workbook in the exports folder, named after the title and the time
// ("业主欠费清单_20261210_093000.xlsx"), and opens it with the desktop's
// spreadsheet program.
//
//  - An empty list, when the description asks for the check: "没有数据可打印！"
//    in an error box; nothing is written.
//  - An export that takes more than a moment shows a progress dialog with a
//    cancel button; cancelling leaves no file behind.
//  - A workbook that cannot be written or opened: the description's failure text.
//  - A statement the database refuses: the engine's text in the error box.
//
// Returns whether the workbook was written and opened. Afterwards the screen puts
// its list back on its first record (see docs/architecture.md).
bool exportList(const ScreenContext& context, const ExportDescription& description, RecordSource& rows,
                QWidget* parent);
