#pragma once

#include "core/Clock.h"
#include "core/Messages.h"

#include <QSqlDatabase>
#include <QString>

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
    QSqlDatabase db;              // the shared connection
    Messages* messages = nullptr; // information, error, question and input boxes
    const Clock* clock = nullptr; // today and now
    bool canWrite = false;        // the operator's right on this screen is "2"
    OperatorIdentity op;          // the current operator
};
