#include "queries/PeriodQueryScreen.h"

#include "base/OwnerPicker.h"
#include "db/QueryListModel.h"
#include "gui/ListRefresh.h"
#include "gui/WidgetFactory.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

PeriodQueryScreen::PeriodQueryScreen(const ScreenContext& context, const Parts& parts, QWidget* parent)
    : Screen(context, parent)
{
    m_model = new QueryListModel(parts.columns, this);
    m_grid = widgets::grid(this, "dbgTakeIn", m_model);
    // A payment stored elsewhere shows in the result of the last query at once,
    // the chart drawn again; the grid stays on its row.
    ListRefresh::of(m_grid, m_model, context.db)->setRefresh([this] {
        const int row = widgets::currentRow(m_grid);
        showResult();
        if (row > 0)
            widgets::selectRow(m_grid, std::min(row, m_model->rowCount() - 1));
    });
    m_first = widgets::dateEdit(this, "dtpStart");
    m_last = widgets::dateEdit(this, "dtpEnd");
    for (QDateEdit* picker : {m_first, m_last})
        picker->setDate(context.clock->today());

    auto* query = widgets::button(this, "btnQuery", QStringLiteral("查询"));
    query->setDefault(true);
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* exit = widgets::button(this, "BitBtn2", QStringLiteral("退出 &e."));
    auto* pickers = new QHBoxLayout;
    pickers->addWidget(new QLabel(QStringLiteral("开始日期"), this));
    pickers->addWidget(m_first);
    pickers->addWidget(new QLabel(QStringLiteral("结束日期"), this));
    pickers->addWidget(m_last);
    pickers->addWidget(query);
    pickers->addStretch();
    QList<QPushButton*> buttons;
    if (parts.withPrint) {
        auto* printButton = widgets::button(this, "btnPrint", QStringLiteral("打印 &p."));
        connect(printButton, &QPushButton::clicked, this, [this] { print(); });
        buttons << printButton;
    }
    buttons << excel << exit;
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (QPushButton* b : buttons)
        buttonRow->addWidget(b);

    m_result = new QVBoxLayout;
    m_result->addWidget(m_grid);
    auto* body = new QHBoxLayout;
    if (parts.withOwners) {
        m_owners =
            new OwnerPicker(context, this, "DBGrid1", OwnerPicker::Shape::Grid, QStringLiteral("住户名称"));
        m_owners->setScope(parts.currentOwnersOnly ? owner_store::Occupants::Current
                                                   : owner_store::Occupants::All,
                           owner_store::OwnerOrder::ByNumber);
        m_owners->view()->setMaximumWidth(240);
        body->addWidget(m_owners->view());
    }
    body->addLayout(m_result, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickers);
    layout->addLayout(body, 1);
    layout->addLayout(buttonRow);

    connect(query, &QPushButton::clicked, this, [this] {
        m_period = Period{m_first->date(), m_last->date()};
        showResult();
    });
    connect(excel, &QPushButton::clicked, this, [this] { exportResult(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    if (m_owners) {
        run([&] { m_owners->reload(); });
        connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this] { showResult(); });
    }
}

qlonglong PeriodQueryScreen::ownerId() const
{
    return m_owners ? m_owners->currentOwnerId() : 0;
}

void PeriodQueryScreen::showResult()
{
    run([&] {
        if (const std::optional<ListQuery> query = result(ownerId(), m_period))
            m_model->load(db(), *query);
        else
            m_model->clear();
        widgets::selectRow(m_grid, 0);
    });
    resultShown();
}

void PeriodQueryScreen::backToFirstRow()
{
    widgets::selectRow(m_grid, 0);
}
