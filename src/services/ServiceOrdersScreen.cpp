#include "services/ServiceOrdersScreen.h"

#include "base/OwnerPicker.h"
#include "db/DbError.h"
#include "db/LabelledColumns.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "services/ServiceOrders.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using K = ListColumn::Kind;

QList<ListColumn> orderColumns()
{
    return labelledColumns("serveorder", {{"id"},
                                          {"record_date", K::Date},
                                          {"send_dept"},
                                          {"rece_dept", {}, QStringLiteral("接收部门")},
                                          {"order_time"},
                                          {"recorder"},
                                          // The office's grid titles these two with the column's own name.
                                          {"server_item", {}, QStringLiteral("server_item")},
                                          {"link_tel"},
                                          {"take_stand"},
                                          {"take_money"},
                                          {"big_money", {}, QStringLiteral("big_money")},
                                          {"cust_write", {}, QStringLiteral("客户签字")}});
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

    // The record date is kept when the boxes are emptied: an empty list leaves it
    // as it was, a new order starts today.
    using F = ServiceOrderInput;
    m_fields.date("record_date", "dtpRecordDate", &F::recordDate)
        .keptOnClear()
        .text("order_time", "DBEdit5", &F::orderTime)
        .text("send_dept", "DBEdit2", &F::sendDept)
        .text("rece_dept", "DBEdit4", &F::receDept)
        .text("take_stand", "DBEdit9", &F::takeStand)
        .number("take_money", "DBEdit10", &F::takeMoney)
        .text("recorder", "DBEdit6", &F::recorder)
        .text("link_tel", "DBEdit8", &F::linkTel)
        .text("cust_write", "DBEdit13", &F::custWrite)
        .wide()
        .memo("server_item", "DBMemo2", &F::serverItem)
        .wide()
        .height(56)
        .memo("remark", "DBMemo1", &F::remark)
        .wide()
        .height(56);
    m_editors = new EditorSet(this);
    QLayout* boxes = m_fields.build(this, m_editors);
    form_fields::setDate(m_fields.box("record_date"), context.clock->today());

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

void ServiceOrdersScreen::orderShown(int row)
{
    {
        const EditorSet::Loading loading(*m_editors);
        if (row < 0) {
            // An empty list: empty boxes; the date stays as it was.
            m_shown = Shown::None;
            m_shownId = 0;
            m_fields.clear();
        } else if (m_orders->isNewRow(row)) {
            m_shown = Shown::New;
            m_shownId = 0;
            m_fields.clear();
            form_fields::setDate(m_fields.box("record_date"), context().clock->today());
        } else {
            m_shown = Shown::Stored;
            m_shownId = m_form->keyAt(row).toLongLong();
            run([&] {
                const std::optional<ServiceOrder> o = service_order_store::load(db(), m_shownId);
                if (o)
                    m_fields.show(service_order_store::typed(*o));
                else
                    m_fields.clear();
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
    ServiceOrderInput input = m_fields.read();
    input.id = m_shown == Shown::Stored ? m_shownId : 0;
    input.ownerId = m_ownerId;
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
        m_fields.box("send_dept")->setFocus();
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
