#include "admin/GoodsPickerDialog.h"

#include "admin/Goods.h"
#include "db/QueryListModel.h"
#include "gui/WidgetFactory.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

GoodsPickerDialog::GoodsPickerDialog(const ScreenContext& context, QWidget* parent)
    : ScreenDialog(context, parent)
{
    setObjectName(QStringLiteral("TGoodsPikerFrm"));
    setWindowTitle(QStringLiteral("办公用品选择"));
    resize(300, 360);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("dlcType"));
    using K = ListColumn::Kind;
    m_goods = new QueryListModel({{QStringLiteral("goods_id"), QString(), K::Number},
                                  {QStringLiteral("sort_id"), QStringLiteral("序号"), K::Number},
                                  {QStringLiteral("goods_name"), QStringLiteral("用品名称")}},
                                 this);
    m_grid = widgets::grid(this, "DBGrid1", m_goods);
    auto* confirm = widgets::button(this, "btnConfirma", QStringLiteral("确定"));
    auto* exit = widgets::button(this, "btnExita", QStringLiteral("退出 &e."));
    confirm->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_type);
    layout->addWidget(m_grid, 1);
    layout->addLayout(widgets::buttonRow({confirm, exit}));

    connect(m_type, &QComboBox::currentIndexChanged, this, &GoodsPickerDialog::showGoods);
    connect(confirm, &QPushButton::clicked, this, [this] {
        const int row = widgets::currentRow(m_grid);
        m_result = row < 0 ? QString() : m_goods->value(row, QStringLiteral("goods_id")).toString();
        accept();
    });
    // Esc rejects as "退出 &e." does; the result stays empty.
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    run([&] {
        // The first type is chosen at once.
        for (const NamedKey& type : goods_type_store::names(db()))
            m_type->addItem(type.name, type.id);
    });
    showGoods();
}

void GoodsPickerDialog::showGoods()
{
    if (m_type->currentIndex() < 0) {
        m_goods->clear();
        return;
    }
    run([&] { m_goods->load(db(), goods_store::list(m_type->currentData().toLongLong())); });
    widgets::selectRow(m_grid, 0);
}
