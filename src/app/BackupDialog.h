#pragma once

#include "core/ScreenContext.h"

#include <QFileDialog>

// The "数据备份" function of the main window: a save dialog that proposes a file
// beside the database, named after it and the time; accepted, it copies the
// open database there while the office goes on working, with a progress bar
// that can cancel, and tells the operator how it went.
class BackupDialog : public QFileDialog
{
    Q_OBJECT
public:
    BackupDialog(const ScreenContext& context, QWidget* parent);

    // Backs the database up into `target`: what accepting the dialog does.
    void backUpTo(const QString& target);

private:
    ScreenContext m_context;
};
