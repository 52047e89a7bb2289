#include "charging/ReceiptsScreen.h"

#include "charging/Receipt.h"
#include "db/QueryListModel.h"
#include "gui/ListRefresh.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A register of every day may hold a hundred thousand receipts: read as the view scrolls.
constexpr int kPageSize = 500;

} // namespace

ReceiptsScreen::ReceiptsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TReceiptFrm"));
    setWindowTitle(QStringLiteral("收据登记"));
    resize(980, 560);

    m_day = widgets::dateEdit(this, "dtpDay");
    m_day->setDate(context.clock->today());
    m_allDays = new QCheckBox(QStringLiteral("所有日期"), this);
    m_allDays->setObjectName(QStringLiteral("cbxAllDays"));
    m_number = widgets::lineEdit(this, "edtNumber", "receipt", "receipt_no");
    m_owner = widgets::lineEdit(this, "edtOwner", "owner_info", "owner_name");
    m_operator = widgets::lineEdit(this, "edtOperator", "receipt", "op_code");
    auto* query = widgets::button(this, "btnQuery", QStringLiteral("查询"));
    query->setDefault(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("日期"), this));
    filters->addWidget(m_day);
    filters->addWidget(m_allDays);
    filters->addWidget(new QLabel(QStringLiteral("收据号"), this));
    filters->addWidget(m_number);
    filters->addWidget(new QLabel(QStringLiteral("住户名称"), this));
    filters->addWidget(m_owner);
    filters->addWidget(new QLabel(QStringLiteral("操作员"), this));
    filters->addWidget(m_operator);
    filters->addWidget(query);

    m_model = new QueryListModel(receipt_store::columns(), this);
    m_model->setPageSize(kPageSize);
    m_grid = widgets::grid(this, "dbgReceipt", m_model);
    ListRefresh::of(m_grid, m_model, context.db, QStringLiteral("receipt_id"));

    auto* voidButton = widgets::button(this, "btnVoid", QStringLiteral("作废 &v"));
    voidButton->setEnabled(canWrite());
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    layout->addLayout(widgets::buttonRow({voidButton, excel, exit}));

    connect(query, &QPushButton::clicked, this, &ReceiptsScreen::showReceipts);
    connect(m_allDays, &QCheckBox::toggled, m_day, &QWidget::setDisabled);
    connect(voidButton, &QPushButton::clicked, this, &ReceiptsScreen::voidCurrent);
    connect(excel, &QPushButton::clicked, this, &ReceiptsScreen::exportReceipts);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    showReceipts();
}

void ReceiptsScreen::showReceipts()
{
    receipt_store::ReceiptFilter filter;
    if (!m_allDays->isChecked())
        filter.day = m_day->date();
    filter.number = m_number->text();
    filter.owner = m_owner->text();
    filter.opCode = m_operator->text();
    run([&] {
        m_model->load(db(), receipt_store::list(filter));
        widgets::selectRow(m_grid, 0);
    });
}

void ReceiptsScreen::voidCurrent()
{
    const int row = widgets::currentRow(m_grid);
    if (row < 0) {
        messages().information(QStringLiteral("请先选择要作废的收据！"));
        return;
    }
    const qlonglong id = m_model->value(row, QStringLiteral("receipt_id")).toLongLong();
    const QString number = m_model->value(row, QStringLiteral("receipt_no")).toString().trimmed();
    const std::optional<QString> reason =
        messages().askText(QStringLiteral("作废收据"), QStringLiteral("作废收据%1的原因：").arg(number), {});
    if (!reason)
        return;
    run(
        [&] {
            const Checked<Receipt> voided = receipt_store::voidReceipt(
                db(), {id, *reason, context().op.code, true}, context().clock->now());
            if (!voided.ok()) {
                refuse(voided.refusal());
                return;
            }
            showReceipts();
        },
        [this] { showReceipts(); });
}

void ReceiptsScreen::exportReceipts()
{
    StatementRecordSource rows(db(), m_model->query());
    if (exportList(context(), receipt_store::exported(), rows, this))
        widgets::selectRow(m_grid, 0);
}
