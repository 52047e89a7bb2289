#include "admin/PurchaseQueryDialog.h"

#include "admin/Goods.h"
#include "gui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PurchaseQueryDialog::PurchaseQueryDialog(const ScreenContext& context, QWidget* parent)
    : ScreenDialog(context, parent)
{
    setObjectName(QStringLiteral("TbuyQueryFrm"));
    setWindowTitle(QStringLiteral("办公用品领用明细查询"));

    m_goods = new QComboBox(this);
    m_goods->setObjectName(QStringLiteral("dlbGoodsName"));
    run([&] {
        for (const NamedKey& goods : goods_store::names(db()))
            m_goods->addItem(goods.name, goods.id);
    });
    m_goods->setCurrentIndex(-1);
    m_buyer = widgets::lineEdit(this, "edtBuyer", "goods_buy", "buyer");
    m_xhgg = widgets::lineEdit(this, "edtXhgg", "goods_buy", "xhgg");
    m_byDate = new QCheckBox(QStringLiteral("采购日期查询"), this);
    m_byDate->setObjectName(QStringLiteral("cbxDate"));
    m_first = widgets::dateEdit(this, "DTP_taketime1");
    m_last = widgets::dateEdit(this, "DTP_taketime2");
    for (QDateEdit* picker : {m_first, m_last}) {
        picker->setDate(context.clock->today());
        picker->setEnabled(false);
    }
    auto* confirm = widgets::button(this, "BitBtn1", QStringLiteral("确定"));
    auto* exit = widgets::button(this, "return", QStringLiteral("退出"));
    confirm->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("物品名称"), m_goods);
    form->addRow(QStringLiteral("购买人"), m_buyer);
    form->addRow(QStringLiteral("型号规格"), m_xhgg);
    form->addRow(m_byDate);
    form->addRow(QStringLiteral("起始时间"), m_first);
    form->addRow(QStringLiteral("结束时间"), m_last);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({confirm, exit}));

    connect(m_byDate, &QCheckBox::toggled, this, [this](bool checked) {
        m_first->setEnabled(checked);
        m_last->setEnabled(checked);
    });
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<PurchaseFilter> PurchaseQueryDialog::filter() const
{
    PurchaseFilter f;
    if (m_goods->currentIndex() >= 0)
        f.goodsId = m_goods->currentData().toLongLong();
    f.buyer = m_buyer->text();
    f.xhgg = m_xhgg->text();
    if (m_byDate->isChecked())
        f.period = Period{widgets::dateOf(m_first), widgets::dateOf(m_last)};
    if (f.isEmpty())
        return std::nullopt;
    return f;
}
