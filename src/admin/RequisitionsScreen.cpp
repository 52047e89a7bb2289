#include "admin/RequisitionsScreen.h"

#include "admin/Department.h"
#include "admin/Goods.h"
#include "admin/RequisitionQueryDialog.h"
#include "db/LabelledColumns.h"
#include "db/NumberInput.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
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

} // namespace

RequisitionsScreen::RequisitionsScreen(const ScreenContext& context, QWidget* parent)
    : StockMovesScreen(context,
                       {"DBGrid1",
                        // The key stays hidden.
                        QList<ListColumn>{{kId, QString(), ListColumn::Kind::Number}} +
                            labelledColumns("take_goods", {{"goods_name", {}, QStringLiteral("物品名称")},
                                                           {"take_man"},
                                                           {"take_num", ListColumn::Kind::Number},
                                                           {"take_date", ListColumn::Kind::Date},
                                                           {"xhgg"},
                                                           {"pzr"},
                                                           {"dept_name", {}, QStringLiteral("部门")}}),
                        kId, "btnExcel", "btnQuery", "BitBtn4", "BitBtn1", "BitBtn5", "BitBtn3"},
                       parent)
{
    setObjectName(QStringLiteral("TtakeGoodsFrm"));
    setWindowTitle(QStringLiteral("办公用品领用清单"));
    resize(860, 560);

    using F = RequisitionInput;
    m_fields.keyed("dept_id", "dlkDept", &F::deptId)
        .keyed("goods_id", "dlcmbGoodsName", &F::goodsId)
        .caption(QStringLiteral("名称"))
        .date("take_date", "dtpTakeDate", &F::takeDate)
        .endsRow()
        .number("take_num", "dbeTakeNum", &F::quantity)
        .text("xhgg", "DBEdit1", &F::xhgg)
        .text("take_man", "dbeTakeMan", &F::takeMan)
        .text("pzr", "DBEdit2", &F::pzr)
        .text("remark", "dbeRemark", &F::remark)
        .wide();
    QGridLayout* boxes = m_fields.build(this, editors());
    editors()->setReadOnly(!canWrite());
    // Browsing never writes.
    m_fields.box("take_date")->setEnabled(canWrite());
    m_stock = new QLabel(QStringLiteral("库存："), this);
    m_stock->setObjectName(QStringLiteral("labStore"));
    boxes->addWidget(m_stock, 1, 2, 1, 2);
    m_dept = m_fields.box<QComboBox>("dept_id");
    m_goods = m_fields.box<QComboBox>("goods_id");
    setFirstBox(m_goods);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(grid(), 1);
    layout->addLayout(buttonRow());
    putListAfter(m_fields.box("remark"));

    connect(m_goods, &QComboBox::currentIndexChanged, this, &RequisitionsScreen::showStock);
    connect(m_dept, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_lastDept = m_dept->itemData(index).toLongLong();
    });

    fillChoosers();
    // A requisition for which no department was chosen is of the one shown last:
    // the first department until another is shown.
    if (m_dept->count() > 0)
        m_lastDept = m_dept->itemData(0).toLongLong();
    // Nothing is listed before the first query.
    begin();
}

ListQuery RequisitionsScreen::listQuery(const QList<qlonglong>& kept) const
{
    return requisition_store::list(m_filter, kept);
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
    const EditorSet::Loading loading(*editors());
    form_fields::setChoices(m_dept, departments);
    form_fields::setChoices(m_goods, goods);
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

void RequisitionsScreen::showRecord(qlonglong id, bool isNew)
{
    Requisition requisition;
    if (isNew)
        requisition.takeDate = context().clock->today();
    else if (id != 0)
        run([&] { requisition = requisition_store::load(db(), id).value_or(Requisition{}); });
    m_shownDept = requisition.deptId;
    // An item or department added since the window opened is listed anew.
    if ((requisition.goodsId && m_goods->findData(qlonglong(*requisition.goodsId)) < 0) ||
        (requisition.deptId && m_dept->findData(qlonglong(*requisition.deptId)) < 0))
        fillChoosers();
    m_fields.show(requisition_store::typed(requisition));
}

Checked<qlonglong> RequisitionsScreen::storeRecord(qlonglong id)
{
    RequisitionInput input = m_fields.read();
    input.id = id;
    if (m_goods->currentText().trimmed().isEmpty())
        input.goodsId = std::nullopt;
    // The department chosen; else a stored requisition keeps its own (also one the
    // chooser no longer lists), and a new one takes the department shown last.
    // With no department to choose there is none.
    if (m_dept->count() == 0)
        input.deptId = std::nullopt;
    else if (!input.deptId && id != 0)
        input.deptId = m_shownDept;
    else if (!input.deptId && m_lastDept)
        input.deptId = static_cast<int>(*m_lastDept);
    return requisition_store::save(db(), input);
}

void RequisitionsScreen::removeRecord(qlonglong id)
{
    // What was taken goes back to the stock.
    requisition_store::remove(db(), id);
}

void RequisitionsScreen::query()
{
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
        listAnew();
    });
    dialog->open();
}

void RequisitionsScreen::exportRecords()
{
    StatementRecordSource rows(db(), model()->query());
    if (exportList(context(), requisition_store::exported(), rows, this))
        widgets::selectRow(grid(), 0);
}
