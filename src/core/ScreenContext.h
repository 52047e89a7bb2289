#pragma once

#include "core/Clock.h"
#include "core/Desktop.h"
#include "core/Messages.h"

#include <QSqlDatabase>
#include <QString>

class ReportPreview;

// The operator logged in at the main window.
struct OperatorIdentity
{
    QString code; // operator.op_code, trimmed
    QString name; // operator.op_name, trimmed
};

// What a screen receives from the main window before it is shown. Screens keep a
// copy; the connection, messages and clock outlive every screen.
struct ScreenContext
{
    QSqlDatabase db;                  // the shared connection
    Messages* messages = nullptr;     // information, error, question and input boxes
    const Clock* clock = nullptr;     // today and now
    Desktop* desktop = nullptr;       // exports folder, opening written files
    ReportPreview* reports = nullptr; // shows a printed list in the print preview
    bool canWrite = false;            // the operator's right on this screen is "2"
    OperatorIdentity op;              // the current operator
};
