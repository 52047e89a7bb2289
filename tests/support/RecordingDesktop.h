#pragma once

#include "core/Desktop.h"

#include <QStringList>
#include <QTemporaryDir>

// A desktop for tests: exports go to a temporary folder and opening a file only
// records its path (or fails, when told to).
class RecordingDesktop final : public Desktop
{
public:
    QString exportsFolder() const override { return m_dir.path(); }
    bool openFile(const QString& path) override
    {
        m_opened << path;
        return m_opens;
    }

    void setOpenSucceeds(bool opens) { m_opens = opens; }
    const QStringList& opened() const { return m_opened; }

private:
    QTemporaryDir m_dir;
    QStringList m_opened;
    bool m_opens = true;
};
