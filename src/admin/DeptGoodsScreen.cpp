#include "admin/DeptGoodsScreen.h"

#include "admin/Department.h"
#include "admin/DeptGoods.h"
#include "admin/Goods.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kId = QStringLiteral("id");

} // namespace

DeptGoodsScreen::DeptGoodsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TdeptGoodsFrm"));
    setWindowTitle(QStringLiteral("办公用品登记"));
    resize(820, 480);

    using K = ListColumn::Kind;
    m_departments = new QueryListModel({{QStringLiteral("dept_id"), QString(), K::Number},
                                        {QStringLiteral("dept_name"), QStringLiteral("部门")}},
                                       this);
    m_deptGrid = widgets::grid(this, "DBGrid2", m_departments);
    m_deptGrid->setMaximumWidth(200);
    m_held = new QueryListModel({{kId, QStringLiteral("序号"), K::Number},
                                 {QStringLiteral("goods_name"), QStringLiteral("用品名称")},
                                 {QStringLiteral("goods_num"), QStringLiteral("数量"), K::Number},
                                 {QStringLiteral("remark"), QStringLiteral("备注")}},
                                this);
    m_grid = widgets::grid(this, "DBGrid1", m_held);

    m_goods = new QComboBox(this);
    m_goods->setObjectName(QStringLiteral("DBLookupComboBox1"));
    run([&] {
        for (const NamedKey& goods : goods_store::names(db()))
            m_goods->addItem(goods.name, goods.id);
    });
    m_goods->setCurrentIndex(-1);
    m_quantity = widgets::numberEdit(this, "DBEdit1");
    widgets::setField(m_quantity, "goods_num");
    m_remark = widgets::memo(this, "DBMemo1", "dept_goods", "remark");
    m_remark->setFixedHeight(56);
    m_editors = new EditorSet(this);
    m_editors->add({m_goods, m_quantity, m_remark});
    // Browsing never writes.
    m_editors->setReadOnly(!canWrite());

    auto* excel = widgets::button(this, "BitBtn2", QStringLiteral("Excel"));
    m_add = widgets::button(this, "BitBtn4", QStringLiteral("增加"));
    m_remove = widgets::button(this, "BitBtn1", QStringLiteral("删除"));
    m_save = widgets::button(this, "BitBtn5", QStringLiteral("保存"));
    auto* exit = widgets::button(this, "BitBtn3", QStringLiteral("退出"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名称"), m_goods);
    form->addRow(QStringLiteral("数量"), m_quantity);
    form->addRow(QStringLiteral("备注"), m_remark);
    auto* right = new QVBoxLayout;
    right->addWidget(m_grid, 1);
    right->addLayout(form);
    right->addLayout(widgets::buttonRow({excel, m_add, m_remove, m_save, exit}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_deptGrid);
    layout->addLayout(right, 1);

    m_form = new RowForm(context, m_grid, m_held, kId,
                         {[this] { return dept_goods_store::list(m_deptId.value_or(0)); },
                          [this](int r) { showHeld(r); }, [this] { return m_editors->isModified(); },
                          [this] { return storeHeld(); }});
    // Choosing another department leaves the row in the boxes: changed, it is
    // stored first, with the department it was entered for.
    m_deptForm = new RowForm(context, m_deptGrid, m_departments, QStringLiteral("dept_id"),
                             {[] { return department_store::list(); }, [this](int r) { departmentShown(r); },
                              [this] { return m_editors->isModified(); }, [this] { return storeHeld(); }});

    connect(excel, &QPushButton::clicked, this, &DeptGoodsScreen::exportHeld);
    connect(m_add, &QPushButton::clicked, this, [this] {
        if (m_add->isEnabled() && m_form->addNewRow())
            m_goods->setFocus();
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        if (m_save->isEnabled() && m_form->currentRow() >= 0)
            m_form->storeAndReload([this] { return QVariant(m_shownId); });
    });
    connect(m_remove, &QPushButton::clicked, this, &DeptGoodsScreen::removeHeld);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    m_deptForm->reload();
}

void DeptGoodsScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void DeptGoodsScreen::departmentShown(int row)
{
    m_deptId.reset();
    m_deptName.clear();
    if (row >= 0) {
        m_deptId = m_departments->value(row, QStringLiteral("dept_id")).toLongLong();
        m_deptName = m_departments->index(row, 1).data().toString();
    }
    // Nothing is entered without a department to hold it.
    for (QPushButton* b : {m_add, m_save, m_remove})
        b->setEnabled(canWrite() && m_deptId.has_value());
    m_form->reload();
}

void DeptGoodsScreen::showHeld(int row)
{
    DeptGoods held;
    if (row >= 0 && !m_form->isNewRow(row))
        run([&] {
            held = dept_goods_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(DeptGoods{});
        });
    const EditorSet::Loading loading(*m_editors);
    m_shownId = held.id;
    m_shownDept = m_deptId;
    m_goods->setCurrentIndex(held.goodsId ? m_goods->findData(qlonglong(*held.goodsId)) : -1);
    m_quantity->setText(held.quantity ? QString::number(*held.quantity) : QString());
    m_remark->setPlainText(held.remark);
    m_editors->setModified(false);
}

bool DeptGoodsScreen::storeHeld()
{
    if (!canWrite() || !m_shownDept)
        return true;
    DeptGoodsInput input;
    input.id = m_shownId;
    input.deptId = static_cast<int>(*m_shownDept);
    if (m_goods->currentIndex() >= 0)
        input.goodsId = m_goods->currentData().toInt();
    input.quantity = m_quantity->text();
    input.remark = m_remark->toPlainText();
    const Checked<qlonglong> saved = dept_goods_store::save(db(), input);
    if (!saved.ok()) {
        refuse(saved.refusal());
        return false;
    }
    m_shownId = saved.value();
    m_editors->setModified(false);
    return true;
}

void DeptGoodsScreen::removeHeld()
{
    if (!m_remove->isEnabled())
        return;
    if (m_held->rowCount() == 0) {
        messages().information(QStringLiteral("数据已空，无法删除！"));
        return;
    }
    if (m_form->currentRow() < 0 || !messages().confirm(QStringLiteral("确实要删除此记录吗？"),
                                                        QStringLiteral("提醒"), Messages::Buttons::YesNo))
        return;
    m_form->removeCurrent({}, [this](const QVariant& key) {
        dept_goods_store::remove(db(), key.toLongLong());
        return Done{};
    });
}

void DeptGoodsScreen::exportHeld()
{
    if (m_editors->isModified() && !m_form->storeAndReload([this] { return QVariant(m_shownId); }))
        return;
    using C = ExportColumn;
    const ExportDescription d = ExportDescription::departmentGoods(
        m_deptName, {C::plain(QStringLiteral("序号"), kId),
                     C::plain(QStringLiteral("用品名称"), QStringLiteral("goods_name")),
                     C::plain(QStringLiteral("数量"), QStringLiteral("goods_num")),
                     C::plain(QStringLiteral("备注"), QStringLiteral("remark"))});
    // What the department chosen holds, as listed.
    StatementRecordSource rows(db(), m_held->query());
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_grid, 0);
}
