#include "base/BuildingEditor.h"

#include "base/Building.h"
#include "gui/WidgetFactory.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QString decimalText(const std::optional<Decimal2>& d)
{
    return d ? d->toString(2) : QString();
}

} // namespace

BuildingEditor::BuildingEditor(const ScreenContext& context, Mode mode, qlonglong id, QWidget* parent)
    : RecordEditor(context, mode, id,
                   {"btnSave", QStringLiteral("保存 &s."), QStringLiteral("保存 &S."), "btnCancel",
                    QStringLiteral("退出 &e.")},
                   parent)
{
    setObjectName(QStringLiteral("TbuildmFrm"));
    setWindowTitle(QStringLiteral("大楼信息"));

    m_name = widgets::lineEdit(this, "edtGardenName", "garden", "garden_name");
    m_height = widgets::lineEdit(this, "edtHigh", "garden", "build_high");
    m_floors = widgets::lineEdit(this, "edtFloor", "garden", "build_floor");
    m_structure = widgets::lineEdit(this, "edtStructure", "garden", "structure");
    m_buildArea = widgets::numberEdit(this, "edtBuildArea");
    m_useArea = widgets::numberEdit(this, "edtUseArea");
    m_roomsNum = widgets::numberEdit(this, "edtRoomsNum");
    m_finishDate = widgets::dateEdit(this, "dtpFinishDate", false);
    m_builder = widgets::lineEdit(this, "edtBuilder", "garden", "builder");
    m_developer = widgets::lineEdit(this, "edtDeveloper", "garden", "developer");
    m_remarks = widgets::memo(this, "memRemarks", "garden", "remarks");
    m_remarks->setFixedHeight(60);
    editors().add({m_name, m_height, m_floors, m_structure, m_buildArea, m_useArea, m_roomsNum, m_finishDate,
                   m_builder, m_developer, m_remarks});

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("大楼名称"), m_name);
    left->addRow(QStringLiteral("楼高"), m_height);
    left->addRow(QStringLiteral("楼层"), m_floors);
    left->addRow(QStringLiteral("楼层结构"), m_structure);
    left->addRow(QStringLiteral("建筑面积"), m_buildArea);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("实用面积"), m_useArea);
    right->addRow(QStringLiteral("房间数"), m_roomsNum);
    right->addRow(QStringLiteral("竣工日期"), m_finishDate);
    right->addRow(QStringLiteral("建筑商"), m_builder);
    right->addRow(QStringLiteral("开发商"), m_developer);
    addColumns(left, right);
    auto* remarks = new QFormLayout;
    remarks->addRow(QStringLiteral("备注"), m_remarks);
    body()->addLayout(remarks);

    if (mode == Mode::Add)
        m_finishDate->setDate(QDate(2002, 7, 10));
    begin();
}

void BuildingEditor::load()
{
    run([&] {
        const std::optional<Building> b = building_store::load(db(), key().toLongLong());
        if (!b)
            return;
        m_name->setText(b->name);
        m_height->setText(b->height);
        m_floors->setText(b->floors);
        m_structure->setText(b->structure);
        m_buildArea->setText(decimalText(b->buildArea));
        m_useArea->setText(decimalText(b->useArea));
        m_roomsNum->setText(b->roomsNum ? QString::number(*b->roomsNum) : QString());
        widgets::setDate(m_finishDate, b->finishDate);
        m_builder->setText(b->builder);
        m_developer->setText(b->developer);
        m_remarks->setPlainText(b->remarks);
    });
}

std::optional<QVariant> BuildingEditor::store()
{
    BuildingInput input;
    input.id = key().toLongLong();
    input.name = m_name->text();
    input.height = m_height->text();
    input.floors = m_floors->text();
    input.structure = m_structure->text();
    input.buildArea = m_buildArea->text();
    input.useArea = m_useArea->text();
    input.roomsNum = m_roomsNum->text();
    input.finishDate = widgets::dateOf(m_finishDate);
    input.builder = m_builder->text();
    input.developer = m_developer->text();
    input.remarks = m_remarks->toPlainText();
    const Checked<Building> b = building_store::check(input);
    if (!b.ok()) {
        refuse(b.refusal());
        return std::nullopt;
    }
    if (mode() == Mode::Modify) {
        building_store::update(db(), b.value());
        return b.value().id;
    }
    const Checked<qlonglong> id = building_store::insert(db(), b.value());
    if (!id.ok()) {
        refuse(id.refusal());
        return std::nullopt;
    }
    return id.value();
}

void BuildingEditor::clearForNext()
{
    // The developer and builder are kept: the next building is often theirs too.
    for (QLineEdit* edit : {m_name, m_roomsNum, m_height, m_floors, m_structure, m_buildArea, m_useArea})
        edit->clear();
    m_remarks->clear();
    m_finishDate->setDate(context().clock->today());
    m_name->setFocus();
}
