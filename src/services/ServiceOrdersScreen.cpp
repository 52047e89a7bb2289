#include "services/ServiceOrdersScreen.h"

#include "base/OwnerPicker.h"
#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "services/ServiceOrders.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using K = ListColumn::Kind;

QList<ListColumn> orderColumns()
{
    return {{QStringLiteral("id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("record_date"), QStringLiteral("记录日期"), K::Date},
            {QStringLiteral("send_dept"), QStringLiteral("发单部门")},
            {QStringLiteral("rece_dept"), QStringLiteral("接收部门")},
            {QStringLiteral("order_time"), QStringLiteral("预约时间")},
            {QStringLiteral("recorder"), QStringLiteral("记录人")},
            // The office's grid titles these two with the column's own name.
            {QStringLiteral("server_item"), QStringLiteral("server_item")},
            {QStringLiteral("link_tel"), QStringLiteral("联系电话")},
            {QStringLiteral("take_stand"), QStringLiteral("收费标准")},
            {QStringLiteral("take_money"), QStringLiteral("费用"), K::Decimal},
            {QStringLiteral("big_money"), QStringLiteral("big_money")},
            {QStringLiteral("cust_write"), QStringLiteral("客户签字")}};
}

} // namespace

ServiceOrdersScreen::ServiceOrdersScreen(const ScreenContext& context, QWidget* parent)
    : Screen(context, parent)
{
    setObjectName(QStringLiteral("TserveOrderFrm"));
    setWindowTitle(QStringLiteral("有偿服务"));
    resize(1000, 620);

    // Every owner, moved-out ones too, in the order of their numbers; each entry
    // keeps its owner.
    m_owners =
        new OwnerPicker(context, this, "DBGrid1", OwnerPicker::Shape::Grid, QStringLiteral("业主名称"));
    m_owners->setScope(owner_store::Occupants::All, owner_store::OwnerOrder::ByNumber);
    m_owners->view()->setMaximumWidth(220);

    m_orders = new QueryListModel(orderColumns(), this);
    m_orderGrid = widgets::grid(this, "DBGrid2", m_orders);

    m_recordDate = widgets::dateEdit(this, "dtpRecordDate");
    m_recordDate->setDate(context.clock->today());
    m_sendDept = widgets::lineEdit(this, "DBEdit2", "serveorder", "send_dept");
    m_receDept = widgets::lineEdit(this, "DBEdit4", "serveorder", "rece_dept");
    m_orderTime = widgets::lineEdit(this, "DBEdit5", "serveorder", "order_time");
    m_custWrite = widgets::lineEdit(this, "DBEdit13", "serveorder", "cust_write");
    m_linkTel = widgets::lineEdit(this, "DBEdit8", "serveorder", "link_tel");
    m_recorder = widgets::lineEdit(this, "DBEdit6", "serveorder", "recorder");
    m_takeMoney = widgets::numberEdit(this, "DBEdit10");
    m_takeStand = widgets::lineEdit(this, "DBEdit9", "serveorder", "take_stand");
    m_serverItem = widgets::memo(this, "DBMemo2", "serveorder", "server_item");
    m_remark = widgets::memo(this, "DBMemo1", "serveorder", "remark");
    for (QPlainTextEdit* memo : {m_serverItem, m_remark})
        memo->setFixedHeight(56);
    m_editors = new EditorSet(this);
    m_editors->add({m_recordDate, m_sendDept, m_receDept, m_orderTime, m_custWrite, m_linkTel, m_recorder,
                    m_takeMoney, m_takeStand, m_serverItem, m_remark});

    auto* boxes = new QGridLayout;
    const auto place = [&](int row, int pair, const QString& label, QWidget* editor, int span = 1) {
        boxes->addWidget(new QLabel(label, this), row, pair * 2);
        boxes->addWidget(editor, row, pair * 2 + 1, 1, span * 2 - 1);
    };
    place(0, 0, QStringLiteral("记录日期"), m_recordDate);
    place(0, 1, QStringLiteral("预约时间"), m_orderTime);
    place(1, 0, QStringLiteral("发单部门"), m_sendDept);
    place(1, 1, QStringLiteral("收单部门"), m_receDept);
    place(2, 0, QStringLiteral("收费标准"), m_takeStand);
    place(2, 1, QStringLiteral("费用"), m_takeMoney);
    place(3, 0, QStringLiteral("记录人"), m_recorder);
    place(3, 1, QStringLiteral("联系电话"), m_linkTel);
    place(4, 0, QStringLiteral("客户签名"), m_custWrite, 2);
    place(5, 0, QStringLiteral("服务内容"), m_serverItem, 2);
    place(6, 0, QStringLiteral("备注"), m_remark, 2);

    m_add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a."));
    m_remove = widgets::button(this, "btnDel", QStringLiteral("删除 &d."));
    m_save = widgets::button(this, "btnSave", QStringLiteral("保存 &s."));
    auto* close = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));

    auto* right = new QVBoxLayout;
    right->addLayout(boxes);
    right->addWidget(m_orderGrid, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_owners->view());
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(widgets::buttonRow({m_add, m_remove, m_save, close}));

    m_form = new RowForm(context, m_orderGrid, m_orders, QStringLiteral("id"),
                         {[this] { return service_order_store::ofOwner(m_ownerId); },
                          [this](int row) { orderShown(row); },
                          // Typing on an empty list is stored by Save alone.
                          [this] { return m_shown != Shown::None && m_editors->isModified(); },
                          [this] { return storeShown(); }});

    connect(m_add, &QPushButton::clicked, this, &ServiceOrdersScreen::add);
    connect(m_save, &QPushButton::clicked, this, &ServiceOrdersScreen::save);
    connect(m_remove, &QPushButton::clicked, this, &ServiceOrdersScreen::removeCurrent);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    run([&] { m_owners->reload(); });
    connect(m_owners->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectOwner(m_owners->ownerIdAt(current.row())); });
    selectOwner(m_owners->currentOwnerId());
}

void ServiceOrdersScreen::updateButtons()
{
    // Nothing is stored without the owner it belongs to.
    m_add->setEnabled(canWrite() && m_ownerId != 0);
    m_save->setEnabled(canWrite() && m_ownerId != 0);
    m_remove->setEnabled(canWrite());
}

void ServiceOrdersScreen::selectOwner(qlonglong ownerId)
{
    // What was typed for the owner shown is stored first; when that is refused
    // the list goes back to that owner.
    if (!m_form->storeIfModified()) {
        QTimer::singleShot(0, this, [this] {
            const QSignalBlocker blocker(m_owners->view()->selectionModel());
            m_owners->select(m_ownerId);
            m_owners->view()->viewport()->update();
        });
        return;
    }
    m_ownerId = ownerId;
    updateButtons();
    // The owner's latest order is shown.
    qlonglong latest = 0;
    if (m_ownerId != 0)
        run([&] { latest = service_order_store::latestOf(db(), m_ownerId); });
    m_form->reload(latest ? QVariant(latest) : QVariant());
}

void ServiceOrdersScreen::clearBoxes()
{
    for (QLineEdit* box :
         {m_sendDept, m_receDept, m_orderTime, m_custWrite, m_linkTel, m_recorder, m_takeMoney, m_takeStand})
        box->clear();
    m_serverItem->clear();
    m_remark->clear();
}

void ServiceOrdersScreen::orderShown(int row)
{
    {
        const EditorSet::Loading loading(*m_editors);
        if (row < 0) {
            // An empty list: empty boxes; the date stays as it was.
            m_shown = Shown::None;
            m_shownId = 0;
            clearBoxes();
        } else if (m_orders->isNewRow(row)) {
            m_shown = Shown::New;
            m_shownId = 0;
            clearBoxes();
            m_recordDate->setDate(context().clock->today());
        } else {
            m_shown = Shown::Stored;
            m_shownId = m_form->keyAt(row).toLongLong();
            run([&] {
                const std::optional<ServiceOrder> o = service_order_store::load(db(), m_shownId);
                if (!o) {
                    clearBoxes();
                    return;
                }
                widgets::setDate(m_recordDate, o->recordDate);
                m_sendDept->setText(o->sendDept);
                m_receDept->setText(o->receDept);
                m_orderTime->setText(o->orderTime);
                m_custWrite->setText(o->custWrite);
                m_linkTel->setText(o->linkTel);
                m_recorder->setText(o->recorder);
                m_takeMoney->setText(o->takeMoney ? o->takeMoney->toString(2) : QString());
                m_takeStand->setText(o->takeStand);
                m_serverItem->setPlainText(o->serverItem);
                m_remark->setPlainText(o->remark);
            });
        }
    }
    m_editors->setModified(false);
    // Browsing never writes; without an owner there is nothing to type for.
    m_editors->setReadOnly(!canWrite() || m_ownerId == 0);
}

bool ServiceOrdersScreen::storeShown()
{
    m_stored = 0;
    if (!canWrite() || m_ownerId == 0)
        return true;
    ServiceOrderInput input;
    input.id = m_shown == Shown::Stored ? m_shownId : 0;
    input.ownerId = m_ownerId;
    input.recordDate = widgets::dateOf(m_recordDate);
    input.sendDept = m_sendDept->text();
    input.receDept = m_receDept->text();
    input.orderTime = m_orderTime->text();
    input.custWrite = m_custWrite->text();
    input.linkTel = m_linkTel->text();
    input.recorder = m_recorder->text();
    input.takeMoney = m_takeMoney->text();
    input.takeStand = m_takeStand->text();
    input.serverItem = m_serverItem->toPlainText();
    input.remark = m_remark->toPlainText();
    try {
        const Checked<qlonglong> result = service_order_store::save(db(), input);
        if (!result.ok()) {
            messages().information(result.refusal().text);
            return false;
        }
        m_stored = result.value();
    } catch (const DbError& e) {
        if (e.kind() != DbError::Kind::RecordGone)
            throw;
        // What was typed has no order left to go to: say so and show the list as
        // it now stands.
        messages().error(e.text(), {}, e.detail());
        m_stored = 0;
    }
    m_editors->setModified(false);
    return true;
}

void ServiceOrdersScreen::add()
{
    if (!m_add->isEnabled())
        return;
    if (m_form->addNewRow())
        m_sendDept->setFocus();
}

void ServiceOrdersScreen::save()
{
    // The order shown is stored, changed or not; on an empty list the boxes make
    // a new order. The list then stands on the order stored.
    if (!m_save->isEnabled())
        return;
    m_form->storeAndReload([this] { return m_stored ? QVariant(m_stored) : QVariant(); });
}

void ServiceOrdersScreen::removeCurrent()
{
    // The order goes at once: the office's screen asks nothing.
    if (!m_remove->isEnabled())
        return;
    m_form->removeCurrent(QString(), [this](const QVariant& key) {
        service_order_store::remove(db(), key.toLongLong());
        return Done{};
    });
}

void ServiceOrdersScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}
