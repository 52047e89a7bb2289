#include "admin/RequisitionsScreen.h"

#include "admin/Department.h"
#include "admin/Goods.h"
#include "admin/RequisitionQueryDialog.h"
#include "db/NumberInput.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kId = QStringLiteral("id");

void fill(QComboBox* combo, const QList<NamedKey>& records)
{
    const QVariant shown = combo->currentData();
    combo->clear();
    for (const NamedKey& r : records)
        combo->addItem(r.name, r.id);
    combo->setCurrentIndex(shown.isValid() ? combo->findData(shown) : -1);
}

void select(QComboBox* combo, const std::optional<int>& key)
{
    combo->setCurrentIndex(key ? combo->findData(qlonglong(*key)) : -1);
}

} // namespace

RequisitionsScreen::RequisitionsScreen(const ScreenContext& context, QWidget* parent)
    : Screen(context, parent)
{
    setObjectName(QStringLiteral("TtakeGoodsFrm"));
    setWindowTitle(QStringLiteral("办公用品领用清单"));
    resize(860, 560);

    m_dept = new QComboBox(this);
    m_dept->setObjectName(QStringLiteral("dlkDept"));
    widgets::setField(m_dept, "dept_id");
    m_goods = new QComboBox(this);
    m_goods->setObjectName(QStringLiteral("dlcmbGoodsName"));
    widgets::setField(m_goods, "goods_id");
    m_date = widgets::dateEdit(this, "dtpTakeDate");
    m_stock = new QLabel(QStringLiteral("库存："), this);
    m_stock->setObjectName(QStringLiteral("labStore"));
    m_quantity = widgets::numberEdit(this, "dbeTakeNum");
    widgets::setField(m_quantity, "take_num");
    m_xhgg = widgets::lineEdit(this, "DBEdit1", "take_goods", "xhgg");
    m_takeMan = widgets::lineEdit(this, "dbeTakeMan", "take_goods", "take_man");
    m_pzr = widgets::lineEdit(this, "DBEdit2", "take_goods", "pzr");
    m_remark = widgets::lineEdit(this, "dbeRemark", "take_goods", "remark");
    m_editors = new EditorSet(this);
    m_editors->add({m_dept, m_goods, m_date, m_quantity, m_xhgg, m_takeMan, m_pzr, m_remark});
    // Browsing never writes.
    m_editors->setReadOnly(!canWrite());
    m_date->setEnabled(canWrite());

    using K = ListColumn::Kind;
    m_list = new QueryListModel({{kId, QString(), K::Number},
                                 {QStringLiteral("goods_name"), QStringLiteral("物品名称")},
                                 {QStringLiteral("take_man"), QStringLiteral("领用人")},
                                 {QStringLiteral("take_num"), QStringLiteral("数量"), K::Number},
                                 {QStringLiteral("take_date"), QStringLiteral("领用日期"), K::Date},
                                 {QStringLiteral("xhgg"), QStringLiteral("型号规格")},
                                 {QStringLiteral("pzr"), QStringLiteral("批准人")},
                                 {QStringLiteral("dept_name"), QStringLiteral("部门")}},
                                this);
    m_grid = widgets::grid(this, "DBGrid1", m_list);

    auto* excel = widgets::button(this, "btnExcel", QStringLiteral("Excel"));
    auto* queryButton = widgets::button(this, "btnQuery", QStringLiteral("查询"));
    auto* add = widgets::button(this, "BitBtn4", QStringLiteral("增加"));
    auto* remove = widgets::button(this, "BitBtn1", QStringLiteral("删除"));
    auto* save = widgets::button(this, "BitBtn5", QStringLiteral("保存"));
    auto* exit = widgets::button(this, "BitBtn3", QStringLiteral("退出"));
    for (QPushButton* b : {add, remove, save})
        b->setEnabled(canWrite());

    auto* form = new QGridLayout;
    const auto row = [&](int r, int c, const QString& label, QWidget* editor, int span = 1) {
        form->addWidget(new QLabel(label, this), r, c * 2);
        form->addWidget(editor, r, c * 2 + 1, 1, span);
    };
    row(0, 0, QStringLiteral("部门"), m_dept);
    row(0, 1, QStringLiteral("名称"), m_goods);
    row(1, 0, QStringLiteral("领用日期"), m_date);
    form->addWidget(m_stock, 1, 2, 1, 2);
    row(2, 0, QStringLiteral("数量"), m_quantity);
    row(2, 1, QStringLiteral("型号规格"), m_xhgg);
    row(3, 0, QStringLiteral("领用人"), m_takeMan);
    row(3, 1, QStringLiteral("批准人"), m_pzr);
    row(4, 0, QStringLiteral("备注"), m_remark, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_grid, 1);
    layout->addLayout(widgets::buttonRow({excel, queryButton, add, remove, save, exit}));

    // The boxes edit the requisition the list stands on: leaving it changed saves
    // it, with its stock move.
    m_form = new RowForm(context, m_grid, m_list, kId,
                         {[this] { return requisition_store::list(m_filter, m_kept); },
                          [this](int r) { showRequisition(r); }, [this] { return m_editors->isModified(); },
                          [this] { return storeRequisition(); }});
    connect(m_goods, &QComboBox::currentIndexChanged, this, &RequisitionsScreen::showStock);
    connect(m_dept, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_lastDept = m_dept->itemData(index).toLongLong();
    });
    connect(excel, &QPushButton::clicked, this, &RequisitionsScreen::exportRequisitions);
    connect(queryButton, &QPushButton::clicked, this, &RequisitionsScreen::query);
    connect(add, &QPushButton::clicked, this, &RequisitionsScreen::addRequisition);
    connect(save, &QPushButton::clicked, this, &RequisitionsScreen::saveRequisition);
    connect(remove, &QPushButton::clicked, this, &RequisitionsScreen::removeRequisition);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    fillChoosers();
    // A requisition for which no department was chosen is of the one shown last:
    // the first department until another is shown.
    if (m_dept->count() > 0)
        m_lastDept = m_dept->itemData(0).toLongLong();
    // Nothing is listed before the first query.
    m_form->reload();
}

void RequisitionsScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void RequisitionsScreen::fillChoosers()
{
    QList<NamedKey> departments;
    QList<NamedKey> goods;
    if (!run([&] {
            departments = department_store::names(db());
            goods = goods_store::names(db());
        }))
        return;
    const EditorSet::Loading loading(*m_editors);
    fill(m_dept, departments);
    fill(m_goods, goods);
}

void RequisitionsScreen::showStock()
{
    // The stock as it is now, also after a save here or elsewhere.
    std::optional<int> stock;
    if (m_goods->currentIndex() >= 0 &&
        !run([&] { stock = goods_store::stock(db(), m_goods->currentData().toLongLong()); }))
        return;
    m_stock->setText(m_goods->currentIndex() < 0
                         ? QStringLiteral("库存：")
                         : u"库存数量:" + (stock ? QString::number(*stock) : QString()));
}

void RequisitionsScreen::showRequisition(int row)
{
    Requisition requisition;
    if (m_form->isNewRow(row))
        requisition.takeDate = context().clock->today();
    else if (row >= 0)
        run([&] {
            requisition =
                requisition_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(Requisition{});
        });
    const EditorSet::Loading loading(*m_editors);
    m_shownId = requisition.id;
    m_shownDept = requisition.deptId;
    // An item or department added since the window opened is listed anew.
    if ((requisition.goodsId && m_goods->findData(qlonglong(*requisition.goodsId)) < 0) ||
        (requisition.deptId && m_dept->findData(qlonglong(*requisition.deptId)) < 0))
        fillChoosers();
    select(m_dept, requisition.deptId);
    select(m_goods, requisition.goodsId);
    widgets::setDate(m_date, requisition.takeDate);
    m_quantity->setText(requisition.id != 0 ? QString::number(requisition.quantity) : QString());
    m_xhgg->setText(requisition.xhgg);
    m_takeMan->setText(requisition.takeMan);
    m_pzr->setText(requisition.pzr);
    m_remark->setText(requisition.remark);
    m_editors->setModified(false);
    showStock();
}

bool RequisitionsScreen::storeRequisition()
{
    if (!canWrite())
        return true;
    RequisitionInput input;
    input.id = m_shownId;
    if (m_goods->currentIndex() >= 0 && !m_goods->currentText().trimmed().isEmpty())
        input.goodsId = m_goods->currentData().toInt();
    // The department chosen; else a stored requisition keeps its own (also one the
    // chooser no longer lists), and a new one takes the department shown last.
    // With no department to choose there is none.
    if (m_dept->count() == 0)
        input.deptId = std::nullopt;
    else if (m_dept->currentIndex() >= 0)
        input.deptId = m_dept->currentData().toInt();
    else if (input.id != 0)
        input.deptId = m_shownDept;
    else if (m_lastDept)
        input.deptId = static_cast<int>(*m_lastDept);
    input.quantity = m_quantity->text();
    input.takeDate = widgets::dateOf(m_date);
    input.xhgg = m_xhgg->text();
    input.takeMan = m_takeMan->text();
    input.pzr = m_pzr->text();
    input.remark = m_remark->text();
    const Checked<qlonglong> saved = requisition_store::save(db(), input);
    if (!saved.ok()) {
        refuse(saved.refusal());
        showStock(); // what the stock holds now
        return false;
    }
    m_shownId = saved.value();
    // A requisition stored here stays listed until the next query.
    if (!m_kept.contains(m_shownId))
        m_kept << m_shownId;
    m_editors->setModified(false);
    return true;
}

void RequisitionsScreen::addRequisition()
{
    if (canWrite() && m_form->addNewRow())
        m_goods->setFocus();
}

void RequisitionsScreen::saveRequisition()
{
    if (canWrite() && m_form->currentRow() >= 0)
        m_form->storeAndReload([this] { return QVariant(m_shownId); });
}

bool RequisitionsScreen::saveIfModified()
{
    return !m_editors->isModified() || m_form->storeAndReload([this] { return QVariant(m_shownId); });
}

void RequisitionsScreen::removeRequisition()
{
    if (!canWrite())
        return;
    if (m_list->rowCount() == 0) {
        messages().information(QStringLiteral("数据已空，无法删除！"));
        return;
    }
    if (m_form->currentRow() < 0 || !messages().confirm(QStringLiteral("确实要删除此记录吗？"),
                                                        QStringLiteral("提醒"), Messages::Buttons::YesNo))
        return;
    // What was taken goes back to the stock.
    m_form->removeCurrent({}, [this](const QVariant& key) {
        requisition_store::remove(db(), key.toLongLong());
        return Done{};
    });
}

void RequisitionsScreen::query()
{
    if (!saveIfModified())
        return;
    auto* dialog = new RequisitionQueryDialog(context(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        const std::optional<RequisitionFilter> filter = dialog->filter();
        if (result == QDialog::Accepted) {
            // Nothing chosen leaves the list as it is.
            if (!filter)
                return;
            m_filter = filter;
        } else {
            m_filter.reset(); // "退出" lists nothing
        }
        m_kept.clear();
        m_form->reload();
    });
    dialog->open();
}

void RequisitionsScreen::exportRequisitions()
{
    if (!saveIfModified())
        return;
    ExportDescription d;
    d.windowCaption = QStringLiteral("办公用品领用清单");
    d.title = QStringLiteral("物业管理系统报表");
    d.titleWidth = 8;
    d.columnWidths = {{1, 10}};
    d.family = ExportDescription::Family::OfficeGoods;
    d.failureText = QStringLiteral("Excel 启动出错，请检查！");
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("物品名称"), QStringLiteral("goods_name")),
        C::text(QStringLiteral("领用人"), QStringLiteral("take_man")),
        C::text(QStringLiteral("数量"), QStringLiteral("take_num")),
        C::text(QStringLiteral("领用日期"), QStringLiteral("take_date"), FieldFormat::Date),
        C::text(QStringLiteral("型号规格"), QStringLiteral("xhgg")),
        C::text(QStringLiteral("批准人"), QStringLiteral("pzr")),
        C::text(QStringLiteral("部门"), QStringLiteral("dept_name")),
        C::text(QStringLiteral("备注"), QStringLiteral("remark")),
    };
    StatementRecordSource rows(db(), m_list->query());
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_grid, 0);
}
