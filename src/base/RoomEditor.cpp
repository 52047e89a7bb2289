#include "base/RoomEditor.h"

#include "base/Room.h"
#include "db/NumberInput.h"
#include "gui/NameChoice.h"
#include "gui/WidgetFactory.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const QString kNoBuilding = QStringLiteral("还未有大楼记录！");

} // namespace

RoomEditor::RoomEditor(const ScreenContext& context, Mode mode, const QString& roomId,
                       const NamedKey& building, QWidget* parent)
    : RecordEditor(context, mode, roomId,
                   {"btnSave", QStringLiteral("保存(&A)"), QStringLiteral("保存 &S."), "btnExit",
                    QStringLiteral("退出(&E)")},
                   parent)
{
    setObjectName(QStringLiteral("TRoomMFrm"));
    setWindowTitle(QStringLiteral("房间信息"));

    m_id = widgets::lineEdit(this, "edtRoomID", "rooms_info", "room_id");
    m_building = widgets::comboBox(this, "cmbGarden", {}, "garden", "garden_name");
    m_useState = widgets::comboBox(this, "cmbUseState",
                                   {QStringLiteral("住宅"), QStringLiteral("公司"), QStringLiteral("空闲")},
                                   "rooms_info", "use_state");
    m_buildArea = widgets::numberEdit(this, "edtBuildArea");
    m_useArea = widgets::numberEdit(this, "edtUseArea");
    m_roomType = widgets::lineEdit(this, "edtRoomType", "rooms_info", "room_type");
    m_direct = widgets::lineEdit(this, "edtDirect", "rooms_info", "direct");
    m_floor = widgets::lineEdit(this, "edtFloor", "rooms_info", "floor");
    m_fitment = widgets::lineEdit(this, "edtFitMent", "rooms_info", "fitment");
    m_match = widgets::lineEdit(this, "edtMatch", "rooms_info", "match");
    m_remarks = widgets::memo(this, "memRemarks", "rooms_info", "remarks");
    m_remarks->setFixedHeight(60);
    editors().add({m_id, m_building, m_useState, m_buildArea, m_useArea, m_roomType, m_direct, m_floor,
                   m_fitment, m_match, m_remarks});

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
    addColumns(left, right);
    auto* remarks = new QFormLayout;
    remarks->addRow(QStringLiteral("描述"), m_remarks);
    body()->addLayout(remarks);

    m_building->setEditText(building.name);
    run([&] {
        const QList<NamedKey> buildings = room_store::buildings(db());
        m_hasBuildings = !buildings.isEmpty();
        if (m_hasBuildings)
            name_choice::fill(m_building, buildings);
        else
            messages().information(kNoBuilding);
    });
    // The building itself, not the first of its name.
    if (const int index = building.id ? m_building->findData(building.id) : -1; index >= 0)
        m_building->setCurrentIndex(index);
    begin();
}

void RoomEditor::load()
{
    if (!m_hasBuildings)
        return;
    run([&] {
        const std::optional<Room> room = room_store::load(db(), key().toString());
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

std::optional<QVariant> RoomEditor::store()
{
    if (m_building->currentText().trimmed().isEmpty()) {
        messages().information(QStringLiteral("请填写大楼名称"));
        return std::nullopt;
    }
    using number_input::Result;
    const number_input::Decimal buildArea =
        number_input::decimal(m_buildArea->text(), "rooms_info", "build_area");
    if (buildArea.result == Result::Empty) {
        messages().information(QStringLiteral("请填写建筑面积！"));
        return std::nullopt;
    }
    if (buildArea.result == Result::NotANumber) {
        messages().information(QStringLiteral("建筑面积需要填写数字！"));
        return std::nullopt;
    }
    const number_input::Decimal useArea = number_input::decimal(m_useArea->text(), "rooms_info", "use_area");
    if (useArea.result == Result::NotANumber) {
        messages().information(QStringLiteral("使用面积需要填写数字！"));
        return std::nullopt;
    }
    const std::optional<qlonglong> building = name_choice::chosen(
        m_building, [this](const QString& name) { return room_store::buildingIdByName(db(), name); });
    if (!building) {
        messages().information(kNoBuilding);
        return std::nullopt;
    }
    Room room;
    room.id = m_id->text().trimmed();
    room.buildingId = *building;
    room.buildArea = buildArea.value;
    if (useArea.result == Result::Number)
        room.useArea = useArea.value;
    room.useState = m_useState->currentText().trimmed();
    room.roomType = m_roomType->text().trimmed();
    room.direct = m_direct->text().trimmed();
    room.floor = m_floor->text().trimmed();
    room.fitment = m_fitment->text().trimmed();
    room.match = m_match->text().trimmed();
    room.remarks = m_remarks->toPlainText().trimmed();

    if (mode() == Mode::Modify)
        room_store::update(db(), key().toString(), room);
    else
        room_store::insert(db(), room);
    return room.id;
}

void RoomEditor::clearForNext()
{
    for (QLineEdit* edit : {m_id, m_buildArea, m_useArea, m_roomType, m_direct, m_floor, m_fitment, m_match})
        edit->clear();
    m_useState->setEditText(QString());
    m_remarks->clear();
    m_id->setFocus();
}
