#include "admin/RequisitionQueryDialog.h"

#include "admin/Department.h"
#include "admin/Goods.h"
#include "gui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* chooser(QWidget* parent, const char* name, const QList<NamedKey>& records)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1StringView(name));
    for (const NamedKey& r : records)
        combo->addItem(r.name, r.id);
    combo->setCurrentIndex(-1);
    return combo;
}

std::optional<qlonglong> chosen(const QComboBox* combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    return combo->currentData().toLongLong();
}

} // namespace

RequisitionQueryDialog::RequisitionQueryDialog(const ScreenContext& context, QWidget* parent)
    : ScreenDialog(context, parent)
{
    setObjectName(QStringLiteral("TGoodsQueryFrm"));
    setWindowTitle(QStringLiteral("办公用品领用明细查询"));

    QList<NamedKey> departments;
    QList<NamedKey> types;
    run([&] {
        departments = department_store::names(db());
        types = goods_type_store::names(db());
    });
    m_dept = chooser(this, "DBLCB_dept", departments);
    m_goods = chooser(this, "DBLCB_things", {});
    m_takeMan = widgets::lineEdit(this, "dbeTakeMan", "take_goods", "take_man");
    m_byDate = new QCheckBox(QStringLiteral("按领用时间查询"), this);
    m_byDate->setObjectName(QStringLiteral("cbxDate"));
    m_first = widgets::dateEdit(this, "dtpStart");
    m_last = widgets::dateEdit(this, "dtpEnd");
    for (QDateEdit* picker : {m_first, m_last}) {
        picker->setDate(context.clock->today());
        picker->setEnabled(false);
    }
    m_type = chooser(this, "dlkType", types);
    fillGoods();
    auto* confirm = widgets::button(this, "BitBtn1", QStringLiteral("查询"));
    auto* exit = widgets::button(this, "return", QStringLiteral("退出"));
    confirm->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("部门"), m_dept);
    form->addRow(QStringLiteral("物品名称"), m_goods);
    form->addRow(QStringLiteral("领用人"), m_takeMan);
    form->addRow(m_byDate);
    form->addRow(QStringLiteral("开始时间"), m_first);
    form->addRow(QStringLiteral("结束时间"), m_last);
    form->addRow(QStringLiteral("物品类别"), m_type);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({confirm, exit}));

    connect(m_byDate, &QCheckBox::toggled, this, [this](bool checked) {
        m_first->setEnabled(checked);
        m_last->setEnabled(checked);
    });
    // A type chosen offers only the items of that type.
    connect(m_type, &QComboBox::currentIndexChanged, this, &RequisitionQueryDialog::fillGoods);
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void RequisitionQueryDialog::fillGoods()
{
    QList<NamedKey> goods;
    if (!run([&] { goods = goods_store::names(db(), chosen(m_type)); }))
        return;
    const QVariant shown = m_goods->currentData();
    m_goods->clear();
    for (const NamedKey& item : goods)
        m_goods->addItem(item.name, item.id);
    m_goods->setCurrentIndex(shown.isValid() ? m_goods->findData(shown) : -1);
}

std::optional<RequisitionFilter> RequisitionQueryDialog::filter() const
{
    RequisitionFilter f;
    f.deptId = chosen(m_dept);
    f.goodsId = chosen(m_goods);
    f.takeMan = m_takeMan->text();
    if (m_byDate->isChecked())
        f.period = Period{widgets::dateOf(m_first), widgets::dateOf(m_last)};
    f.typeId = chosen(m_type);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}
