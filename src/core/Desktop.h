#pragma once

#include <QString>

// What a screen needs of the desktop around it: a folder for exported workbooks
// and a way to open a written file with its default application. Tests use a
// fake that opens nothing.
class Desktop
{
public:
    virtual ~Desktop() = default;
    // The folder exported files are written to; made when missing.
    virtual QString exportsFolder() const = 0;
    // Opens a file with the desktop's default application; false when that fails.
    virtual bool openFile(const QString& path) = 0;
};
