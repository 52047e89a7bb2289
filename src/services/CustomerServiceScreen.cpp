#include "services/CustomerServiceScreen.h"

#include "base/OwnerPicker.h"
#include "db/LabelledColumns.h"
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

QVBoxLayout* pageLayout(QWidget* page, QLayout* editors, QTableView* grid,
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

    for (QWidget* date : {m_complaintFields.box("advice_time"), m_permitFields.box("start_date"),
                          m_permitFields.box("end_date")})
        form_fields::setDate(date, context.clock->today());
    run([&] { m_owners->reload(); });
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectOwner(m_owners->ownerIdAt(current.row())); });
    selectOwner(m_owners->currentOwnerId());
}

QWidget* CustomerServiceScreen::buildServicePage()
{
    auto* page = new QWidget(this);
    m_jobs = new QueryListModel(labelledColumns("service", {{"serve_id"},
                                                            {"worker"},
                                                            {"start_time"},
                                                            {"finish_time"},
                                                            {"material_money"},
                                                            {"serve_money"},
                                                            {"if_take"},
                                                            {"need_material"},
                                                            {"owner_check"}}),
                                this);
    m_jobGrid = widgets::grid(page, "dbgServe", m_jobs);

    using F = ServiceJobInput;
    m_jobFields.memo("contents", "dbmContents", &F::contents)
        .caption(QStringLiteral("内容"))
        .wide()
        .height(56)
        .text("worker", "DBEdit2", &F::worker)
        .text("owner_check", "DBEdit3", &F::ownerCheck)
        .text("start_time", "DBEdit4", &F::startTime)
        .text("finish_time", "DBEdit5", &F::finishTime)
        .number("material_money", "DBEdit6", &F::materialMoney)
        .caption(QStringLiteral("材料费"))
        .number("serve_money", "DBEdit7", &F::serveMoney)
        .caption(QStringLiteral("服务费"))
        .text("need_material", "DBEdit8", &F::needMaterial)
        .caption(QStringLiteral("所需材料"))
        .wide();
    auto* editors = new EditorSet(this);
    QLayout* boxes = m_jobFields.build(page, editors);

    auto* excel = widgets::button(page, "BitBtn2", QStringLiteral("Excel"));
    auto* print = widgets::button(page, "btnPrint", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddServe", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDel", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnModify", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnClose", QStringLiteral("退出 &c."));
    pageLayout(page, boxes, m_jobGrid, {excel, print, add, remove, save, close});

    m_jobForm =
        new ParentRowForm(context(),
                          {m_jobGrid, m_jobs, QStringLiteral("serve_id"), editors,
                           m_jobFields.box("contents"), add, save, remove},
                          ParentRowForm::formHooks<F>(
                              m_jobFields, service_store::ofOwner,
                              [this](qlonglong id) -> std::optional<F> {
                                  const std::optional<ServiceJob> job = service_store::load(db(), id);
                                  return job ? std::optional(service_store::typed(*job)) : std::nullopt;
                              },
                              [this](F typed, qlonglong id, qlonglong owner) {
                                  typed.id = id;
                                  typed.ownerId = owner;
                                  return service_store::save(db(), typed);
                              },
                              [this](qlonglong id) { service_store::remove(db(), id); }),
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
    m_complaints =
        new QueryListModel(labelledColumns("advice", {{"advice_id"},
                                                      {"advice_name"},
                                                      {"advice_time", K::Date},
                                                      {"serve_name"},
                                                      {"satisfy"},
                                                      {"revert"},
                                                      {"revert_type", {}, QStringLiteral("回访类型")},
                                                      {"advice_type"}}),
                           this);
    auto* grid = widgets::grid(page, "dbgAdvice", m_complaints);

    // A new complaint starts with the day last shown.
    using F = Complaint;
    m_complaintFields.text("advice_name", "dbeAdviceName", &F::name)
        .date("advice_time", "dtpAdviceTime", &F::time)
        .keptOnClear()
        .text("serve_name", "DBEdit10", &F::serveName)
        .text("revert", "DBEdit11", &F::revert)
        .text("revert_type", "DBEdit12", &F::revertType)
        .choice("satisfy", "DBComboBox1",
                {QStringLiteral("良好"), QStringLiteral("一般"), QStringLiteral("差")}, &F::satisfy)
        .memo("advice_content", "DBMemo2", &F::content)
        .wide()
        .height(48)
        .memo("deal_content", "DBMemo3", &F::dealContent)
        .wide()
        .height(48);
    auto* editors = new EditorSet(this);
    QLayout* boxes = m_complaintFields.build(page, editors);

    auto* print = widgets::button(page, "btnPrintAdvice", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddAdvice", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelAdvice", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveAdvice", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnCloseAdvice", QStringLiteral("退出 &c."));
    pageLayout(page, boxes, grid, {print, add, remove, save, close});

    m_complaintForm = new ParentRowForm(context(),
                                        {grid, m_complaints, QStringLiteral("advice_id"), editors,
                                         m_complaintFields.box("advice_name"), add, save, remove},
                                        ParentRowForm::formHooks<F>(
                                            m_complaintFields, complaint_store::ofOwner,
                                            [this](qlonglong id) { return complaint_store::load(db(), id); },
                                            [this](F typed, qlonglong id, qlonglong owner) {
                                                typed.id = id;
                                                typed.ownerId = owner;
                                                return complaint_store::save(db(), typed);
                                            },
                                            [this](qlonglong id) { complaint_store::remove(db(), id); }),
                                        this);

    connect(print, &QPushButton::clicked, this,
            [this] { preview(m_complaintForm, reports::rptAdvice(), reports::adviceStatement()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* CustomerServiceScreen::buildFitOutPage()
{
    auto* page = new QWidget(this);
    m_permits = new QueryListModel(labelledColumns("fitment", {{"fit_id"},
                                                               {"company_name"},
                                                               {"fit_tel"},
                                                               {"start_date", K::Date},
                                                               {"end_date", K::Date},
                                                               {"licence"},
                                                               {"address"},
                                                               {"checker"}}),
                                   this);
    auto* grid = widgets::grid(page, "dbgFitMent", m_permits);

    // A new permit starts with the dates last shown.
    using F = FitOutPermit;
    m_permitFields.date("start_date", "dtpStart", &F::startDate)
        .caption(QStringLiteral("起始日期"))
        .keptOnClear()
        .date("end_date", "dtpEnd", &F::endDate)
        .caption(QStringLiteral("截止日期"))
        .keptOnClear()
        .text("company_name", "dbeCompanyName", &F::companyName)
        .text("licence", "DBEdit16", &F::licence)
        .text("fit_tel", "DBEdit17", &F::tel)
        .text("checker", "DBEdit19", &F::checker)
        .text("address", "DBEdit18", &F::address)
        .wide()
        .memo("fit_content", "DBMemo4", &F::content)
        .wide()
        .height(56);
    auto* editors = new EditorSet(this);
    QLayout* boxes = m_permitFields.build(page, editors);

    auto* print = widgets::button(page, "btnFit", QStringLiteral("预览 &p."));
    auto* add = widgets::button(page, "btnAddFit", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDelFit", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSaveFit", QStringLiteral("保存 &s."));
    auto* close = widgets::button(page, "btnCloseFit", QStringLiteral("退出 &c."));
    pageLayout(page, boxes, grid, {print, add, remove, save, close});

    m_permitForm = new ParentRowForm(context(),
                                     {grid, m_permits, QStringLiteral("fit_id"), editors,
                                      m_permitFields.box("start_date"), add, save, remove},
                                     ParentRowForm::formHooks<F>(
                                         m_permitFields, fitout_store::ofOwner,
                                         [this](qlonglong id) { return fitout_store::load(db(), id); },
                                         [this](F typed, qlonglong id, qlonglong owner) {
                                             typed.id = id;
                                             typed.ownerId = QString::number(owner);
                                             return fitout_store::save(db(), typed);
                                         },
                                         [this](qlonglong id) { fitout_store::remove(db(), id); }),
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
    // The owner's jobs as listed.
    StatementRecordSource rows(db(), service_store::ofOwner(m_ownerId));
    if (exportList(context(), service_store::exported(ownerName()), rows, this))
        widgets::selectRow(m_jobGrid, 0);
}
