#include "base/RoomEditor.h"

#include "app/WidgetFactory.h"
#include "base/BuildingChoice.h"
#include "base/Room.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNoBuilding = QStringLiteral("还未有大楼记录！");

} // namespace

RoomEditor::RoomEditor(const ScreenContext& context, Mode mode, const QString& roomId,
                       const QString& buildingName, QWidget* parent)
    : ScreenDialog(context, parent), m_mode(mode), m_roomId(roomId)
{
    setObjectName(QStringLiteral("TRoomMFrm"));
    setWindowTitle(QStringLiteral("房间信息"));
    setWindowModality(Qt::WindowModal);

    m_id = widgets::lineEdit(this, "edtRoomID", "rooms_info", "room_id");
    m_building = widgets::comboBox(this, "cmbGarden", {}, "garden", "garden_name");
    m_useState = widgets::comboBox(this, "cmbUseState",
                                   {QStringLiteral("住宅"), QStringLiteral("公司"), QStringLiteral("空闲")},
                                   "rooms_info", "use_state");
    m_buildArea = widgets::lineEdit(this, "edtBuildArea");
    m_useArea = widgets::lineEdit(this, "edtUseArea");
    m_roomType = widgets::lineEdit(this, "edtRoomType", "rooms_info", "room_type");
    m_direct = widgets::lineEdit(this, "edtDirect", "rooms_info", "direct");
    m_floor = widgets::lineEdit(this, "edtFloor", "rooms_info", "floor");
    m_fitment = widgets::lineEdit(this, "edtFitMent", "rooms_info", "fitment");
    m_match = widgets::lineEdit(this, "edtMatch", "rooms_info", "match");
    m_remarks = widgets::memo(this, "memRemarks", "rooms_info", "remarks");
    m_remarks->setFixedHeight(60);

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("房号"), m_id);
    left->addRow(QStringLiteral("大楼"), m_building);
    left->addRow(QStringLiteral("使用类型"), m_useState);
    left->addRow(QStringLiteral("建筑面积"), m_buildArea);
    left->addRow(QStringLiteral("实用面积"), m_useArea);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("房型"), m_roomType);
    right->addRow(QStringLiteral("朝向"), m_direct);
    right->addRow(QStringLiteral("楼层"), m_floor);
    right->addRow(QStringLiteral("装修情况"), m_fitment);
    right->addRow(QStringLiteral("配套设施"), m_match);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(16);
    columns->addLayout(right);
    auto* remarks = new QFormLayout;
    remarks->addRow(QStringLiteral("描述"), m_remarks);

    auto* saveButton = widgets::button(
        this, "btnSave", mode == Mode::Add ? QStringLiteral("保存(&A)") : QStringLiteral("保存 &S."));
    saveButton->setDefault(true);
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出(&E)"));
    auto* buttons = widgets::buttonRow({saveButton, exit});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(remarks);
    layout->addLayout(buttons);

    connect(saveButton, &QPushButton::clicked, this, &RoomEditor::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    if (mode == Mode::Modify)
        saveButton->setEnabled(canWrite());
    m_building->setEditText(buildingName);
    load();
}

void RoomEditor::load()
{
    run([&] {
        const QList<BuildingName> buildings = room_store::buildings(db());
        if (buildings.isEmpty()) {
            messages().information(kNoBuilding);
            return;
        }
        building_choice::fill(m_building, buildings);
        if (m_mode != Mode::Modify)
            return;
        const std::optional<Room> room = room_store::load(db(), m_roomId);
        if (!room)
            return;
        const std::optional<QString> name = room_store::buildingName(db(), room->buildingId);
        if (!name) {
            messages().information(kNoBuilding);
            return;
        }
        const int index = m_building->findData(room->buildingId);
        if (index >= 0)
            m_building->setCurrentIndex(index);
        else
            m_building->setEditText(*name);
        m_id->setText(room->id);
        m_useState->setEditText(room->useState);
        m_buildArea->setText(room->buildArea.toString(2));
        m_useArea->setText(room->useArea ? room->useArea->toString(2) : QString());
        m_roomType->setText(room->roomType);
        m_direct->setText(room->direct);
        m_floor->setText(room->floor);
        m_fitment->setText(room->fitment);
        m_match->setText(room->match);
        m_remarks->setPlainText(room->remarks);
    });
}

QList<QLineEdit*> RoomEditor::clearedEditors() const
{
    return {m_id, m_buildArea, m_useArea, m_roomType, m_direct, m_floor, m_fitment, m_match};
}

void RoomEditor::save()
{
    if (m_building->currentText().trimmed().isEmpty()) {
        messages().information(QStringLiteral("请填写大楼名称"));
        return;
    }
    const QString buildArea = m_buildArea->text().trimmed();
    if (buildArea.isEmpty()) {
        messages().information(QStringLiteral("请填写建筑面积！"));
        return;
    }
    Room room;
    const std::optional<Decimal2> area = Decimal2::parse(buildArea);
    if (!area) {
        messages().information(QStringLiteral("建筑面积需要填写数字！"));
        return;
    }
    room.buildArea = *area;
    const QString useArea = m_useArea->text().trimmed();
    if (!useArea.isEmpty()) {
        room.useArea = Decimal2::parse(useArea);
        if (!room.useArea) {
            messages().information(QStringLiteral("使用面积需要填写数字！"));
            return;
        }
    }
    run([&] {
        const std::optional<qlonglong> building = building_choice::chosen(m_building, db());
        if (!building) {
            messages().information(kNoBuilding);
            return;
        }
        room.id = m_id->text().trimmed();
        room.buildingId = *building;
        room.useState = m_useState->currentText().trimmed();
        room.roomType = m_roomType->text().trimmed();
        room.direct = m_direct->text().trimmed();
        room.floor = m_floor->text().trimmed();
        room.fitment = m_fitment->text().trimmed();
        room.match = m_match->text().trimmed();
        room.remarks = m_remarks->toPlainText().trimmed();

        if (m_mode == Mode::Modify) {
            room_store::update(db(), m_roomId, room);
            m_roomId = room.id;
        } else {
            room_store::insert(db(), room);
            for (QLineEdit* edit : clearedEditors())
                edit->clear();
            m_useState->setEditText(QString());
            m_remarks->clear();
            m_id->setFocus();
        }
        Q_EMIT saved(room.id);
    });
}
