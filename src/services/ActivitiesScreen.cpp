#include "services/ActivitiesScreen.h"

#include "gui/WidgetFactory.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"
#include "services/Activities.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

using K = ListColumn::Kind;

QList<ListColumn> columns()
{
    return {{QStringLiteral("ploy_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("ploy_name"), QStringLiteral("活动名称")},
            {QStringLiteral("main_dept"), QStringLiteral("主办单位")},
            {QStringLiteral("second_dept"), QStringLiteral("协办单位")},
            // The office's grid titles this column with the column's own name.
            {QStringLiteral("affiche"), QStringLiteral("affiche")},
            {QStringLiteral("start_date"), QStringLiteral("开始日期"), K::Date},
            {QStringLiteral("end_date"), QStringLiteral("结束日期"), K::Date},
            {QStringLiteral("charge_man"), QStringLiteral("负责人")},
            {QStringLiteral("ploy_money"), QStringLiteral("活动经费")},
            {QStringLiteral("money_take"), QStringLiteral("经费筹措")},
            {QStringLiteral("take_people"), QStringLiteral("参加人员")}};
}

} // namespace

ActivitiesScreen::ActivitiesScreen(const ScreenContext& context, QWidget* parent)
    : WorkingCopyPage(context,
                      {"dbgPloy",
                       columns(),
                       QStringLiteral("ploy_id"),
                       {"btnPrintcomm", QStringLiteral("预览 &p.")},
                       {"btnAdd", QStringLiteral("增加 &a")},
                       {"btnDel", QStringLiteral("删除 &d.")},
                       {"btnSave", QStringLiteral("保存 &s.")},
                       {"btnClose", QStringLiteral("退出 &e.")},
                       Arrangement::GridBelow},
                      parent)
{
    setObjectName(QStringLiteral("TcommuFrm"));
    setWindowTitle(QStringLiteral("社区活动"));
    resize(900, 600);

    QWidget* area = editorArea();
    m_name = widgets::lineEdit(area, "edtPloyName", "community", "ploy_name");
    m_mainDept = widgets::lineEdit(area, "edtMainDept", "community", "main_dept");
    m_secondDept = widgets::lineEdit(area, "edtSecondDept", "community", "second_dept");
    m_affiche = widgets::lineEdit(area, "edtAffiche", "community", "affiche");
    m_start = widgets::dateEdit(area, "dtpStartDate");
    m_end = widgets::dateEdit(area, "dtpEndDate");
    m_chargeMan = widgets::lineEdit(area, "edtChargeMan", "community", "charge_man");
    m_ployMoney = widgets::lineEdit(area, "edtPloyMoney", "community", "ploy_money");
    m_moneyTake = widgets::lineEdit(area, "edtMoneyTake", "community", "money_take");
    m_takePeople = widgets::lineEdit(area, "edtTakePeople", "community", "take_people");
    m_circs = widgets::memo(area, "memCircs", "community", "circs");
    m_remark = widgets::memo(area, "memRemark", "community", "remark");
    for (QPlainTextEdit* memo : {m_circs, m_remark})
        memo->setFixedHeight(56);
    for (QDateEdit* picker : {m_start, m_end})
        picker->setDate(context.clock->today());

    // Labels and boxes, two pairs a row; the long texts across the whole width.
    auto* grid = new QGridLayout(area);
    const auto add = [&](int row, int pair, const QString& label, QWidget* editor, int span = 1) {
        grid->addWidget(new QLabel(label, area), row, pair * 2);
        grid->addWidget(editor, row, pair * 2 + 1, 1, span * 2 - 1);
    };
    add(0, 0, QStringLiteral("活动名称"), m_name);
    add(0, 1, QStringLiteral("负责人"), m_chargeMan);
    add(1, 0, QStringLiteral("主办单位"), m_mainDept);
    add(1, 1, QStringLiteral("协办单位"), m_secondDept);
    add(2, 0, QStringLiteral("起始日期"), m_start);
    add(2, 1, QStringLiteral("结束日期"), m_end);
    add(3, 0, QStringLiteral("公告方式"), m_affiche);
    add(3, 1, QStringLiteral("活动经费"), m_ployMoney);
    add(4, 0, QStringLiteral("经费凑措"), m_moneyTake, 2);
    add(5, 0, QStringLiteral("参加人员"), m_takePeople, 2);
    add(6, 0, QStringLiteral("活动情况"), m_circs, 2);
    add(7, 0, QStringLiteral("备注"), m_remark, 2);
    begin();
}

QList<QLineEdit*> ActivitiesScreen::textBoxes() const
{
    return {m_name, m_mainDept, m_secondDept, m_affiche, m_chargeMan, m_ployMoney, m_moneyTake, m_takePeople};
}

ListQuery ActivitiesScreen::listQuery() const
{
    return activity_store::list();
}

void ActivitiesScreen::showRecord(const QVariant& key)
{
    const std::optional<CommunityActivity> a = activity_store::load(db(), key.toLongLong());
    if (!a)
        return;
    m_name->setText(a->name);
    m_mainDept->setText(a->mainDept);
    m_secondDept->setText(a->secondDept);
    m_affiche->setText(a->affiche);
    m_chargeMan->setText(a->chargeMan);
    m_ployMoney->setText(a->ployMoney);
    m_moneyTake->setText(a->moneyTake);
    m_takePeople->setText(a->takePeople);
    m_circs->setPlainText(a->circs);
    m_remark->setPlainText(a->remark);
    widgets::setDate(m_start, a->startDate);
    widgets::setDate(m_end, a->endDate);
}

void ActivitiesScreen::clearForNew()
{
    // The dates stay as last shown.
    for (QLineEdit* box : textBoxes())
        box->clear();
    m_circs->clear();
    m_remark->clear();
    m_name->setFocus();
}

std::optional<QVariant> ActivitiesScreen::storeRecord(const QVariant& key)
{
    CommunityActivity a;
    a.id = key.toLongLong();
    a.name = m_name->text();
    a.mainDept = m_mainDept->text();
    a.secondDept = m_secondDept->text();
    a.affiche = m_affiche->text();
    a.chargeMan = m_chargeMan->text();
    a.ployMoney = m_ployMoney->text();
    a.moneyTake = m_moneyTake->text();
    a.takePeople = m_takePeople->text();
    a.circs = m_circs->toPlainText();
    a.remark = m_remark->toPlainText();
    a.startDate = widgets::dateOf(m_start);
    a.endDate = widgets::dateOf(m_end);
    const Checked<qlonglong> result = activity_store::save(db(), a);
    if (!result.ok()) {
        messages().information(result.refusal().text);
        return std::nullopt;
    }
    return QVariant(result.value());
}

void ActivitiesScreen::removeRecord(const QVariant& key)
{
    activity_store::remove(db(), key.toLongLong());
}

void ActivitiesScreen::print()
{
    run([&] {
        // Every activity, whatever the list shows.
        const ReportStatement s = reports::communityStatement();
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptPloy(), rows, this);
    });
}
