#include "base/RoomEditor.h"

#include "base/Room.h"
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
    widgets::setField(m_buildArea, "build_area");
    m_useArea = widgets::numberEdit(this, "edtUseArea");
    widgets::setField(m_useArea, "use_area");
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
    RoomInput input;
    input.id = m_id->text();
    input.buildingText = m_building->currentText();
    input.buildingId = name_choice::chosen(
        m_building, [this](const QString& name) { return room_store::buildingIdByName(db(), name); });
    input.useState = m_useState->currentText();
    input.buildArea = m_buildArea->text();
    input.useArea = m_useArea->text();
    input.roomType = m_roomType->text();
    input.direct = m_direct->text();
    input.floor = m_floor->text();
    input.fitment = m_fitment->text();
    input.match = m_match->text();
    input.remarks = m_remarks->toPlainText();
    const Checked<Room> room = room_store::check(input);
    if (!room.ok()) {
        refuse(room.refusal());
        return std::nullopt;
    }
    if (mode() == Mode::Modify)
        room_store::update(db(), key().toString(), room.value());
    else
        room_store::insert(db(), room.value());
    return room.value().id;
}

void RoomEditor::clearForNext()
{
    for (QLineEdit* edit : {m_id, m_buildArea, m_useArea, m_roomType, m_direct, m_floor, m_fitment, m_match})
        edit->clear();
    m_useState->setEditText(QString());
    m_remarks->clear();
    m_id->setFocus();
}
