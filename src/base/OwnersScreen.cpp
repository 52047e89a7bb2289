#include "base/OwnersScreen.h"

#include "base/Owner.h"
#include "base/OwnerPicker.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/ListReportLayouts.h"
#include "output/ReportPreview.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using owner_store::Occupants;

OwnersScreen::OwnersScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TownerFrm"));
    setWindowTitle(QStringLiteral("业主信息"));
    resize(900, 520);

    m_owners = new OwnerPicker(context, this);
    m_owners->view()->setMinimumWidth(240);
    m_owners->view()->setMaximumWidth(320);
    m_editors = new EditorSet(this);
    QWidget* editors = buildEditors();

    auto* query = widgets::button(this, "btnQuery", QStringLiteral("单位查询"));
    m_all = new QCheckBox(QStringLiteral("所有住户"), this);
    m_all->setObjectName(QStringLiteral("cbxAll"));
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a"));
    auto* remove = widgets::button(this, "btnDelete", QStringLiteral("删除 &d"));
    auto* saveButton = widgets::button(this, "btnModi", QStringLiteral("保存 &s."));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));
    auto* printButton = widgets::button(this, "btnPrint", QStringLiteral("打印 &p."));
    for (QPushButton* b : {add, remove, saveButton})
        b->setEnabled(canWrite());
    // Browsing never writes: occupancy and move-in date are read-only too.
    m_editors->setReadOnly(!canWrite());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(query);
    buttons->addWidget(m_all);
    buttons->addStretch();
    for (QPushButton* b : {excel, add, remove, saveButton, printButton, exit})
        buttons->addWidget(b);
    auto* right = new QVBoxLayout;
    right->addWidget(editors);
    right->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_owners->view());
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    m_form = new RowForm(context, m_owners->grid(), m_owners->model(), QStringLiteral("owner_id"),
                         {[this] { return m_owners->query(); }, [this](int row) { showOwner(row); },
                          [this] { return m_editors->isModified(); }, [this] { return storeOwner(); }});

    connect(m_owners->view(), &QTableView::doubleClicked, this, [this] {
        if (canWrite())
            save();
    });
    connect(query, &QPushButton::clicked, this,
            [this] { m_owners->search(QStringLiteral("请输入住户名称:")); });
    connect(m_all, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_form->storeIfModified()) {
            const QSignalBlocker blocker(m_all);
            m_all->setChecked(!checked);
            return;
        }
        m_owners->setScope(checked ? Occupants::All : Occupants::Current, owner_store::OwnerOrder::ByName);
        m_form->reload(m_shownId);
    });
    connect(excel, &QPushButton::clicked, this, &OwnersScreen::exportOwners);
    connect(add, &QPushButton::clicked, this, [this] {
        if (m_form->addNewRow())
            m_name->setFocus();
    });
    connect(remove, &QPushButton::clicked, this, &OwnersScreen::removeOwner);
    connect(saveButton, &QPushButton::clicked, this, &OwnersScreen::save);
    connect(printButton, &QPushButton::clicked, this, &OwnersScreen::print);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    m_form->reload();
}

QWidget* OwnersScreen::buildEditors()
{
    auto* box = new QWidget(this);
    m_name = widgets::lineEdit(box, "dbeOwnerName", "owner_info", "owner_name");
    m_inOut = new QComboBox(box);
    m_inOut->setObjectName(QStringLiteral("DBComboBox2"));
    m_inOut->addItems({Owner::kLiving, Owner::kMovedOut});
    m_linker = widgets::lineEdit(box, "DBEdit5", "owner_info", "linker");
    m_credit = widgets::comboBox(box, "DBComboBox1",
                                 {QStringLiteral("良好"), QStringLiteral("一般"), QStringLiteral("差")},
                                 "owner_info", "credit");
    m_linkTel = widgets::lineEdit(box, "DBEdit13", "owner_info", "link_tel");
    m_inDate = widgets::dateEdit(box, "dtpInDate");
    m_paperName = widgets::lineEdit(box, "DBEdit3", "owner_info", "paper_name");
    m_paperId = widgets::lineEdit(box, "DBEdit4", "owner_info", "paper_id");
    m_workTime = widgets::lineEdit(box, "DBEdit9", "owner_info", "work_time");
    m_fare = widgets::lineEdit(box, "DBEdit10", "owner_info", "fare");
    m_remarks = widgets::memo(box, "DBMemo1", "owner_info", "remarks");
    m_remarks->setFixedHeight(70);
    m_editors->add({m_name, m_inOut, m_linker, m_credit, m_linkTel, m_inDate, m_paperName, m_paperId,
                    m_workTime, m_fare, m_remarks});

    auto* grid = new QGridLayout(box);
    const auto row = [&](int r, int c, const QString& label, QWidget* editor, int span = 1) {
        grid->addWidget(new QLabel(label, box), r, c * 2);
        grid->addWidget(editor, r, c * 2 + 1, 1, span);
    };
    row(0, 0, QStringLiteral("单位名称"), m_name, 3);
    row(1, 0, QStringLiteral("是否搬出"), m_inOut);
    row(1, 1, QStringLiteral("迁入日期"), m_inDate);
    row(2, 0, QStringLiteral("联系人"), m_linker);
    row(2, 1, QStringLiteral("信誉等级"), m_credit);
    row(3, 0, QStringLiteral("联系电话"), m_linkTel);
    row(3, 1, QStringLiteral("作息时间"), m_workTime);
    row(4, 0, QStringLiteral("证件名称"), m_paperName);
    row(4, 1, QStringLiteral("证件号码"), m_paperId);
    row(5, 0, QStringLiteral("经营范围"), m_fare, 3);
    row(6, 0, QStringLiteral("备注"), m_remarks, 3);
    return box;
}

void OwnersScreen::showOwner(int row)
{
    // A new owner lives here from today. With no owner listed the editors show a
    // new one too, which Save stores.
    Owner owner;
    owner.inDate = context().clock->today();
    if (row >= 0 && !m_form->isNewRow(row))
        run([&] { owner = owner_store::load(db(), m_owners->ownerIdAt(row)).value_or(Owner{}); });

    const EditorSet::Loading loading(*m_editors);
    m_shownId = owner.id;
    m_name->setText(owner.name);
    m_inOut->setCurrentIndex(m_inOut->findText(owner.inOut));
    m_linker->setText(owner.linker);
    m_credit->setEditText(owner.credit);
    m_linkTel->setText(owner.linkTel);
    widgets::setDate(m_inDate, owner.inDate);
    m_paperName->setText(owner.paperName);
    m_paperId->setText(owner.paperId);
    m_workTime->setText(owner.workTime);
    m_fare->setText(owner.fare);
    m_remarks->setPlainText(owner.remarks);
    m_editors->setModified(false);
}

Owner OwnersScreen::ownerFromEditors() const
{
    Owner o;
    o.id = m_shownId;
    o.name = m_name->text();
    o.inOut = m_inOut->currentText();
    o.linker = m_linker->text();
    o.credit = m_credit->currentText();
    o.linkTel = m_linkTel->text();
    o.inDate = widgets::dateOf(m_inDate);
    o.paperName = m_paperName->text();
    o.paperId = m_paperId->text();
    o.workTime = m_workTime->text();
    o.fare = m_fare->text();
    o.remarks = m_remarks->toPlainText();
    return o;
}

bool OwnersScreen::storeOwner()
{
    if (!canWrite())
        return true;
    // Only a changed row is stored: a new owner whose details were typed keeps
    // the operator on it until it is named.
    const Checked<qlonglong> stored = owner_store::save(db(), ownerFromEditors());
    if (!stored.ok()) {
        refuse(stored.refusal());
        return false;
    }
    m_shownId = stored.value();
    m_editors->setModified(false);
    return true;
}

void OwnersScreen::save()
{
    if (const Checked<Owner> owner = owner_store::check(ownerFromEditors()); !owner.ok()) {
        refuse(owner.refusal());
        return;
    }
    // Save stores the editors as they are, the date picker included.
    m_form->storeAndReload([this] { return QVariant(m_shownId); });
}

void OwnersScreen::removeOwner()
{
    m_form->removeCurrent(
        QStringLiteral("确实要删除此记录吗?<正式使用中,不推荐删除用户信息！>"), [this](const QVariant& key) {
            const Checked<> removed = owner_store::removeUnlessInUse(db(), key.toLongLong());
            if (removed.ok())
                m_editors->setModified(false);
            return removed;
        });
}

StatementRecordSource OwnersScreen::listedOwners() const
{
    return StatementRecordSource(db(), m_owners->query());
}

void OwnersScreen::exportOwners()
{
    if (!m_form->storeIfModified())
        return;
    StatementRecordSource rows = listedOwners();
    if (exportList(context(), owner_store::exported(), rows, this))
        widgets::selectRow(m_owners->view(), 0);
}

void OwnersScreen::print()
{
    if (!m_form->storeIfModified())
        return;
    run([&] {
        // The list as it stands: its occupancy filter and its order.
        StatementRecordSource rows = listedOwners();
        context().reports->preview(reports::rptOwner(), rows, this);
    });
}
