#pragma once

#include "core/Clock.h"
#include "core/Desktop.h"
#include "core/Messages.h"
#include "output/ReportPreview.h"

#include <memory>

class QPrintPreviewDialog;
struct PlacedReport;

// The application's print preview: Qt's print-preview dialog, opened on page 1
// over the laid-out report, with a "PDF" button beside print that saves the
// report as a PDF file. The dialog is window-modal and deletes itself when closed.
class PrintPreview final : public ReportPreview
{
public:
    PrintPreview(Messages& messages, const Clock& clock, Desktop& desktop)
        : m_messages(messages), m_clock(clock), m_desktop(desktop)
    {
    }

    void preview(const ReportLayout& layout, RecordSource& source, QWidget* parent) override;

private:
    void askForPdf(QPrintPreviewDialog* dialog, const std::shared_ptr<const PlacedReport>& report);

    Messages& m_messages;
    const Clock& m_clock;
    Desktop& m_desktop;
};
