#pragma once

#include "core/Desktop.h"

// The real desktop: exports go to the folder "exports" in the working directory,
// and files open with QDesktopServices.
class DesktopServices final : public Desktop
{
public:
    QString exportsFolder() const override;
    bool openFile(const QString& path) override;
};
