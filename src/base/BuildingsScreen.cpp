#include "base/BuildingsScreen.h"

#include "app/WidgetFactory.h"
#include "base/Building.h"
#include "base/BuildingEditor.h"
#include "db/QueryListModel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

BuildingsScreen::BuildingsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TgardenFrm"));
    setWindowTitle(QStringLiteral("大楼信息"));
    resize(900, 480);

    using K = QueryListModel::Kind;
    m_model = new QueryListModel(
        {
            {QStringLiteral("garden_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("garden_name"), QStringLiteral("大楼名称")},
            {QStringLiteral("build_high"), QStringLiteral("楼高")},
            {QStringLiteral("build_floor"), QStringLiteral("楼层")},
            {QStringLiteral("structure"), QStringLiteral("建筑结构")},
            {QStringLiteral("build_area"), QStringLiteral("建筑面积"), K::Decimal},
            {QStringLiteral("use_area"), QStringLiteral("实用面积"), K::Decimal},
            {QStringLiteral("rooms_num"), QStringLiteral("房间数"), K::Number},
            {QStringLiteral("finish_date"), QStringLiteral("竣工日期"), K::Date},
            {QStringLiteral("builder"), QStringLiteral("建筑商")},
            {QStringLiteral("developer"), QStringLiteral("开发商")},
        },
        this);
    m_grid = widgets::grid(this, "dbgGarden", m_model);

    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a."));
    auto* modify = widgets::button(this, "btnModify", QStringLiteral("修改 &s."));
    auto* remove = widgets::button(this, "btnDel", QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, "btnClose", QStringLiteral("退出 &c."));
    add->setEnabled(canWrite());
    remove->setEnabled(canWrite());

    auto* buttons = widgets::buttonRow({add, modify, remove, close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(modify, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { openEditor(false); });
    connect(remove, &QPushButton::clicked, this, &BuildingsScreen::removeCurrent);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    reload();
}

void BuildingsScreen::reload(qlonglong selectId)
{
    run([&] {
        m_model->load(db(), QStringLiteral("from garden order by garden_id"));
        const int row = selectId ? m_model->findRow(QStringLiteral("garden_id"), selectId) : 0;
        widgets::selectRow(m_grid, row);
    });
}

qlonglong BuildingsScreen::currentId() const
{
    const int row = widgets::currentRow(m_grid);
    return row < 0 ? 0 : m_model->value(row, QStringLiteral("garden_id")).toLongLong();
}

void BuildingsScreen::openEditor(bool add)
{
    const qlonglong id = currentId();
    if (!add && id == 0) {
        messages().information(QStringLiteral("请先指定修改记录！"));
        return;
    }
    auto* editor = new BuildingEditor(
        context(), add ? BuildingEditor::Mode::Add : BuildingEditor::Mode::Modify, add ? 0 : id, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &BuildingEditor::saved, this, [this](qlonglong saved) { reload(saved); });
    editor->open();
}

void BuildingsScreen::removeCurrent()
{
    const qlonglong id = currentId();
    if (id == 0)
        return;
    if (!confirmDelete(QStringLiteral("确实要删除此任务吗?")))
        return;
    run([&] {
        if (!building_store::removeUnlessRooms(db(), id)) {
            messages().information(QStringLiteral("此幢大楼拥有房间记录，请先删除房间记录！"));
            return;
        }
        const int row = widgets::currentRow(m_grid);
        m_model->reload();
        widgets::selectRow(m_grid, std::min(row, m_model->rowCount() - 1));
    });
}
