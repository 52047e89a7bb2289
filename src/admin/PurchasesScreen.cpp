#include "admin/PurchasesScreen.h"

#include "admin/Goods.h"
#include "admin/GoodsPickerDialog.h"
#include "admin/PurchaseQueryDialog.h"
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
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kBuyId = QStringLiteral("buy_id");
const QString kDetail = QStringLiteral("办公用品详细信息");

} // namespace

PurchasesScreen::PurchasesScreen(const ScreenContext& context, QWidget* parent)
    : StockMovesScreen(
          context,
          {"DBGrid1",
           // The key stays hidden.
           QList<ListColumn>{{kBuyId, QString(), ListColumn::Kind::Number}} +
               labelledColumns("goods_buy",
                               {{"goodsname", {}, QStringLiteral("物品名称")},
                                {"price", ListColumn::Kind::Decimal, QStringLiteral("单价")},
                                {"num"},
                                {"buyer", {}, QStringLiteral("购买人")},
                                {"xhgg", {}, QStringLiteral("型号规格")},
                                {"buy_date", ListColumn::Kind::Date, QStringLiteral("购买日期")}}),
           kBuyId, "btnExcel", "btnQuery", "btnAdd", "btnDel", "btnModify", "btnExit",
           /*listWaitsForNew=*/true},
          parent)
{
    setObjectName(QStringLiteral("TbuyFrm"));
    setWindowTitle(QStringLiteral("办公用品采购管理"));
    resize(820, 560);

    m_detail = new QGroupBox(kDetail, this);
    m_detail->setObjectName(QStringLiteral("GroupBox1"));
    using F = PurchaseInput;
    m_fields.keyed("goods_id", "dlkGoodsName", &F::goodsId)
        .caption(QStringLiteral("物品名称："))
        .text("xhgg", "DBEdit4", &F::xhgg)
        .caption(QStringLiteral("规格型号："))
        .number("unit_price", "dbePrice", &F::unitPrice)
        .caption(QStringLiteral("单价(元)："))
        .text("buyer", "DBEdit1", &F::buyer)
        .caption(QStringLiteral("申请人："))
        .date("buy_date", "dtpBuyDate", &F::buyDate)
        .caption(QStringLiteral("采购日期："))
        .number("num", "dbeNum", &F::quantity)
        .caption(QStringLiteral("数量："))
        .text("pzr", "DBEdit3", &F::pzr)
        .memo("remark", "DBMemo1", &F::remark)
        .caption(QStringLiteral("备注："))
        .wide()
        .height(56);
    m_detail->setLayout(m_fields.build(m_detail, editors()));
    editors()->setReadOnly(!canWrite());
    // Browsing never writes.
    m_detail->setEnabled(canWrite());
    m_goods = m_fields.box<QComboBox>("goods_id");
    m_goods->setToolTip(QStringLiteral("单击右键按类别选择物品"));
    m_goods->installEventFilter(this);
    setFirstBox(m_goods);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid(), 1);
    layout->addWidget(m_detail);
    layout->addLayout(buttonRow());

    connect(m_goods, &QComboBox::currentIndexChanged, this, &PurchasesScreen::showStock);
    fillGoods();
    begin();
}

bool PurchasesScreen::eventFilter(QObject* watched, QEvent* event)
{
    // A right click on the item box (no key held) picks the item by its type.
    if (watched == m_goods && event->type() == QEvent::MouseButtonPress) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::RightButton && click->modifiers() == Qt::NoModifier) {
            if (canWrite())
                pickGoods();
            return true;
        }
    }
    return StockMovesScreen::eventFilter(watched, event);
}

ListQuery PurchasesScreen::listQuery(const QList<qlonglong>& kept) const
{
    return purchase_store::list(m_filter, kept);
}

void PurchasesScreen::fillGoods()
{
    QList<NamedKey> goods;
    if (!run([&] { goods = goods_store::names(db()); }))
        return;
    const EditorSet::Loading loading(*editors());
    form_fields::setChoices(m_goods, goods);
}

void PurchasesScreen::selectGoods(const std::optional<int>& goodsId)
{
    if (!goodsId) {
        m_goods->setCurrentIndex(-1);
        return;
    }
    // An item added to the catalogue since the window opened is listed anew.
    if (m_goods->findData(qlonglong(*goodsId)) < 0)
        fillGoods();
    m_goods->setCurrentIndex(m_goods->findData(qlonglong(*goodsId)));
}

void PurchasesScreen::showStock()
{
    // The stock as it is now, not as it was when the window opened.
    std::optional<int> stock;
    if (m_goods->currentIndex() >= 0 &&
        !run([&] { stock = goods_store::stock(db(), m_goods->currentData().toLongLong()); }))
        return;
    m_detail->setTitle(m_goods->currentIndex() < 0
                           ? kDetail
                           : kDetail + u" (库存:" + (stock ? QString::number(*stock) : QString()) + u')');
}

void PurchasesScreen::showRecord(qlonglong id, bool isNew)
{
    Purchase purchase;
    if (isNew)
        purchase.buyDate = context().clock->today();
    else if (id != 0)
        run([&] { purchase = purchase_store::load(db(), id).value_or(Purchase{}); });
    selectGoods(purchase.goodsId);
    m_fields.show(purchase_store::typed(purchase));
}

Checked<qlonglong> PurchasesScreen::storeRecord(qlonglong id)
{
    PurchaseInput input = m_fields.read();
    input.id = id;
    return purchase_store::save(db(), input);
}

void PurchasesScreen::removeRecord(qlonglong id)
{
    purchase_store::remove(db(), id);
}

void PurchasesScreen::query()
{
    auto* dialog = new PurchaseQueryDialog(context(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // Nothing chosen leaves the list as it is.
        const std::optional<PurchaseFilter> filter = dialog->filter();
        if (!filter)
            return;
        m_filter = filter;
        listAnew();
    });
    dialog->open();
}

void PurchasesScreen::pickGoods()
{
    auto* picker = new GoodsPickerDialog(context(), this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &QDialog::finished, this, [this, picker] {
        if (picker->result().isEmpty())
            return;
        selectGoods(picker->result().toInt());
        editors()->setModified(true); // the operator's choice, as one made in the box
    });
    picker->open();
}

void PurchasesScreen::exportRecords()
{
    StatementRecordSource rows(db(), model()->query());
    if (exportList(context(), purchase_store::exported(), rows, this))
        widgets::selectRow(grid(), 0);
}
