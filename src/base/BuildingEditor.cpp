#include "base/BuildingEditor.h"

#include "app/WidgetFactory.h"
#include "base/Building.h"
#include "core/Conversions.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const QLineEdit* edit)
{
    return edit->text().trimmed();
}

QString decimalText(const std::optional<Decimal2>& d)
{
    return d ? d->toString(2) : QString();
}

} // namespace

BuildingEditor::BuildingEditor(const ScreenContext& context, Mode mode, qlonglong id, QWidget* parent)
    : ScreenDialog(context, parent), m_mode(mode), m_id(id)
{
    setObjectName(QStringLiteral("TbuildmFrm"));
    setWindowTitle(QStringLiteral("大楼信息"));
    setWindowModality(Qt::WindowModal);

    m_name = widgets::lineEdit(this, "edtGardenName", "garden", "garden_name");
    m_height = widgets::lineEdit(this, "edtHigh", "garden", "build_high");
    m_floors = widgets::lineEdit(this, "edtFloor", "garden", "build_floor");
    m_structure = widgets::lineEdit(this, "edtStructure", "garden", "structure");
    m_buildArea = widgets::lineEdit(this, "edtBuildArea");
    m_useArea = widgets::lineEdit(this, "edtUseArea");
    m_roomsNum = widgets::lineEdit(this, "edtRoomsNum");
    m_finishDate = widgets::dateEdit(this, "dtpFinishDate", false);
    m_builder = widgets::lineEdit(this, "edtBuilder", "garden", "builder");
    m_developer = widgets::lineEdit(this, "edtDeveloper", "garden", "developer");
    m_remarks = widgets::memo(this, "memRemarks", "garden", "remarks");
    m_remarks->setFixedHeight(60);

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
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(16);
    columns->addLayout(right);

    auto* remarks = new QFormLayout;
    remarks->addRow(QStringLiteral("备注"), m_remarks);

    m_save = widgets::button(this, "btnSave",
                             mode == Mode::Add ? QStringLiteral("保存 &s.") : QStringLiteral("保存 &S."));
    m_save->setDefault(true);
    auto* cancel = widgets::button(this, "btnCancel", QStringLiteral("退出 &e."));
    auto* buttons = widgets::buttonRow({m_save, cancel});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(remarks);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &BuildingEditor::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (mode == Mode::Add) {
        m_finishDate->setDate(QDate(2002, 7, 10));
    } else {
        m_save->setEnabled(canWrite());
        load();
    }
}

void BuildingEditor::load()
{
    run([&] {
        const std::optional<Building> b = building_store::load(db(), m_id);
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

void BuildingEditor::save()
{
    Building b;
    b.id = m_id;
    b.name = text(m_name);
    if (b.name.isEmpty()) {
        messages().information(QStringLiteral("请输入大楼名称"));
        return;
    }
    run([&] {
        b.height = text(m_height);
        b.floors = text(m_floors);
        b.structure = text(m_structure);
        b.buildArea = convert::optionalDecimal(m_buildArea->text());
        b.useArea = convert::optionalDecimal(m_useArea->text());
        b.roomsNum = convert::optionalInteger(m_roomsNum->text());
        b.finishDate = widgets::dateOf(m_finishDate);
        b.builder = text(m_builder);
        b.developer = text(m_developer);
        b.remarks = m_remarks->toPlainText().trimmed();

        if (m_mode == Mode::Modify) {
            building_store::update(db(), b);
            Q_EMIT saved(b.id);
            return;
        }
        if (building_store::nameExists(db(), b.name)) {
            messages().information(QStringLiteral("已有此大楼的信息！"));
            return;
        }
        const qlonglong id = building_store::insert(db(), b);
        Q_EMIT saved(id);
        clearForNext();
    });
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
