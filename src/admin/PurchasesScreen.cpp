#include "admin/PurchasesScreen.h"

#include "admin/Goods.h"
#include "admin/GoodsPickerDialog.h"
#include "admin/PurchaseQueryDialog.h"
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

PurchasesScreen::PurchasesScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TbuyFrm"));
    setWindowTitle(QStringLiteral("办公用品采购管理"));
    resize(820, 560);

    using K = ListColumn::Kind;
    m_list = new QueryListModel({{kBuyId, QString(), K::Number},
                                 {QStringLiteral("goodsname"), QStringLiteral("物品名称")},
                                 {QStringLiteral("price"), QStringLiteral("单价"), K::Decimal},
                                 {QStringLiteral("num"), QStringLiteral("数量"), K::Number},
                                 {QStringLiteral("buyer"), QStringLiteral("购买人")},
                                 {QStringLiteral("xhgg"), QStringLiteral("型号规格")},
                                 {QStringLiteral("buy_date"), QStringLiteral("购买日期"), K::Date}},
                                this);
    m_grid = widgets::grid(this, "DBGrid1", m_list);

    m_detail = new QGroupBox(kDetail, this);
    m_detail->setObjectName(QStringLiteral("GroupBox1"));
    m_goods = new QComboBox(m_detail);
    m_goods->setObjectName(QStringLiteral("dlkGoodsName"));
    widgets::setField(m_goods, "goods_id");
    m_goods->setToolTip(QStringLiteral("单击右键按类别选择物品"));
    m_goods->installEventFilter(this);
    m_xhgg = widgets::lineEdit(m_detail, "DBEdit4", "goods_buy", "xhgg");
    m_price = widgets::numberEdit(m_detail, "dbePrice");
    widgets::setField(m_price, "unit_price");
    m_buyer = widgets::lineEdit(m_detail, "DBEdit1", "goods_buy", "buyer");
    m_date = widgets::dateEdit(m_detail, "dtpBuyDate");
    m_quantity = widgets::numberEdit(m_detail, "dbeNum");
    widgets::setField(m_quantity, "num");
    m_pzr = widgets::lineEdit(m_detail, "DBEdit3", "goods_buy", "pzr");
    m_remark = widgets::memo(m_detail, "DBMemo1");
    m_remark->setFixedHeight(56);
    m_editors = new EditorSet(this);
    m_editors->add({m_goods, m_xhgg, m_price, m_buyer, m_date, m_quantity, m_pzr, m_remark});
    // Browsing never writes.
    m_editors->setReadOnly(!canWrite());
    m_detail->setEnabled(canWrite());

    auto* form = new QGridLayout(m_detail);
    const auto row = [&](int r, int c, const QString& label, QWidget* editor, int span = 1) {
        form->addWidget(new QLabel(label, m_detail), r, c * 2);
        form->addWidget(editor, r, c * 2 + 1, 1, span);
    };
    row(0, 0, QStringLiteral("物品名称："), m_goods);
    row(0, 1, QStringLiteral("规格型号："), m_xhgg);
    row(1, 0, QStringLiteral("单价(元)："), m_price);
    row(1, 1, QStringLiteral("申请人："), m_buyer);
    row(2, 0, QStringLiteral("采购日期："), m_date);
    row(2, 1, QStringLiteral("数量："), m_quantity);
    row(3, 0, QStringLiteral("批准人"), m_pzr);
    row(4, 0, QStringLiteral("备注："), m_remark, 3);

    auto* excel = widgets::button(this, "btnExcel", QStringLiteral("Excel"));
    auto* queryButton = widgets::button(this, "btnQuery", QStringLiteral("查询"));
    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加"));
    auto* remove = widgets::button(this, "btnDel", QStringLiteral("删除"));
    auto* save = widgets::button(this, "btnModify", QStringLiteral("保存"));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出"));
    for (QPushButton* b : {add, remove, save})
        b->setEnabled(canWrite());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_detail);
    layout->addLayout(widgets::buttonRow({excel, queryButton, add, remove, save, exit}));

    // The boxes edit the purchase the list stands on: leaving it changed saves it,
    // with its stock move.
    m_form = new RowForm(context, m_grid, m_list, kBuyId,
                         {[this] { return purchase_store::list(m_filter, m_kept); },
                          [this](int r) { showPurchase(r); }, [this] { return m_editors->isModified(); },
                          [this] { return storePurchase(); }});
    connect(m_goods, &QComboBox::currentIndexChanged, this, &PurchasesScreen::showStock);
    connect(excel, &QPushButton::clicked, this, &PurchasesScreen::exportPurchases);
    connect(queryButton, &QPushButton::clicked, this, &PurchasesScreen::query);
    connect(add, &QPushButton::clicked, this, &PurchasesScreen::addPurchase);
    connect(save, &QPushButton::clicked, this, &PurchasesScreen::savePurchase);
    connect(remove, &QPushButton::clicked, this, &PurchasesScreen::removePurchase);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    fillGoods();
    // Nothing is listed before the first query.
    m_form->reload();
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
    return Screen::eventFilter(watched, event);
}

void PurchasesScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void PurchasesScreen::fillGoods()
{
    QList<NamedKey> goods;
    if (!run([&] { goods = goods_store::names(db()); }))
        return;
    const EditorSet::Loading loading(*m_editors);
    const QVariant shown = m_goods->currentData();
    m_goods->clear();
    for (const NamedKey& item : goods)
        m_goods->addItem(item.name, item.id);
    m_goods->setCurrentIndex(shown.isValid() ? m_goods->findData(shown) : -1);
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

void PurchasesScreen::showPurchase(int row)
{
    Purchase purchase;
    if (m_form->isNewRow(row))
        purchase.buyDate = context().clock->today();
    else if (row >= 0)
        run([&] {
            purchase = purchase_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(Purchase{});
        });
    const EditorSet::Loading loading(*m_editors);
    m_shownId = purchase.id;
    selectGoods(purchase.goodsId);
    m_xhgg->setText(purchase.xhgg);
    m_price->setText(purchase.unitPrice ? purchase.unitPrice->toString(2) : QString());
    m_buyer->setText(purchase.buyer);
    widgets::setDate(m_date, purchase.buyDate);
    m_quantity->setText(purchase.id != 0 ? QString::number(purchase.quantity) : QString());
    m_pzr->setText(purchase.pzr);
    m_remark->setPlainText(purchase.remark);
    m_editors->setModified(false);
    showStock();
}

bool PurchasesScreen::storePurchase()
{
    if (!canWrite())
        return true;
    PurchaseInput input;
    input.id = m_shownId;
    if (m_goods->currentIndex() >= 0)
        input.goodsId = m_goods->currentData().toInt();
    input.unitPrice = m_price->text();
    input.quantity = m_quantity->text();
    input.buyDate = widgets::dateOf(m_date);
    input.buyer = m_buyer->text();
    input.xhgg = m_xhgg->text();
    input.pzr = m_pzr->text();
    input.remark = m_remark->toPlainText();
    const Checked<qlonglong> saved = purchase_store::save(db(), input);
    if (!saved.ok()) {
        refuse(saved.refusal());
        showStock(); // what the stock holds now
        return false;
    }
    m_shownId = saved.value();
    // A purchase stored here stays listed until the next query.
    if (!m_kept.contains(m_shownId))
        m_kept << m_shownId;
    m_editors->setModified(false);
    return true;
}

void PurchasesScreen::addPurchase()
{
    if (!canWrite() || !m_form->addNewRow())
        return;
    // The list waits until the new purchase is saved (or deleted).
    m_grid->setEnabled(false);
    m_goods->setFocus();
}

void PurchasesScreen::savePurchase()
{
    if (!canWrite() || m_form->currentRow() < 0)
        return;
    if (m_form->storeAndReload([this] { return QVariant(m_shownId); }))
        m_grid->setEnabled(true);
}

bool PurchasesScreen::saveIfModified()
{
    if (!m_editors->isModified())
        return true;
    if (!m_form->storeAndReload([this] { return QVariant(m_shownId); }))
        return false;
    m_grid->setEnabled(true);
    return true;
}

void PurchasesScreen::removePurchase()
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
    // A new purchase is only dropped; a stored one takes its stored quantity off
    // its stored item as it goes.
    m_form->removeCurrent({}, [this](const QVariant& key) {
        purchase_store::remove(db(), key.toLongLong());
        return Done{};
    });
    m_grid->setEnabled(true);
}

void PurchasesScreen::query()
{
    if (!saveIfModified())
        return;
    auto* dialog = new PurchaseQueryDialog(context(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // Nothing chosen leaves the list as it is.
        const std::optional<PurchaseFilter> filter = dialog->filter();
        if (!filter)
            return;
        m_filter = filter;
        m_kept.clear();
        m_form->reload();
        m_grid->setEnabled(true);
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
        m_editors->setModified(true); // the operator's choice, as one made in the box
    });
    picker->open();
}

void PurchasesScreen::exportPurchases()
{
    if (!saveIfModified())
        return;
    ExportDescription d;
    d.windowCaption = QStringLiteral("办公用品采购清单");
    d.title = QStringLiteral("物业管理系统报表");
    d.titleWidth = 8;
    d.columnWidths = {{1, 6}, {2, 10}, {3, 8}, {4, 8}, {5, 8}, {6, 10}, {7, 10}, {8, 15}};
    d.family = ExportDescription::Family::OfficeGoods;
    d.failureText = QStringLiteral("Excel 启动出错，请检查！");
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("序号"), kBuyId),
        C::text(QStringLiteral("物品名称"), QStringLiteral("goodsname")),
        C::text(QStringLiteral("单价"), QStringLiteral("price"), FieldFormat::Decimal),
        C::text(QStringLiteral("数量"), QStringLiteral("num")),
        C::text(QStringLiteral("购买人"), QStringLiteral("buyer")),
        C::text(QStringLiteral("型号规格"), QStringLiteral("xhgg")),
        C::text(QStringLiteral("购买日期"), QStringLiteral("buy_date"), FieldFormat::Date),
        C::text(QStringLiteral("备注"), QStringLiteral("remark")),
    };
    StatementRecordSource rows(db(), m_list->query());
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_grid, 0);
}
