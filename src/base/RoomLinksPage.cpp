#include "base/RoomLinksPage.h"

#include "app/WidgetFactory.h"
#include "base/OwnerDetails.h"
#include "db/QueryListModel.h"
#include "db/Schema.h"
#include "db/Sql.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Grid editors limited to the size of their column. The delegate knows the
// editor open at the moment, so that Save can take the text still being typed;
// Esc in the editor leaves the cell as it was.
class LinkDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const char* column = index.column() == 1 ? "room_id" : "relation_desc";
            line->setMaxLength(schema::maxLength(QStringLiteral("owner_rooms"), QString::fromLatin1(column)));
        }
        m_open = editor;
        return editor;
    }

    QWidget* openEditor() const { return m_open; }

private:
    mutable QPointer<QWidget> m_open;
};

} // namespace

RoomLinksPage::RoomLinksPage(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    using K = QueryListModel::Kind;
    m_model = new QueryListModel(
        {
            {QStringLiteral("ownerroom_id"), QString(), K::Number},
            {QStringLiteral("room_id"), QStringLiteral("房号"), K::Text, canWrite()},
            {QStringLiteral("relation_desc"), QStringLiteral("备注"), K::Text, canWrite()},
        },
        this);
    m_grid = widgets::grid(this, "dbgRelation", m_model);
    m_grid->setItemDelegate(new LinkDelegate(m_grid));
    if (canWrite()) {
        m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
        m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    }

    auto* add = widgets::button(this, "btnAddRoom", QStringLiteral("增加 &a"));
    auto* saveButton = widgets::button(this, "btnSaveRoom", QStringLiteral("保存 &s."));
    auto* remove = widgets::button(this, "btnDelRoom", QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, "btnCancel2", QStringLiteral("退出 &e."));
    m_writeButtons = {add, saveButton, remove};
    setWritable();
    auto* buttons = widgets::buttonRow({add, saveButton, remove, close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    // Leaving a typed row stores it, as a form bound to its rows would. The list is
    // reloaded once the view has finished the click or key that moved it.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (!previous.isValid() || current.row() == previous.row() ||
                    !(m_model->isEdited(previous.row()) || m_model->isNewRow(previous.row())))
                    return;
                const qlonglong key =
                    current.isValid()
                        ? m_model->value(current.row(), QStringLiteral("ownerroom_id")).toLongLong()
                        : 0;
                if (storeEdits())
                    QTimer::singleShot(0, this, [this, key] { reload(key); });
            });
    connect(add, &QPushButton::clicked, this, &RoomLinksPage::addLink);
    connect(saveButton, &QPushButton::clicked, this, &RoomLinksPage::store);
    connect(remove, &QPushButton::clicked, this, &RoomLinksPage::removeCurrent);
    connect(close, &QPushButton::clicked, this, &RoomLinksPage::closeRequested);
}

int RoomLinksPage::storedCount() const
{
    return m_model->rowCount() - (m_model->hasNewRow() ? 1 : 0);
}

void RoomLinksPage::setWritable()
{
    // Nothing can be added for no owner.
    for (QPushButton* b : m_writeButtons)
        b->setEnabled(canWrite() && m_ownerId != 0);
}

bool RoomLinksPage::setOwner(qlonglong ownerId)
{
    if (!storeEdits())
        return false;
    m_ownerId = ownerId;
    setWritable();
    reload(0);
    return true;
}

bool RoomLinksPage::store()
{
    const int row = widgets::currentRow(m_grid);
    const qlonglong key = row < 0 ? 0 : m_model->value(row, QStringLiteral("ownerroom_id")).toLongLong();
    if (!storeEdits())
        return false;
    reload(key);
    return true;
}

void RoomLinksPage::commitOpenEditor()
{
    // An editor closed with Esc is hidden until it goes: only a shown one counts.
    auto* delegate = static_cast<LinkDelegate*>(m_grid->itemDelegate());
    QWidget* editor = delegate->openEditor();
    if (editor && editor->isVisible())
        QMetaObject::invokeMethod(m_grid, "commitData", Q_ARG(QWidget*, editor));
}

void RoomLinksPage::reload(qlonglong selectId)
{
    run([&] {
        m_model->load(db(), QStringLiteral("from owner_rooms where owner_id = ? order by ownerroom_id"),
                      {m_ownerId});
        const int row = selectId ? m_model->findRow(QStringLiteral("ownerroom_id"), selectId) : 0;
        widgets::selectRow(m_grid, row < 0 ? 0 : row);
    });
}

bool RoomLinksPage::storeEdits()
{
    commitOpenEditor();
    QStringList stored;
    const bool ok = run([&] {
        Transaction transaction(db());
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const bool isNew = m_model->isNewRow(row);
            if (!isNew && !m_model->isEdited(row))
                continue;
            const QString roomId = m_model->value(row, QStringLiteral("room_id")).toString().trimmed();
            const QString remark = m_model->value(row, QStringLiteral("relation_desc")).toString().trimmed();
            if (isNew && roomId.isEmpty() && remark.isEmpty())
                continue; // nothing typed
            if (isNew)
                owner_details::addRoomLink(db(), m_ownerId, roomId, remark);
            else
                owner_details::updateRoomLink(
                    db(), m_model->value(row, QStringLiteral("ownerroom_id")).toLongLong(), roomId, remark);
            stored << roomId;
        }
        transaction.commit();
    });
    if (!ok)
        return false;
    run([&] {
        for (const QString& roomId : stored) {
            if (!owner_details::roomExists(db(), roomId))
                messages().information(u"房号" + roomId + u"不存在，请确认!");
        }
    });
    return true;
}

void RoomLinksPage::addLink()
{
    // A link typed before is stored first, as a new row posts the one before it.
    if (m_model->hasNewRow() || m_grid->model()->rowCount() > 0) {
        if (!store())
            return;
    }
    const int row = m_model->appendNewRow();
    const QModelIndex cell = m_model->index(row, 1);
    m_grid->setCurrentIndex(cell);
    if (m_grid->isVisible()) {
        m_grid->setFocus();
        m_grid->edit(cell);
    }
}

void RoomLinksPage::removeCurrent()
{
    const int row = widgets::currentRow(m_grid);
    if (row < 0)
        return;
    if (!confirmDelete())
        return;
    if (m_model->isNewRow(row)) {
        reload(0);
        return;
    }
    run([&] {
        sql::remove(db(), QStringLiteral("owner_rooms"), QStringLiteral("ownerroom_id"),
                    m_model->value(row, QStringLiteral("ownerroom_id")));
        reload(0);
    });
}
