#include "base/OwnerDetailScreen.h"

#include "app/WidgetFactory.h"
#include "base/MembersPage.h"
#include "base/Owner.h"
#include "base/OwnerDetails.h"
#include "base/RecordEditorPage.h"
#include "base/RoomLinksPage.h"
#include "db/QueryListModel.h"
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

using K = QueryListModel::Kind;

RecordEditorPage::Description carsPage()
{
    return {
        QStringLiteral("car"),
        QStringLiteral("car_id"),
        "DBGrid1",
        {
            {QStringLiteral("car_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("car_no"), QStringLiteral("车牌")},
            {QStringLiteral("car_type"), QStringLiteral("汽车种类")},
            {QStringLiteral("car_color"), QStringLiteral("颜色")},
            {QStringLiteral("driver"), QStringLiteral("驾驶员")},
            {QStringLiteral("link_tel"), QStringLiteral("联系电话")},
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
        QStringLiteral("请先填写车牌号!"),
        "btnAddCar",
        "btnSaveCar",
        "btnDelCar",
        "btnCloseCar",
        {},
    };
}

RecordEditorPage::Description parksPage()
{
    return {
        QStringLiteral("park"),
        QStringLiteral("park_id"),
        "DBGrid2",
        {
            {QStringLiteral("park_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("park_no"), QStringLiteral("车位号")},
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
        QStringLiteral("请先填写车位号!"),
        "btnAddPark",
        "btnSavePark",
        "btnDelPark",
        "btnClosePark",
        // A parking number belongs to one parking place, of any owner.
        [](const QSqlDatabase& db, const sql::Fields& fields, qlonglong id) {
            QString number;
            for (const auto& [column, value] : fields) {
                if (column == QStringLiteral("park_no"))
                    number = value.toString();
            }
            return owner_details::parkNumberTaken(db, number, id) ? u"车位号" + number + u"已经存在!"
                                                                  : QString();
        },
    };
}

} // namespace

OwnerDetailScreen::OwnerDetailScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TownerMFrm"));
    setWindowTitle(QStringLiteral("住户资料"));
    resize(980, 560);

    m_owners = new QueryListModel({{QStringLiteral("owner_id"), QString(), K::Number},
                                   {QStringLiteral("owner_name"), QStringLiteral("单位名称")}},
                                  this);
    m_grid = widgets::grid(this, "dbgOwner", m_owners);
    auto* query = widgets::button(this, "btnQuery", QStringLiteral("单位查询"));
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* leftButtons = new QHBoxLayout;
    leftButtons->addWidget(query);
    leftButtons->addWidget(excel);
    auto* left = new QVBoxLayout;
    left->addWidget(m_grid, 1);
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
    auto* leftBox = new QWidget(this);
    leftBox->setLayout(left);
    leftBox->setMaximumWidth(300);
    layout->addWidget(leftBox);
    layout->addWidget(m_pages, 1);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showOwner(current.row()); });
    connect(query, &QPushButton::clicked, this, &OwnerDetailScreen::search);
    connect(excel, &QPushButton::clicked, this, &OwnerDetailScreen::exportLinks);
    connect(m_rooms, &RoomLinksPage::closeRequested, this, &QWidget::close);
    connect(m_members, &MembersPage::closeRequested, this, &QWidget::close);
    connect(m_cars, &RecordEditorPage::closeRequested, this, &QWidget::close);
    connect(m_parks, &RecordEditorPage::closeRequested, this, &QWidget::close);

    reload();
}

void OwnerDetailScreen::reload()
{
    run([&] {
        m_owners->load(db(), QStringLiteral("from owner_info where in_out = ? order by owner_id"),
                       {Owner::kLiving});
        widgets::selectRow(m_grid, 0);
    });
    showOwner(widgets::currentRow(m_grid));
}

qlonglong OwnerDetailScreen::ownerIdAt(int row) const
{
    return row < 0 ? 0 : m_owners->value(row, QStringLiteral("owner_id")).toLongLong();
}

void OwnerDetailScreen::showOwner(int row)
{
    const qlonglong ownerId = ownerIdAt(row);
    if (!m_rooms->setOwner(ownerId)) {
        // The typed room links could not be stored: stay with their owner.
        const int back = m_owners->findRow(QStringLiteral("owner_id"), m_ownerId);
        QTimer::singleShot(0, this, [this, back] {
            const QSignalBlocker blocker(m_grid->selectionModel());
            widgets::selectRow(m_grid, back);
            m_grid->viewport()->update();
        });
        return;
    }
    m_ownerId = ownerId;
    m_members->setOwner(m_ownerId);
    m_cars->setOwner(m_ownerId);
    m_parks->setOwner(m_ownerId);
}

void OwnerDetailScreen::search()
{
    const std::optional<QString> text =
        messages().askText(QStringLiteral("住户名称查询"), QStringLiteral("请输入单位公司名称:"));
    if (!text || text->isEmpty()) {
        messages().information(QStringLiteral("请先填写住户名称！"));
        return;
    }
    run([&] {
        const std::optional<qlonglong> id = owner_store::findByName(db(), *text, true);
        if (!id)
            return;
        const int row = m_owners->findRow(QStringLiteral("owner_id"), *id);
        if (row >= 0)
            widgets::selectRow(m_grid, row);
    });
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
        db(),
        QStringLiteral("select o.owner_name, r.room_id, r.relation_desc from owner_rooms r "
                       "left join owner_info o on o.owner_id = r.owner_id and o.in_out = ? "
                       "order by r.ownerroom_id"),
        {Owner::kLiving});
    exportList(context(), d, rows, this);
    m_rooms->setOwner(m_ownerId); // the owner's own links again, from the first
}
