#include "services/CleaningScreen.h"

#include "gui/WidgetFactory.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"
#include "services/Cleaning.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

CleaningScreen::CleaningScreen(const ScreenContext& context, QWidget* parent)
    : WorkingCopyPage(context,
                      {"DBGrid1",
                       {{QStringLiteral("cond_id"), QString(), ListColumn::Kind::Number},
                        {QStringLiteral("area_name"), QStringLiteral("区域名称")}},
                       QStringLiteral("cond_id"),
                       {"btnPrintDevice", QStringLiteral("预览 &p.")},
                       {"btnAdd", QStringLiteral("增加 &a")},
                       {"btnDel", QStringLiteral("删除 &d.")},
                       {"btnSave", QStringLiteral("保存 &s.")},
                       {"BitBtn1", QStringLiteral("退出 &e.")}},
                      parent)
{
    setObjectName(QStringLiteral("TcontFrm"));
    setWindowTitle(QStringLiteral("环境保洁"));
    resize(640, 420);

    QWidget* area = editorArea();
    m_areaName = widgets::lineEdit(area, "edtAreaName", "condition", "area_name");
    m_charger = widgets::lineEdit(area, "edtCharger", "condition", "charger");
    m_cycle = widgets::lineEdit(area, "edtCycle", "condition", "cycle");
    m_remark = widgets::memo(area, "memRemark", "condition", "remark");

    auto* form = new QFormLayout(area);
    form->addRow(QStringLiteral("区域名称"), m_areaName);
    form->addRow(QStringLiteral("负责人"), m_charger);
    form->addRow(QStringLiteral("保洁周期"), m_cycle);
    form->addRow(QStringLiteral("岗位要求"), m_remark);
    begin();
}

ListQuery CleaningScreen::listQuery() const
{
    return cleaning_store::list();
}

void CleaningScreen::showRecord(const QVariant& key)
{
    const std::optional<CleaningArea> a = cleaning_store::load(db(), key.toLongLong());
    if (!a)
        return;
    m_areaName->setText(a->areaName);
    m_charger->setText(a->charger);
    m_cycle->setText(a->cycle);
    m_remark->setPlainText(a->remark);
}

void CleaningScreen::clearForNew()
{
    for (QLineEdit* box : {m_charger, m_cycle, m_areaName})
        box->clear();
    m_remark->clear();
    m_areaName->setFocus();
}

std::optional<QVariant> CleaningScreen::storeRecord(const QVariant& key)
{
    CleaningArea a;
    a.id = key.toLongLong();
    a.areaName = m_areaName->text();
    a.charger = m_charger->text();
    a.cycle = m_cycle->text();
    a.remark = m_remark->toPlainText();
    const Checked<qlonglong> result = cleaning_store::save(db(), a);
    if (!result.ok()) {
        messages().information(result.refusal().text);
        return std::nullopt;
    }
    return QVariant(result.value());
}

void CleaningScreen::removeRecord(const QVariant& key)
{
    cleaning_store::remove(db(), key.toLongLong());
}

void CleaningScreen::print()
{
    run([&] {
        // Every area, whatever the list shows.
        const ReportStatement s = reports::conditionStatement();
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptConnt(), rows, this);
    });
}
