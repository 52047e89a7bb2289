#pragma once

#include "output/PlacedReport.h"

#include <QString>

class QPagedPaintDevice;

// Paints laid-out pages onto a paged device: a printer, the print preview or a
// PDF file. Millimetres become device units through the device's own
// resolution; the painter is never scaled, so fonts keep their point sizes.
// Emoji, whose glyphs are colour pictures, are painted as pictures (a PDF holds
// them as text that shows nothing).
class ReportRenderer
{
public:
    explicit ReportRenderer(const PlacedReport& report) : m_report(report) {}

    // Sets the device's page layout to the report's and paints every page, or the
    // pages of the device's page ranges when it has any. False when the device
    // cannot be painted on.
    bool paint(QPagedPaintDevice& device) const;

    // Writes the report as a PDF file; false when the file cannot be written.
    bool writePdf(const QString& path) const;

private:
    const PlacedReport& m_report;
};
