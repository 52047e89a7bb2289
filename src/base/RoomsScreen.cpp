#include "base/RoomsScreen.h"

#include "app/WidgetFactory.h"
#include "base/BuildingChoice.h"
#include "base/RoomEditor.h"
#include "db/QueryListModel.h"
#include "db/Sql.h"
#include "output/QueryModelRecordSource.h"
#include "output/SpreadsheetExport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

RoomsScreen::RoomsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TRoomFrm"));
    setWindowTitle(QStringLiteral("房间信息"));
    resize(960, 560);

    using K = QueryListModel::Kind;
    m_model = new QueryListModel(
        {
            {QStringLiteral("room_id"), QStringLiteral("房号")},
            {QStringLiteral("use_state"), QStringLiteral("使用状态")},
            {QStringLiteral("build_area"), QStringLiteral("建筑面积"), K::Decimal},
            {QStringLiteral("use_area"), QStringLiteral("实用面积"), K::Decimal},
            {QStringLiteral("room_type"), QStringLiteral("房屋类型")},
            {QStringLiteral("direct"), QStringLiteral("朝向")},
            {QStringLiteral("floor"), QStringLiteral("楼层")},
            {QStringLiteral("fitment"), QStringLiteral("装修情况")},
            {QStringLiteral("match"), QStringLiteral("配套设施")},
        },
        this);
    m_grid = widgets::grid(this, "dbgRoom", m_model);

    m_building = widgets::comboBox(this, "cmbGarden", {}, "garden", "garden_name");
    m_building->setMinimumWidth(180);
    m_search = widgets::lineEdit(this, "edtRoomID", "rooms_info", "room_id");
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("大楼"), this));
    filters->addWidget(m_building);
    filters->addSpacing(16);
    filters->addWidget(new QLabel(QStringLiteral("房号"), this));
    filters->addWidget(m_search);
    filters->addStretch();

    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a"));
    auto* modify = widgets::button(this, "btnModi", QStringLiteral("修改 &m"));
    auto* remove = widgets::button(this, "btnDelete", QStringLiteral("删除 &d"));
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));
    add->setEnabled(canWrite());
    remove->setEnabled(canWrite());
    auto* buttons = widgets::buttonRow({add, modify, remove, excel, exit});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);

    connect(m_building, &QComboBox::textActivated, this, &RoomsScreen::filterByBuilding);
    connect(m_building->lineEdit(), &QLineEdit::textEdited, this, &RoomsScreen::filterByBuilding);
    connect(m_search, &QLineEdit::returnPressed, this, &RoomsScreen::search);
    connect(add, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(modify, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { openEditor(false); });
    connect(remove, &QPushButton::clicked, this, &RoomsScreen::removeCurrent);
    connect(excel, &QPushButton::clicked, this, &RoomsScreen::exportRooms);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    run([&] { building_choice::fill(m_building, room_store::buildings(db())); });
    reload();
}

QString RoomsScreen::whereClause(QVariantList* values) const
{
    switch (m_filter) {
    case Filter::All:
        return {};
    case Filter::Building:
        *values << m_buildingId;
        return QStringLiteral(" where garden_id = ?");
    case Filter::NoBuilding:
        break;
    }
    return QStringLiteral(" where 0");
}

void RoomsScreen::reload(const QString& selectRoom)
{
    run([&] {
        QVariantList values;
        const QString where = whereClause(&values);
        m_model->load(db(), u"from rooms_info" + where + u" order by room_id", values);
        const int row = selectRoom.isEmpty() ? 0 : m_model->findRow(QStringLiteral("room_id"), selectRoom);
        widgets::selectRow(m_grid, row < 0 ? 0 : row);
    });
}

void RoomsScreen::filterByBuilding()
{
    if (m_building->currentText().trimmed().isEmpty()) {
        messages().information(QStringLiteral("还没有小区信息！"));
        return;
    }
    run([&] {
        const std::optional<qlonglong> id = building_choice::chosen(m_building, db());
        // A name of no building shows no rooms rather than another building's.
        m_filter = id ? Filter::Building : Filter::NoBuilding;
        m_buildingId = id.value_or(0);
    });
    reload();
}

void RoomsScreen::search()
{
    const QString prefix = m_search->text().trimmed();
    if (prefix.isEmpty())
        return;
    run([&] {
        QVariantList values;
        QString where = whereClause(&values);
        where += where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ");
        values << prefix.size() << prefix;
        const QVariant room = sql::scalar(db(),
                                          u"select room_id from rooms_info" + where +
                                              u"substr(room_id, 1, ?) = ? order by room_id limit 1",
                                          values);
        if (!room.isValid())
            return;
        const int row = m_model->findRow(QStringLiteral("room_id"), room);
        if (row >= 0)
            widgets::selectRow(m_grid, row);
    });
}

QString RoomsScreen::currentRoom() const
{
    const int row = widgets::currentRow(m_grid);
    return row < 0 ? QString() : m_model->value(row, QStringLiteral("room_id")).toString().trimmed();
}

void RoomsScreen::openEditor(bool add)
{
    const QString room = currentRoom();
    if (!add && room.isEmpty()) {
        messages().information(QStringLiteral("请选择需要修改的记录！"));
        return;
    }
    auto* editor =
        add ? new RoomEditor(context(), RoomEditor::Mode::Add, QString(), m_building->currentText(), this)
            : new RoomEditor(context(), RoomEditor::Mode::Modify, room, QString(), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &RoomEditor::saved, this, [this](const QString& saved) { reload(saved); });
    editor->open();
}

void RoomsScreen::removeCurrent()
{
    const QString room = currentRoom();
    if (room.isEmpty())
        return;
    if (!confirmDelete())
        return;
    run([&] {
        if (const std::optional<QString> owner = room_store::removeUnlessOwned(db(), room)) {
            messages().information(u"此房间被用户" + *owner +
                                   u"所拥有，请先此用户的拥有房间里，删除此房间记录！");
            return;
        }
        const int row = widgets::currentRow(m_grid);
        m_model->reload();
        widgets::selectRow(m_grid, std::min(row, m_model->rowCount() - 1));
    });
}

void RoomsScreen::exportRooms()
{
    ExportDescription d;
    d.title = QStringLiteral("物业管理系统房间资料");
    d.columnWidths = {{1, 10}};
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("房号"), QStringLiteral("room_id")),
        C::text(QStringLiteral("使用状态"), QStringLiteral("use_state")),
        C::text(QStringLiteral("建筑面积"), QStringLiteral("build_area"), FieldFormat::Decimal),
        C::text(QStringLiteral("使用面积"), QStringLiteral("use_area"), FieldFormat::Decimal),
        C::text(QStringLiteral("房屋类型"), QStringLiteral("room_type")),
        C::text(QStringLiteral("朝向"), QStringLiteral("direct")),
        C::text(QStringLiteral("楼层"), QStringLiteral("floor")),
        C::text(QStringLiteral("装修情况"), QStringLiteral("fitment")),
        C::text(QStringLiteral("配套设施"), QStringLiteral("match")),
    };
    QueryModelRecordSource rows(*m_model);
    if (exportList(context(), d, rows, this))
        widgets::selectRow(m_grid, 0);
}
