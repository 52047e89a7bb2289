#include "base/OwnerDetailScreen.h"

#include "base/MembersPage.h"
#include "base/OwnerPicker.h"
#include "base/RecordEditorPage.h"
#include "base/RoomLink.h"
#include "base/RoomLinksPage.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using K = ListColumn::Kind;

RecordEditorPage::Description carsPage()
{
    return {
        OwnerRecordTable::cars(),
        "DBGrid1",
        {
            {QStringLiteral("car_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("car_no"), QStringLiteral("车牌"), K::Code},
            {QStringLiteral("car_type"), QStringLiteral("汽车种类")},
            {QStringLiteral("car_color"), QStringLiteral("颜色")},
            {QStringLiteral("driver"), QStringLiteral("驾驶员")},
            {QStringLiteral("link_tel"), QStringLiteral("联系电话"), K::Code},
            {QStringLiteral("remark"), QString()},
        },
        {
            {"car_no", "edtCarNo", QStringLiteral("车牌号")},
            {"car_type", "edtCarType", QStringLiteral("汽车种类")},
            {"car_color", "edtColor", QStringLiteral("颜色")},
            {"driver", "edtDriver", QStringLiteral("司机")},
            {"link_tel", "edtLinkTelCar", QStringLiteral("联系电话")},
            {"remark", "memRemarkCar", QStringLiteral("备注"), true},
        },
        "btnAddCar",
        "btnSaveCar",
        "btnDelCar",
        "btnCloseCar",
    };
}

RecordEditorPage::Description parksPage()
{
    return {
        OwnerRecordTable::parkingPlaces(),
        "DBGrid2",
        {
            {QStringLiteral("park_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("park_no"), QStringLiteral("车位号"), K::Code},
            {QStringLiteral("lend_type"), QStringLiteral("租售类型")},
            {QStringLiteral("palace"), QStringLiteral("地址")},
            {QStringLiteral("remark"), QString()},
        },
        {
            {"park_no", "edtParkNo", QStringLiteral("车位号")},
            {"lend_type", "edtLendType", QStringLiteral("租售")},
            {"palace", "edtPalace", QStringLiteral("位置")},
            {"remark", "memRemarkPark", QStringLiteral("备注"), true},
        },
        "btnAddPark",
        "btnSavePark",
        "btnDelPark",
        "btnClosePark",
    };
}

} // namespace

OwnerDetailScreen::OwnerDetailScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TownerMFrm"));
    setWindowTitle(QStringLiteral("住户资料"));
    resize(980, 560);

    auto* leftBox = new QWidget(this);
    leftBox->setMaximumWidth(300);
    m_owners = new OwnerPicker(context, leftBox);
    m_owners->setScope(owner_store::Occupants::Current, owner_store::OwnerOrder::ByNumber);
    auto* query = widgets::button(leftBox, "btnQuery", QStringLiteral("单位查询"));
    auto* excel = widgets::button(leftBox, "Btnexcela", QStringLiteral("Excel"));
    auto* leftButtons = new QHBoxLayout;
    leftButtons->addWidget(query);
    leftButtons->addWidget(excel);
    auto* left = new QVBoxLayout(leftBox);
    left->addWidget(m_owners->view(), 1);
    left->addLayout(leftButtons);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_rooms = new RoomLinksPage(context, m_pages);
    m_members = new MembersPage(context, m_pages);
    m_cars = new RecordEditorPage(context, carsPage(), m_pages);
    m_parks = new RecordEditorPage(context, parksPage(), m_pages);
    m_pages->addTab(m_rooms, QStringLiteral("拥有房间"));
    m_pages->addTab(m_members, QStringLiteral("住户成员"));
    m_pages->addTab(m_cars, QStringLiteral("拥有车辆"));
    m_pages->addTab(m_parks, QStringLiteral(" 车位"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftBox);
    layout->addWidget(m_pages, 1);

    connect(query, &QPushButton::clicked, this,
            [this] { m_owners->search(QStringLiteral("请输入单位公司名称:")); });
    connect(excel, &QPushButton::clicked, this, &OwnerDetailScreen::exportLinks);

    run([&] { m_owners->reload(); });
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showOwner(m_owners->ownerIdAt(current.row())); });
    showOwner(m_owners->currentOwnerId());
}

void OwnerDetailScreen::showOwner(qlonglong ownerId)
{
    if (!m_rooms->setOwner(ownerId)) {
        // The typed room links could not be stored: stay with their owner.
        QTimer::singleShot(0, this, [this] {
            const QSignalBlocker blocker(m_owners->view()->selectionModel());
            m_owners->select(m_ownerId);
            m_owners->view()->viewport()->update();
        });
        return;
    }
    m_ownerId = ownerId;
    m_members->setOwner(m_ownerId);
    m_cars->setOwner(m_ownerId);
    m_parks->setOwner(m_ownerId);
}

void OwnerDetailScreen::exportLinks()
{
    if (!m_rooms->store())
        return;
    if (m_rooms->storedCount() == 0) {
        messages().error(QStringLiteral("没有数据可打印！"));
        return;
    }
    ExportDescription d;
    d.title = QStringLiteral("物业管理系统住户资料");
    d.titleWidth = 6;
    d.columnWidths = {{1, 10}, {2, 10}, {3, 10}};
    using C = ExportColumn;
    d.columns = {
        C::plain(QStringLiteral("单位名称"), QStringLiteral("owner_name")),
        C::plain(QStringLiteral("房号"), QStringLiteral("room_id")),
        C::plain(QStringLiteral("备注"), QStringLiteral("relation_desc")),
    };
    // The links of every owner, in the order they were made; the name is that of a
    // current occupant, as the list on the left knows them.
    StatementRecordSource rows(
        db(), room_link_store::allWithOccupantNames(),
        {QStringLiteral("o.owner_name"), QStringLiteral("r.room_id"), QStringLiteral("r.relation_desc")});
    exportList(context(), d, rows, this);
    m_rooms->setOwner(m_ownerId); // the owner's own links again, from the first
}
