#pragma once

#include "core/Clock.h"
#include "output/PlacedReport.h"
#include "output/ReportPreview.h"

#include <QList>
#include <QString>
#include <QStringList>

// A print preview for tests: lays every report out as the real preview would
// (with the test's clock as the date of printing) and keeps the pages instead of
// showing them, so that a screen test can read what would be printed.
class RecordingReportPreview final : public ReportPreview
{
public:
    struct Shown
    {
        QString layoutName; // "rptOwner"
        PlacedReport report;
    };

    explicit RecordingReportPreview(const Clock& clock) : m_clock(clock) {}

    void preview(const ReportLayout& layout, RecordSource& source, QWidget* parent) override;

    const QList<Shown>& shown() const { return m_shown; }
    // The last report shown; fails the test when none was.
    const Shown& last() const;
    // The texts of one page (from 0) of the last report, in reading order.
    QStringList pageTexts(int page) const;
    void clear() { m_shown.clear(); }

private:
    const Clock& m_clock;
    QList<Shown> m_shown;
};
