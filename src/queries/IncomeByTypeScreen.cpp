#include "queries/IncomeByTypeScreen.h"

#include "db/QueryListModel.h"
#include "output/MemoryRecordSource.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "queries/IncomeByType.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

IncomeByTypeScreen::IncomeByTypeScreen(const ScreenContext& context, QWidget* parent)
    : PeriodQueryScreen(context, {income_by_type::columns(), false, false, false}, parent)
{
    setObjectName(QStringLiteral("TTypeMonthFrm"));
    setWindowTitle(QStringLiteral("各类费用收入"));
    resize(820, 560);

    m_chart = new QChartView(new QChart, this);
    m_chart->setObjectName(QStringLiteral("dbcOwe"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->chart()->legend()->hide();
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->addTab(m_chart, QStringLiteral("图形"));
    tabs->addTab(grid(), QStringLiteral("数据"));
    resultArea()->addWidget(tabs);
}

std::optional<ListQuery> IncomeByTypeScreen::result(qlonglong, const std::optional<Period>& period) const
{
    if (!period)
        return std::nullopt;
    return income_by_type::list(db(), *period);
}

namespace {

// The category axis keeps one category per distinct, non-empty label: a second
// type of one name, or a deleted type's empty name, would lose its label and
// shift the bars after it under the wrong names. Each label is made distinct
// with zero-width spaces, which show nothing.
QStringList distinctLabels(const QStringList& names)
{
    QStringList labels;
    for (const QString& name : names) {
        QString label = name;
        while (label.isEmpty() || labels.contains(label))
            label += QChar(0x200B);
        labels << label;
    }
    return labels;
}

} // namespace

void IncomeByTypeScreen::resultShown()
{
    // One red bar per row, as high as what was paid, labelled with the type's
    // name (empty for a deleted type) and the amount with its two decimals; the
    // axis starts at 0.
    QChart* chart = m_chart->chart();
    chart->removeAllSeries();
    // Removing an axis hands it back to us.
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    auto* paid = new QBarSet(QStringLiteral("实付款"));
    paid->setColor(Qt::red);
    QStringList names;
    qreal highest = 0;
    for (int row = 0; row < model()->rowCount(); ++row) {
        const Money amount =
            Decimal2::fromDb(model()->value(row, QStringLiteral("sum_real"))).value_or(Money());
        // The chart draws in floating point; the figures stay exact in the table.
        const qreal height = static_cast<qreal>(amount.hundredths()) / 100;
        paid->append(height);
        highest = std::max(highest, height);
        names << model()->value(row, QStringLiteral("type_name")).toString().trimmed();
    }
    auto* series = new QBarSeries;
    series->append(paid);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(12);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(distinctLabels(names));
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setRange(0, highest > 0 ? highest * 1.1 : 1);
    values->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
}

void IncomeByTypeScreen::exportResult()
{
    const ExportDescription d = income_by_type::exported();
    if (!period()) {
        MemoryRecordSource nothing({}, {});
        exportList(context(), d, nothing, this);
        return;
    }
    StatementRecordSource rows(db(), income_by_type::list(db(), *period()));
    if (exportList(context(), d, rows, this))
        backToFirstRow();
}
