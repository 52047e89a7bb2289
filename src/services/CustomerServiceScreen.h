#pragma once

#include "gui/Screen.h"

class EditorSet;
class OwnerPicker;
class ParentRowForm;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
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
    EditorSet* m_jobEditors;
    QPlainTextEdit* m_contents;
    QLineEdit* m_worker;
    QLineEdit* m_ownerCheck;
    QLineEdit* m_startTime;
    QLineEdit* m_materialMoney;
    QLineEdit* m_serveMoney;
    QLineEdit* m_finishTime;
    QLineEdit* m_needMaterial;

    // complaints
    QueryListModel* m_complaints;
    ParentRowForm* m_complaintForm;
    EditorSet* m_complaintEditors;
    QLineEdit* m_adviceName;
    QDateEdit* m_adviceTime;
    QLineEdit* m_serveName;
    QLineEdit* m_revert;
    QLineEdit* m_revertType;
    QComboBox* m_satisfy;
    QPlainTextEdit* m_adviceContent;
    QPlainTextEdit* m_dealContent;

    // fit-out permits
    QueryListModel* m_permits;
    ParentRowForm* m_permitForm;
    EditorSet* m_permitEditors;
    QDateEdit* m_start;
    QDateEdit* m_end;
    QLineEdit* m_company;
    QLineEdit* m_licence;
    QLineEdit* m_fitTel;
    QLineEdit* m_checker;
    QLineEdit* m_address;
    QPlainTextEdit* m_fitContent;
};
