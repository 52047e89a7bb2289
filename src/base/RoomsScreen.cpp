#include "base/RoomsScreen.h"

#include "base/RoomEditor.h"
#include "db/QueryListModel.h"
#include "gui/NameChoice.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

ListScreen::Parts parts()
{
    return {
        "dbgRoom",
        room_store::columns(),
        QStringLiteral("room_id"),
        {"btnAdd", QStringLiteral("增加 &a")},
        {"btnModi", QStringLiteral("修改 &m")},
        {"btnDelete", QStringLiteral("删除 &d")},
        {"btnExit", QStringLiteral("退出 &e.")},
        QStringLiteral("请选择需要修改的记录！"),
    };
}

} // namespace

RoomsScreen::RoomsScreen(const ScreenContext& context, QWidget* parent) : ListScreen(context, parts(), parent)
{
    setObjectName(QStringLiteral("TRoomFrm"));
    setWindowTitle(QStringLiteral("房间信息"));
    resize(960, 560);

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
    mainLayout()->insertLayout(0, filters);

    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    addButton(excel);

    connect(m_building, &QComboBox::textActivated, this, &RoomsScreen::filterByBuilding);
    // The list follows the name as it is typed. A box emptied while typing says
    // nothing yet (a message box would swallow the keys typed next); Enter on
    // the empty box says that no building is named.
    connect(m_building->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.trimmed().isEmpty())
            filterByBuilding();
    });
    connect(m_building->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_building->currentText().trimmed().isEmpty())
            filterByBuilding();
    });
    connect(m_search, &QLineEdit::returnPressed, this, &RoomsScreen::search);
    connect(excel, &QPushButton::clicked, this, &RoomsScreen::exportRooms);

    run([&] { name_choice::fill(m_building, room_store::buildings(db())); });
    reload();
}

ListQuery RoomsScreen::listQuery() const
{
    return room_store::list(m_scope);
}

void RoomsScreen::filterByBuilding()
{
    if (m_building->currentText().trimmed().isEmpty()) {
        messages().information(QStringLiteral("还没有小区信息！"));
        return;
    }
    run([&] {
        m_scope = RoomScope::of(name_choice::chosen(
            m_building, [this](const QString& name) { return room_store::buildingIdByName(db(), name); }));
    });
    reload();
}

void RoomsScreen::search()
{
    const QString prefix = m_search->text().trimmed();
    if (prefix.isEmpty())
        return;
    run([&] {
        if (const std::optional<QString> room = room_store::firstStartingWith(db(), m_scope, prefix)) {
            const int row = model()->findRow(QStringLiteral("room_id"), *room);
            if (row >= 0)
                widgets::selectRow(grid(), row);
        }
    });
}

RecordEditor* RoomsScreen::makeEditor(RecordEditor::Mode mode, const QVariant& key)
{
    // A new room starts in the building the filter names: the entry chosen, or the
    // building of the name typed.
    NamedKey building;
    if (mode == RecordEditor::Mode::Add) {
        building.name = m_building->currentText();
        run([&] {
            building.id = name_choice::chosen(m_building, [this](const QString& name) {
                              return room_store::buildingIdByName(db(), name);
                          }).value_or(0);
        });
    }
    return new RoomEditor(context(), mode, key.toString().trimmed(), building, this);
}

Checked<> RoomsScreen::removeRecord(const QVariant& key)
{
    return room_store::removeUnlessOwned(db(), key.toString().trimmed());
}

void RoomsScreen::exportRooms()
{
    StatementRecordSource rows(db(), model()->query());
    if (exportList(context(), room_store::exported(), rows, this))
        widgets::selectRow(grid(), 0);
}
