#pragma once

#include "gui/FormFields.h"
#include "gui/Screen.h"
#include "services/CustomerService.h"

class OwnerPicker;
class ParentRowForm;
class QTabWidget;
class QTableView;
class QueryListModel;
struct ReportLayout;
struct ReportStatement;

// Customer service: every owner on the left; on the right the chosen owner's
// service jobs, complaints and fit-out permits, one tab each, edited where they
// are listed, entered one after another. Each tab previews its records of all
// owners; the service jobs of the owner export to a workbook.
class CustomerServiceScreen : public Screen
{
    Q_OBJECT
public:
    explicit CustomerServiceScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildServicePage();
    QWidget* buildComplaintPage();
    QWidget* buildFitOutPage();
    void selectOwner(qlonglong ownerId);
    QString ownerName() const;
    void preview(ParentRowForm* form, const ReportLayout& layout, const ReportStatement& statement);
    void exportJobs();

    OwnerPicker* m_owners;
    QTabWidget* m_pages;
    qlonglong m_ownerId = 0;
    QList<ParentRowForm*> m_forms;

    // service jobs
    QueryListModel* m_jobs;
    QTableView* m_jobGrid;
    ParentRowForm* m_jobForm;
    FormFields<ServiceJobInput> m_jobFields{"service"};

    // complaints
    QueryListModel* m_complaints;
    ParentRowForm* m_complaintForm;
    FormFields<Complaint> m_complaintFields{"advice"};

    // fit-out permits
    QueryListModel* m_permits;
    ParentRowForm* m_permitForm;
    FormFields<FitOutPermit> m_permitFields{"fitment"};
};
