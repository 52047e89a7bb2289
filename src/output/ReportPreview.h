#pragma once

class QWidget;
class RecordSource;
struct ReportLayout;

// Shows a printed list in the print preview, from which the operator prints or
// saves a PDF. A screen calls it from its print button:
//
//     QueryModelRecordSource rows(*m_model);              // the list as it stands
//     runAction(*context.messages, [&] { context.reports->preview(reports::rptOwner(), rows, this); });
//
// The layout and the rows are read before preview() returns; the preview itself
// stays open on its own. A source whose statement the database refuses throws
// DbError and nothing is shown.
class ReportPreview
{
public:
    virtual ~ReportPreview() = default;
    virtual void preview(const ReportLayout& layout, RecordSource& source, QWidget* parent) = 0;
};
