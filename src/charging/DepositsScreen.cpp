#include "charging/DepositsScreen.h"

#include "base/OwnerPicker.h"
#include "charging/Deposit.h"
#include "db/MoneyValidator.h"
#include "gui/WidgetFactory.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

DepositsScreen::DepositsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TbailFrm"));
    setWindowTitle(QStringLiteral("装修押金"));
    resize(640, 400);

    // Every owner, moved-out ones too, in the order they were registered.
    m_owners = new OwnerPicker(context, this, "DBGrid1");
    m_owners->setScope(owner_store::Occupants::All, owner_store::OwnerOrder::ByNumber);
    m_owners->view()->setMaximumWidth(260);
    m_name = widgets::lineEdit(this, "DBEdit1");
    m_linker = widgets::lineEdit(this, "DBEdit2");
    m_tel = widgets::lineEdit(this, "DBEdit3");
    for (QLineEdit* shown : {m_name, m_linker, m_tel})
        shown->setReadOnly(true);
    m_amount = widgets::numberEdit(this, "edtBailMoney");
    widgets::setField(m_amount, "bail_money");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("住户名称"), m_name);
    form->addRow(QStringLiteral("联系人"), m_linker);
    form->addRow(QStringLiteral("联系电话"), m_tel);
    form->addRow(QStringLiteral("装修押金"), m_amount);
    m_save = widgets::button(this, "btnSave", QStringLiteral("保存"));
    m_save->setDefault(true);
    m_save->setAutoDefault(true);
    auto* exit = widgets::button(this, "BitBtn2", QStringLiteral("&退出"));
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch();
    right->addLayout(widgets::buttonRow({m_save, exit}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_owners->view());
    layout->addLayout(right, 1);

    // Only keystrokes that keep an amount are taken.
    m_amount->setValidator(new MoneyValidator("owner_info", "bail_money", m_amount));
    connect(m_amount, &QLineEdit::returnPressed, this, &DepositsScreen::save);
    connect(m_save, &QPushButton::clicked, this, &DepositsScreen::save);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    run([&] { m_owners->reload(); });
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showOwner(m_owners->ownerIdAt(current.row())); });
    showOwner(m_owners->currentOwnerId());
}

void DepositsScreen::showOwner(qlonglong ownerId)
{
    m_ownerId = ownerId;
    Deposit deposit;
    if (ownerId != 0)
        run([&] { deposit = deposit_store::load(db(), ownerId).value_or(Deposit{}); });
    m_name->setText(deposit.ownerName);
    m_linker->setText(deposit.linker);
    m_tel->setText(deposit.linkTel);
    m_amount->setText(deposit.amount ? deposit.amount->toString(2) : QStringLiteral("0"));
    // Nothing is stored for no owner; browsing may type but not store.
    m_save->setEnabled(canWrite() && m_ownerId != 0);
}

void DepositsScreen::save()
{
    if (!m_save->isEnabled() || m_ownerId == 0)
        return;
    run(
        [&] {
            if (const Checked<> saved = deposit_store::save(db(), m_ownerId, m_amount->text()); !saved.ok())
                refuse(saved.refusal());
        },
        [this] { run([&] { m_owners->reload(); }); });
}
