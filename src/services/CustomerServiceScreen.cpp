#include "services/CustomerServiceScreen.h"

#include "base/OwnerPicker.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/WidgetFactory.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "services/CustomerService.h"
#include "services/ParentRowForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using K = ListColumn::Kind;

// Editors beside their labels, two pairs a row.
class EditorGrid
{
public:
    explicit EditorGrid(QWidget* page) : m_page(page), m_grid(new QGridLayout) {}
    QGridLayout* layout() const { return m_grid; }
    void add(int row, int pair, const QString& label, QWidget* editor, int span = 1)
    {
        m_grid->addWidget(new QLabel(label, m_page), row, pair * 2);
        m_grid->addWidget(editor, row, pair * 2 + 1, 1, span * 2 - 1);
    }

private:
    QWidget* m_page;
    QGridLayout* m_grid;
};

QVBoxLayout* pageLayout(QWidget* page, QGridLayout* editors, QTableView* grid,
                        std::initializer_list<QPushButton*> buttons)
{
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(editors);
    layout->addWidget(grid, 1);
    layout->addLayout(widgets::buttonRow(buttons));
    return layout;
}

} // namespace

CustomerServiceScreen::CustomerServiceScreen(const ScreenContext& context, QWidget* parent)
    : Screen(context, parent)
{
    setObjectName(QStringLiteral("TserveFrm"));
    setWindowTitle(QStringLiteral("住户服务"));
    resize(1000, 620);

    // Every owner, moved-out ones too, by name; each entry keeps its owner.
    m_owners = new OwnerPicker(context, this, "lstOwner", OwnerPicker::Shape::ListBox);
    m_owners->setScope(owner_store::Occupants::All, owner_store::OwnerOrder::ByName);
    m_owners->view()->setMaximumWidth(220);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildServicePage(), QStringLiteral("住户服务"));
    m_pages->addTab(buildComplaintPage(), QStringLiteral("客户投诉"));
    m_pages->addTab(buildFitOutPage(), QStringLiteral("二次装修"));
    m_forms = {m_jobForm, m_complaintForm, m_permitForm};

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_owners->view());
    layout->addWidget(m_pages, 1);

    for (QDateEdit* picker : {m_adviceTime, m_start, m_end})
        picker->setDate(context.clock->today());
    run([&] { m_owners->reload(); });
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectOwner(m_owners->ownerIdAt(current.row())); });
    selectOwner(m_owners->currentOwnerId());
}

QWidget* CustomerServiceScreen::buildServicePage()
{
    auto* page = new QWidget(this);
    m_jobs = new QueryListModel({{QStringLiteral("serve_id"), QStringLiteral("序号"), K::Number},
                                 {QStringLiteral("worker"), QStringLiteral("服务人")},
                                 {QStringLiteral("start_time"), QStringLiteral("开始时间")},
                                 {QStringLiteral("finish_time"), QStringLiteral("结束时间")},
                                 {QStringLiteral("material_money"), QStringLiteral("原料费用"), K::Decimal},
                                 {QStringLiteral("serve_money"), QStringLiteral("服务费用"), K::Decimal},
                                 {QStringLiteral("if_take"), QStringLiteral("已付费")},
                                 {QStringLiteral("need_material"), QStringLiteral("所需原料")},
                                 {QStringLiteral("owner_check"), QStringLiteral("用户验收")}},
                                this);
    m_jobGrid = widgets::grid(page, "dbgServe", m_jobs);

    m_contents = widgets::memo(page, "dbmContents", "service", "contents");
    m_contents->setFixedHeight(56);
    m_worker = widgets::lineEdit(page, "DBEdit2", "service", "worker");
    m_ownerCheck = widgets::lineEdit(page, "DBEdit3", "service", "owner_check");
    m_startTime = widgets::lineEdit(page, "DBEdit4");
    m_materialMoney = widgets::numberEdit(page, "DBEdit6");
    m_serveMoney = widgets::numberEdit(page, "DBEdit7");
    m_finishTime = widgets::lineEdit(page, "DBEdit5");
    m_needMaterial = widgets::lineEdit(page, "DBEdit8", "service", "need_material");
    m_jobEditors = new EditorSet(this);
    m_jobEditors->add({m_contents, m_worker, m_ownerCheck, m_startTime, m_materialMoney, m_serveMoney,
                       m_finishTime, m_needMaterial});

    EditorGrid editors(page);
    editors.add(0, 0, QStringLiteral("内容"), m_contents, 2);
    editors.add(1, 0, QStringLiteral("服务人"), m_worker);
    editors.add(1, 1, QStringLiteral("用户验收"), m_ownerCheck);
    editors.add(2, 0, QStringLiteral("开始时间"), m_startTime);
    editors.add(2, 1, QStringLiteral("结束时间"), m_finishTime);
    editors.add(3, 0, QStringLiteral("材料费"), m_materialMoney);
    editors.add(3, 1, QStringLiteral("服务费"), m_serveMoney);
    editors.add(4, 0, QStringLiteral("所需材料"), m_needMaterial, 2);

    auto* excel = widgets::button(page, "BitBtn2", QStringLiteral("Excel"));
    auto* print = widgets::button(page, "btnPrint", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddServe", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDel", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnModify", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnClose", QStringLiteral("退出 &c."));
    pageLayout(page, editors.layout(), m_jobGrid, {excel, print, add, remove, save, close});

    const auto clear = [this] {
        m_contents->clear();
        for (QLineEdit* box : {m_worker, m_ownerCheck, m_startTime, m_materialMoney, m_serveMoney,
                               m_finishTime, m_needMaterial})
            box->clear();
    };
    m_jobForm = new ParentRowForm(
        context(),
        {m_jobGrid, m_jobs, QStringLiteral("serve_id"), m_jobEditors, m_contents, add, save, remove},
        {[](qlonglong owner) { return service_store::ofOwner(owner); },
         [this, clear](qlonglong id) {
             const std::optional<ServiceJob> job = service_store::load(db(), id);
             if (!job) {
                 clear();
                 return;
             }
             m_contents->setPlainText(job->contents);
             m_worker->setText(job->worker);
             m_ownerCheck->setText(job->ownerCheck);
             m_startTime->setText(job->startTime);
             m_finishTime->setText(job->finishTime);
             m_materialMoney->setText(job->materialMoney ? job->materialMoney->toString(2) : QString());
             m_serveMoney->setText(job->serveMoney ? job->serveMoney->toString(2) : QString());
             m_needMaterial->setText(job->needMaterial);
         },
         clear, clear,
         [this](qlonglong id, qlonglong owner) {
             return service_store::save(db(), {id, owner, m_contents->toPlainText(), m_worker->text(),
                                               m_ownerCheck->text(), m_startTime->text(),
                                               m_finishTime->text(), m_materialMoney->text(),
                                               m_serveMoney->text(), m_needMaterial->text()});
         },
         [this](qlonglong id) { service_store::remove(db(), id); }},
        this);

    connect(print, &QPushButton::clicked, this,
            [this] { preview(m_jobForm, reports::rptServe(), reports::serveStatement()); });
    connect(excel, &QPushButton::clicked, this, &CustomerServiceScreen::exportJobs);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* CustomerServiceScreen::buildComplaintPage()
{
    auto* page = new QWidget(this);
    m_complaints = new QueryListModel({{QStringLiteral("advice_id"), QStringLiteral("序号"), K::Number},
                                       {QStringLiteral("advice_name"), QStringLiteral("投诉对象")},
                                       {QStringLiteral("advice_time"), QStringLiteral("投诉时间"), K::Date},
                                       {QStringLiteral("serve_name"), QStringLiteral("处理人")},
                                       {QStringLiteral("satisfy"), QStringLiteral("满意程度")},
                                       {QStringLiteral("revert"), QStringLiteral("回访人")},
                                       {QStringLiteral("revert_type"), QStringLiteral("回访类型")},
                                       {QStringLiteral("advice_type"), QStringLiteral("投诉类型")}},
                                      this);
    auto* grid = widgets::grid(page, "dbgAdvice", m_complaints);

    m_adviceName = widgets::lineEdit(page, "dbeAdviceName", "advice", "advice_name");
    m_adviceTime = widgets::dateEdit(page, "dtpAdviceTime");
    m_serveName = widgets::lineEdit(page, "DBEdit10", "advice", "serve_name");
    m_revert = widgets::lineEdit(page, "DBEdit11", "advice", "revert");
    m_revertType = widgets::lineEdit(page, "DBEdit12", "advice", "revert_type");
    m_satisfy = widgets::comboBox(page, "DBComboBox1",
                                  {QStringLiteral("良好"), QStringLiteral("一般"), QStringLiteral("差")},
                                  "advice", "satisfy");
    m_adviceContent = widgets::memo(page, "DBMemo2", "advice", "advice_content");
    m_dealContent = widgets::memo(page, "DBMemo3", "advice", "deal_content");
    for (QPlainTextEdit* memo : {m_adviceContent, m_dealContent})
        memo->setFixedHeight(48);
    m_complaintEditors = new EditorSet(this);
    m_complaintEditors->add({m_adviceName, m_adviceTime, m_serveName, m_revert, m_revertType, m_satisfy,
                             m_adviceContent, m_dealContent});

    EditorGrid editors(page);
    editors.add(0, 0, QStringLiteral("投诉对象"), m_adviceName);
    editors.add(0, 1, QStringLiteral("投诉时间"), m_adviceTime);
    editors.add(1, 0, QStringLiteral("处理人"), m_serveName);
    editors.add(1, 1, QStringLiteral("回访人"), m_revert);
    editors.add(2, 0, QStringLiteral("回访方式"), m_revertType);
    editors.add(2, 1, QStringLiteral("满意程度"), m_satisfy);
    editors.add(3, 0, QStringLiteral("投诉内容"), m_adviceContent, 2);
    editors.add(4, 0, QStringLiteral("处理内容"), m_dealContent, 2);

    auto* print = widgets::button(page, "btnPrintAdvice", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddAdvice", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelAdvice", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveAdvice", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnCloseAdvice", QStringLiteral("退出 &c."));
    pageLayout(page, editors.layout(), grid, {print, add, remove, save, close});

    // A new complaint starts with the day last shown.
    const auto clear = [this] {
        for (QLineEdit* box : {m_adviceName, m_serveName, m_revert, m_revertType})
            box->clear();
        m_satisfy->setCurrentIndex(-1);
        m_satisfy->setEditText(QString());
        m_adviceContent->clear();
        m_dealContent->clear();
    };
    m_complaintForm = new ParentRowForm(context(),
                                        {grid, m_complaints, QStringLiteral("advice_id"), m_complaintEditors,
                                         m_adviceName, add, save, remove},
                                        {[](qlonglong owner) { return complaint_store::ofOwner(owner); },
                                         [this, clear](qlonglong id) {
                                             const std::optional<Complaint> c =
                                                 complaint_store::load(db(), id);
                                             if (!c) {
                                                 clear();
                                                 return;
                                             }
                                             m_adviceName->setText(c->name);
                                             widgets::setDate(m_adviceTime, c->time);
                                             m_serveName->setText(c->serveName);
                                             m_revert->setText(c->revert);
                                             m_revertType->setText(c->revertType);
                                             m_satisfy->setCurrentIndex(m_satisfy->findText(c->satisfy));
                                             m_satisfy->setEditText(c->satisfy);
                                             m_adviceContent->setPlainText(c->content);
                                             m_dealContent->setPlainText(c->dealContent);
                                         },
                                         clear, clear,
                                         [this](qlonglong id, qlonglong owner) {
                                             Complaint c;
                                             c.id = id;
                                             c.ownerId = owner;
                                             c.name = m_adviceName->text();
                                             c.time = widgets::dateOf(m_adviceTime); // the day alone
                                             c.serveName = m_serveName->text();
                                             c.revert = m_revert->text();
                                             c.revertType = m_revertType->text();
                                             c.satisfy = m_satisfy->currentText();
                                             c.content = m_adviceContent->toPlainText();
                                             c.dealContent = m_dealContent->toPlainText();
                                             return complaint_store::save(db(), c);
                                         },
                                         [this](qlonglong id) { complaint_store::remove(db(), id); }},
                                        this);

    connect(print, &QPushButton::clicked, this,
            [this] { preview(m_complaintForm, reports::rptAdvice(), reports::adviceStatement()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* CustomerServiceScreen::buildFitOutPage()
{
    auto* page = new QWidget(this);
    m_permits = new QueryListModel({{QStringLiteral("fit_id"), QStringLiteral("序号"), K::Number},
                                    {QStringLiteral("company_name"), QStringLiteral("装修公司")},
                                    {QStringLiteral("fit_tel"), QStringLiteral("联系电话")},
                                    {QStringLiteral("start_date"), QStringLiteral("开始日期"), K::Date},
                                    {QStringLiteral("end_date"), QStringLiteral("结束日期"), K::Date},
                                    {QStringLiteral("licence"), QStringLiteral("公司执照")},
                                    {QStringLiteral("address"), QStringLiteral("装修地址")},
                                    {QStringLiteral("checker"), QStringLiteral("审批人")}},
                                   this);
    auto* grid = widgets::grid(page, "dbgFitMent", m_permits);

    m_start = widgets::dateEdit(page, "dtpStart");
    m_end = widgets::dateEdit(page, "dtpEnd");
    m_company = widgets::lineEdit(page, "dbeCompanyName", "fitment", "company_name");
    m_licence = widgets::lineEdit(page, "DBEdit16", "fitment", "licence");
    m_fitTel = widgets::lineEdit(page, "DBEdit17", "fitment", "fit_tel");
    m_checker = widgets::lineEdit(page, "DBEdit19", "fitment", "checker");
    m_address = widgets::lineEdit(page, "DBEdit18", "fitment", "address");
    m_fitContent = widgets::memo(page, "DBMemo4", "fitment", "fit_Content");
    m_fitContent->setFixedHeight(56);
    m_permitEditors = new EditorSet(this);
    m_permitEditors->add(
        {m_start, m_end, m_company, m_licence, m_fitTel, m_checker, m_address, m_fitContent});

    EditorGrid editors(page);
    editors.add(0, 0, QStringLiteral("起始日期"), m_start);
    editors.add(0, 1, QStringLiteral("截止日期"), m_end);
    editors.add(1, 0, QStringLiteral("装修公司"), m_company);
    editors.add(1, 1, QStringLiteral("公司执照"), m_licence);
    editors.add(2, 0, QStringLiteral("联系电话"), m_fitTel);
    editors.add(2, 1, QStringLiteral("审批人"), m_checker);
    editors.add(3, 0, QStringLiteral("装修地址"), m_address, 2);
    editors.add(4, 0, QStringLiteral("装修内容"), m_fitContent, 2);

    auto* print = widgets::button(page, "btnFit", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddFit", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelFit", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveFit", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnCloseFit", QStringLiteral("退出 &c."));
    pageLayout(page, editors.layout(), grid, {print, add, remove, save, close});

    // A new permit starts with the dates last shown.
    const auto clear = [this] {
        for (QLineEdit* box : {m_company, m_licence, m_fitTel, m_checker, m_address})
            box->clear();
        m_fitContent->clear();
    };
    m_permitForm = new ParentRowForm(
        context(), {grid, m_permits, QStringLiteral("fit_id"), m_permitEditors, m_start, add, save, remove},
        {[](qlonglong owner) { return fitout_store::ofOwner(owner); },
         [this, clear](qlonglong id) {
             const std::optional<FitOutPermit> p = fitout_store::load(db(), id);
             if (!p) {
                 clear();
                 return;
             }
             widgets::setDate(m_start, p->startDate);
             widgets::setDate(m_end, p->endDate);
             m_company->setText(p->companyName);
             m_licence->setText(p->licence);
             m_fitTel->setText(p->tel);
             m_checker->setText(p->checker);
             m_address->setText(p->address);
             m_fitContent->setPlainText(p->content);
         },
         clear, clear,
         [this](qlonglong id, qlonglong owner) {
             FitOutPermit p;
             p.id = id;
             p.ownerId = QString::number(owner);
             p.startDate = widgets::dateOf(m_start);
             p.endDate = widgets::dateOf(m_end);
             p.companyName = m_company->text();
             p.licence = m_licence->text();
             p.tel = m_fitTel->text();
             p.checker = m_checker->text();
             p.address = m_address->text();
             p.content = m_fitContent->toPlainText();
             return fitout_store::save(db(), p);
         },
         [this](qlonglong id) { fitout_store::remove(db(), id); }},
        this);

    connect(print, &QPushButton::clicked, this,
            [this] { preview(m_permitForm, reports::rptFitMent(), reports::fitmentStatement()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void CustomerServiceScreen::keyPressEvent(QKeyEvent* event)
{
    // The close buttons are the window's cancel buttons.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void CustomerServiceScreen::selectOwner(qlonglong ownerId)
{
    // What was typed for the owner shown is stored first; when that is refused the
    // list goes back to that owner.
    for (ParentRowForm* form : m_forms) {
        if (!form->storeIfModified()) {
            QTimer::singleShot(0, this, [this] {
                const QSignalBlocker blocker(m_owners->view()->selectionModel());
                m_owners->select(m_ownerId);
                m_owners->view()->viewport()->update();
            });
            return;
        }
    }
    m_ownerId = ownerId;
    for (ParentRowForm* form : m_forms)
        form->setParent(m_ownerId);
}

QString CustomerServiceScreen::ownerName() const
{
    const int row = widgets::currentRow(m_owners->view());
    return row < 0 ? QString()
                   : m_owners->model()->value(row, QStringLiteral("owner_name")).toString().trimmed();
}

void CustomerServiceScreen::preview(ParentRowForm* form, const ReportLayout& layout,
                                    const ReportStatement& statement)
{
    // What was typed is printed too.
    if (!form->storeIfModified())
        return;
    run([&] {
        // Every owner's records, whatever the list shows.
        StatementRecordSource rows(db(), statement.text, statement.values);
        context().reports->preview(layout, rows, this);
    });
}

void CustomerServiceScreen::exportJobs()
{
    if (!m_jobForm->storeIfModified())
        return;
    ExportDescription d;
    d.title = QStringLiteral("住户服务信息");
    d.titleWidth = 13;
    d.columnWidths = {{1, 10}};
    using C = ExportColumn;
    d.columns = {
        C::screenValue(QStringLiteral("住户名称"), ownerName()),
        C::text(QStringLiteral("服务人"), QStringLiteral("worker")),
        C::text(QStringLiteral("开始时间"), QStringLiteral("start_time")),
        C::text(QStringLiteral("原料费用"), QStringLiteral("material_money"), FieldFormat::Decimal),
        C::text(QStringLiteral("服务费用"), QStringLiteral("serve_money"), FieldFormat::Decimal),
        C::text(QStringLiteral("已付费"), QStringLiteral("if_take")),
        C::text(QStringLiteral("所需原料"), QStringLiteral("need_material")),
        C::text(QStringLiteral("用户验收"), QStringLiteral("owner_check")),
        // No column of a service job goes under this caption.
        C::screenValue(QStringLiteral("装修情况"), QString()),
        C::text(QStringLiteral("结束时间"), QStringLiteral("finish_time")),
    };
    // The owner's jobs as listed.
    StatementRecordSource rows(db(), service_store::ofOwner(m_ownerId));
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_jobGrid, 0);
}
