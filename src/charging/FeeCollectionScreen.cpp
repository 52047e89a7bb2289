#include "charging/FeeCollectionScreen.h"

#include "base/OwnerPicker.h"
#include "charging/ChargeType.h"
#include "charging/FeeEntry.h"
#include "charging/FeeRecord.h"
#include "db/NumberInput.h"
#include "db/QueryListModel.h"
#include "gui/NameChoice.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QList<ListColumn> recordColumns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("take_id"), QStringLiteral("序号"), K::Number},
        {QStringLiteral("type_name"), QStringLiteral("费用名")},
        {QStringLiteral("should_pay"), QStringLiteral("应付款"), K::Decimal},
        {QStringLiteral("payment_real"), QStringLiteral("实付款"), K::Decimal},
        {QStringLiteral("start_num"), QStringLiteral("上次行数")},
        {QStringLiteral("end_num"), QStringLiteral("本次行数")},
        {QStringLiteral("take_date"), QStringLiteral("付款日期"), K::Date},
        {QStringLiteral("write_man"), QStringLiteral("制单人")},
        {QStringLiteral("if_remain"), QStringLiteral("上期节余")},
    };
}

// A list of all fee records of all owners may hold a million rows: it is read a
// page at a time as the grid scrolls.
constexpr int kPageSize = 256;

} // namespace

FeeCollectionScreen::FeeCollectionScreen(const ScreenContext& context, QWidget* parent)
    : Screen(context, parent)
{
    setObjectName(QStringLiteral("TtakeinFrm"));
    setWindowTitle(QStringLiteral("收费界面"));
    resize(1000, 620);

    auto* left = new QWidget(this);
    left->setMaximumWidth(260);
    m_day = widgets::dateEdit(left, "dtpDate");
    m_day->setDate(context.clock->today());
    m_owners = new OwnerPicker(context, left, "lstOwners", OwnerPicker::Shape::ListBox);
    m_owners->setScope(owner_store::Occupants::All, owner_store::OwnerOrder::ByName);
    m_all = new QCheckBox(QStringLiteral("全部记录"), left);
    m_all->setObjectName(QStringLiteral("cbxFull"));
    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(new QLabel(QStringLiteral("记录日期"), left));
    dayRow->addWidget(m_day, 1);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addLayout(dayRow);
    leftLayout->addWidget(m_owners->view(), 1);
    leftLayout->addWidget(m_all);

    m_records = new QueryListModel(recordColumns(), this);
    m_records->setPageSize(kPageSize);
    m_grid = widgets::grid(this, "dbgTakeIn", m_records);
    // The entry boxes are plain: Save alone writes them; choosing a record shows it.
    m_form = new RowForm(context, m_grid, m_records, QStringLiteral("take_id"),
                         {[this] {
                              if (m_all->isChecked())
                                  return fee_store::all();
                              return m_filter == Filter::Day ? fee_store::ofDay(m_day->date())
                                                             : fee_store::ofOwner(m_ownerId);
                          },
                          [this](int row) { loadRecord(row); }, [] { return false; }, [] { return true; }},
                         RowForm::OnLeave::Discard);

    auto* entry = new QWidget(this);
    buildEntry(entry);

    m_add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a."));
    m_save = widgets::button(this, "btnModi", QStringLiteral("保存 &s."));
    m_remove = widgets::button(this, "btnDel", QStringLiteral("删除 &d."));
    auto* exit = widgets::button(this, "BitBtn2", QStringLiteral("退出 &e."));

    auto* right = new QVBoxLayout;
    right->addWidget(m_grid, 1);
    right->addWidget(entry);
    right->addLayout(widgets::buttonRow({m_add, m_save, m_remove, exit}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addLayout(right, 1);

    connect(m_all, &QCheckBox::toggled, this, &FeeCollectionScreen::showAll);
    connect(m_add, &QPushButton::clicked, this, &FeeCollectionScreen::startNewRecord);
    connect(m_save, &QPushButton::clicked, this, &FeeCollectionScreen::save);
    connect(m_remove, &QPushButton::clicked, this, [this] {
        m_form->removeCurrent(QStringLiteral("确实要删除此记录吗?"), [this](const QVariant& key) {
            return fee_store::removeUnlessReceipted(db(), key.toLongLong());
        });
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    m_day->installEventFilter(this);
    m_takeDate->installEventFilter(this);

    // The types first, so that the record the owner's list stands on shows its own.
    run([&] {
        const QList<NamedKey> types = charge_type_store::names(db());
        if (types.isEmpty()) {
            messages().information(QStringLiteral("还未有费用类别记录！"));
            return;
        }
        name_choice::fill(m_type, types);
        m_type->setCurrentIndex(0);
        typeChanged();
    });
    for (QDateEdit* picker : {m_firstMonth, m_lastMonth, m_takeDate})
        picker->setDate(context.clock->today());
    run([&] { m_owners->reload(); });
    if (m_owners->model()->rowCount() == 0)
        messages().information(QStringLiteral("还未有住户记录,请先添加！"));
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectOwner(m_owners->ownerIdAt(current.row())); });
    selectOwner(m_owners->currentOwnerId());
}

void FeeCollectionScreen::buildEntry(QWidget* box)
{
    m_type = widgets::comboBox(box, "cmbTypeName", {}, "charge_type", "type_name");
    m_lastLabel = new QLabel(QStringLiteral("上次度数"), box);
    m_lastLabel->setObjectName(QStringLiteral("labLast"));
    m_currentLabel = new QLabel(QStringLiteral("本次度数"), box);
    m_currentLabel->setObjectName(QStringLiteral("labCurrent"));
    m_previous = widgets::lineEdit(box, "edtStart", "charge_take", "start_num");
    m_current = widgets::lineEdit(box, "edtEnd", "charge_take", "end_num");
    // Only year and month count; the stored period keeps the whole date picked.
    m_firstMonth = widgets::monthEdit(box, "dtpStart");
    m_lastMonth = widgets::monthEdit(box, "dtpEnd");
    m_firstMonth->hide();
    m_lastMonth->hide();
    m_shouldPay = widgets::numberEdit(box, "edtShouldPay");
    m_paid = widgets::numberEdit(box, "edtPaymentReal");
    // The columns the save checks name, for the cursor to go to on a refusal.
    widgets::setField(m_type, "type_id");
    widgets::setField(m_firstMonth, "start_num");
    widgets::setField(m_lastMonth, "end_num");
    widgets::setField(m_shouldPay, "should_pay");
    widgets::setField(m_paid, "payment_real");
    m_remark = widgets::memo(box, "memRemark", "charge_take", "remarks");
    m_remark->setFixedHeight(48);
    m_takeDate = widgets::dateEdit(box, "dtpTakeDate");
    // How the money is paid is chosen, never typed; it goes on the receipt.
    m_payWay = widgets::comboBox(box, "cmbPayWay", receipt_store::payWays());
    m_payWay->setEditable(false);
    m_payWay->setCurrentIndex(0); // cash, unless the operator chooses another way
    widgets::setField(m_payWay, "pay_way");

    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("费用名"), box), 0, 0);
    grid->addWidget(m_type, 0, 1);
    grid->addWidget(m_lastLabel, 1, 0);
    grid->addWidget(m_previous, 1, 1);
    grid->addWidget(m_firstMonth, 1, 1);
    grid->addWidget(m_currentLabel, 1, 2);
    grid->addWidget(m_current, 1, 3);
    grid->addWidget(m_lastMonth, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("应付款"), box), 2, 0);
    grid->addWidget(m_shouldPay, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("实付款"), box), 2, 2);
    grid->addWidget(m_paid, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("备注"), box), 3, 0);
    grid->addWidget(m_remark, 3, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("付费日期"), box), 4, 0);
    grid->addWidget(m_takeDate, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("付款方式"), box), 4, 2);
    grid->addWidget(m_payWay, 4, 3);

    // The order the office types a fee in.
    QWidget* order[] = {m_type,      m_previous, m_current, m_firstMonth, m_lastMonth,
                        m_shouldPay, m_paid,     m_remark,  m_takeDate,   m_payWay};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(m_type, &QComboBox::currentTextChanged, this, &FeeCollectionScreen::typeChanged);
    connect(m_shouldPay, &QLineEdit::returnPressed, this, &FeeCollectionScreen::computeAmount);
    // Enter in the paid box: paid in full.
    connect(m_paid, &QLineEdit::returnPressed, this, [this] {
        m_paid->setText(m_shouldPay->text());
        paidEntered();
    });
    connect(m_paid, &QLineEdit::textEdited, this, &FeeCollectionScreen::paidEntered);
}

bool FeeCollectionScreen::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in either date picker lists the records paid on the day of dtpDate.
    if ((watched == m_day || watched == m_takeDate) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            filterByDay();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

void FeeCollectionScreen::updateButtons()
{
    // Nothing is stored for no owner.
    m_add->setEnabled(canWrite() && m_ownerId != 0);
    m_save->setEnabled(canWrite() && m_ownerId != 0);
    m_remove->setEnabled(canWrite());
}

void FeeCollectionScreen::selectOwner(qlonglong ownerId)
{
    {
        const QSignalBlocker blocker(m_all);
        m_all->setChecked(false);
        m_all->setPalette(QPalette());
    }
    m_ownerId = ownerId;
    m_filter = Filter::Owner;
    m_type->setEditText(QString());
    clearEntry();
    updateButtons();
    showList(0, true);
}

void FeeCollectionScreen::showList(qlonglong selectId, bool last)
{
    m_newRecord = false;
    m_form->reload(selectId ? QVariant(selectId) : QVariant());
    if (last && m_records->rowCount() > 0) {
        while (m_records->canFetchMore())
            m_records->fetchMore();
        widgets::selectRow(m_grid, m_records->rowCount() - 1);
    }
}

void FeeCollectionScreen::paidEntered()
{
    // Money paid on a bill that had none is paid today: the payment date moves
    // to today, where the operator can still change it.
    if (!m_unpaidShown)
        return;
    const number_input::Decimal paid = number_input::decimal(m_paid->text(), "charge_take", "payment_real");
    if (paid.result != number_input::Result::Number || paid.value.hundredths() == 0)
        return;
    widgets::setDate(m_takeDate, context().clock->today());
    m_unpaidShown = false;
}

void FeeCollectionScreen::clearEntry()
{
    for (QLineEdit* box : {m_previous, m_current, m_shouldPay, m_paid})
        box->clear();
    m_remark->clear();
    m_unpaidShown = false;
}

qlonglong FeeCollectionScreen::currentRecordId() const
{
    return m_newRecord ? 0 : m_form->keyAt(m_form->currentRow()).toLongLong();
}

void FeeCollectionScreen::setUpInputs(BillingRule rule)
{
    const bool readings = rule == BillingRule::Meter;
    const bool months = rule == BillingRule::AreaMonths || rule == BillingRule::PriceMonths;
    if (readings || months) {
        m_lastLabel->setText(readings ? QStringLiteral("上次度数") : QStringLiteral("起缴月份"));
        m_currentLabel->setText(readings ? QStringLiteral("本次度数") : QStringLiteral("缴止月份"));
        m_previous->setVisible(readings);
        m_current->setVisible(readings);
        m_firstMonth->setVisible(months);
        m_lastMonth->setVisible(months);
    }
    // A typed fee keeps the boxes where they are, disabled.
    for (QWidget* box : {static_cast<QWidget*>(m_previous), static_cast<QWidget*>(m_current)})
        box->setEnabled(readings);
    for (QWidget* box : {static_cast<QWidget*>(m_firstMonth), static_cast<QWidget*>(m_lastMonth)})
        box->setEnabled(months);
}

void FeeCollectionScreen::typeChanged()
{
    run([&] {
        const FeeInput typed = input();
        std::optional<ChargeType> type = typed.typeId ? charge_type_store::load(db(), typed.typeId)
                                                      : charge_type_store::findByName(db(), typed.typeName);
        if (type)
            setUpInputs(type->rule());
    });
}

void FeeCollectionScreen::loadRecord(int row)
{
    if (row < 0) {
        clearEntry();
        return;
    }
    m_newRecord = false;
    run([&] {
        const std::optional<FeeRecord> record = fee_store::load(db(), m_form->keyAt(row).toLongLong());
        if (!record) {
            clearEntry();
            return;
        }
        const std::optional<ChargeType> type = charge_type_store::load(db(), record->typeId);
        const BillingRule rule = type ? type->rule() : BillingRule::Typed;
        if (type)
            setUpInputs(rule);
        if (rule == BillingRule::Meter) {
            m_previous->setText(record->startNum);
            m_current->setText(record->endNum);
        } else if (rule == BillingRule::AreaMonths || rule == BillingRule::PriceMonths) {
            const auto showMonth = [&](const QString& text, QDateEdit* picker, const QString& column) {
                const Checked<std::optional<QDate>> month = fee_store::storedMonth(text, column);
                if (!month.ok())
                    messages().information(month.refusal().text);
                else if (month.value())
                    picker->setDate(*month.value());
            };
            showMonth(record->startNum, m_firstMonth, QStringLiteral("start_num"));
            showMonth(record->endNum, m_lastMonth, QStringLiteral("end_num"));
        }
        m_type->setEditText(type ? type->name : QString());
        if (type) {
            const int index = m_type->findData(type->id);
            if (index >= 0)
                m_type->setCurrentIndex(index);
        }
        m_shouldPay->setText(record->shouldPay.toString(2));
        m_paid->setText(record->paymentReal.toString(2));
        widgets::setDate(m_takeDate, record->takeDate);
        m_unpaidShown = record->paymentReal.hundredths() == 0;
        m_remark->setPlainText(record->remarks);
    });
}

FeeInput FeeCollectionScreen::input() const
{
    FeeInput in;
    in.ownerId = m_ownerId;
    in.recordId = currentRecordId();
    const QString name = m_type->currentText().trimmed();
    const int index = m_type->currentIndex();
    if (index >= 0 && m_type->itemText(index) == name)
        in.typeId = m_type->itemData(index).toLongLong();
    in.typeName = name;
    in.previousReading = m_previous->text();
    in.currentReading = m_current->text();
    in.firstMonth = m_firstMonth->date();
    in.lastMonth = m_lastMonth->date();
    in.shouldPay = m_shouldPay->text();
    in.paid = m_paid->text();
    in.takeDate = widgets::dateOf(m_takeDate);
    in.remarks = m_remark->toPlainText();
    return in;
}

void FeeCollectionScreen::computeAmount()
{
    run([&] {
        const Checked<QString> amount = fee_entry::computeAmount(db(), input());
        if (!amount.ok())
            refuse(amount.refusal());
        else if (!amount.value().isEmpty())
            m_shouldPay->setText(amount.value());
    });
}

void FeeCollectionScreen::startNewRecord()
{
    if (!m_add->isEnabled())
        return;
    widgets::selectRow(m_grid, -1);
    m_newRecord = true;
    clearEntry();
    // A new fee is paid today, whatever record was shown before.
    widgets::setDate(m_takeDate, context().clock->today());
    m_type->setFocus();
}

void FeeCollectionScreen::save()
{
    if (!m_save->isEnabled())
        return;
    const FeeInput typed = input();
    run(
        [&] {
            const Checked<FeeRecord> checked = fee_entry::check(db(), typed);
            if (!checked.ok()) {
                refuse(checked.refusal());
                return;
            }
            const Checked<fee_store::Saved> saved = fee_store::save(
                db(), checked.value(), {context().op.code, m_payWay->currentText()}, context().clock->now());
            if (!saved.ok()) {
                refuse(saved.refusal());
                return;
            }
            if (typed.recordId == 0) {
                // The next fee is entered at once, of the same type.
                const int type = m_type->currentIndex();
                const QString typeText = m_type->currentText();
                showList(0, false);
                startNewRecord();
                if (type >= 0 && m_type->itemText(type) == typeText)
                    m_type->setCurrentIndex(type);
                else
                    m_type->setEditText(typeText);
            } else {
                showList(typed.recordId, false);
            }
        },
        [this] { showList(0, false); });
}

void FeeCollectionScreen::filterByDay()
{
    {
        const QSignalBlocker blocker(m_all);
        m_all->setChecked(false);
        m_all->setPalette(QPalette());
    }
    m_filter = Filter::Day;
    showList(0, false);
}

void FeeCollectionScreen::showAll(bool all)
{
    // Every record of every owner: the caption turns yellow while it applies.
    QPalette palette;
    if (all)
        palette.setColor(QPalette::WindowText, Qt::yellow);
    m_all->setPalette(palette);
    // The list stands on its first record: looking for the record shown before
    // would read a million rows.
    showList(0, false);
}
