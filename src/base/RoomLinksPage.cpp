#include "base/RoomLinksPage.h"

#include "app/WidgetFactory.h"
#include "base/Room.h"
#include "base/RoomLink.h"
#include "db/QueryListModel.h"
#include "db/Schema.h"
#include "gui/RowForm.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
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

const QString kKey = QStringLiteral("ownerroom_id");

} // namespace

RoomLinksPage::RoomLinksPage(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    using K = ListColumn::Kind;
    m_model = new QueryListModel(
        {
            {kKey, QString(), K::Number},
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
    // The grid's cells are the editors: leaving a typed row stores it.
    m_form = new RowForm(context, m_grid, m_model, kKey,
                         {[this] { return room_link_store::list(m_ownerId); },
                          {},
                          [this] { return isModified(); },
                          [this] { return storeEdits(); }});

    auto* add = widgets::button(this, "btnAddRoom", QStringLiteral("增加 &a"));
    auto* saveButton = widgets::button(this, "btnSaveRoom", QStringLiteral("保存 &s."));
    auto* remove = widgets::button(this, "btnDelRoom", QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, "btnCancel2", QStringLiteral("退出 &e."));
    m_writeButtons = {add, saveButton, remove};
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(widgets::buttonRow({add, saveButton, remove, close}));

    connect(add, &QPushButton::clicked, this, &RoomLinksPage::addLink);
    connect(saveButton, &QPushButton::clicked, this, &RoomLinksPage::store);
    connect(remove, &QPushButton::clicked, this, &RoomLinksPage::removeCurrent);
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
}

int RoomLinksPage::storedCount() const
{
    return m_model->storedRowCount();
}

bool RoomLinksPage::setOwner(qlonglong ownerId)
{
    commitOpenEditor();
    if (!m_form->storeIfModified())
        return false;
    m_ownerId = ownerId;
    // Nothing can be added for no owner.
    for (QPushButton* b : m_writeButtons)
        b->setEnabled(canWrite() && m_ownerId != 0);
    m_form->reload();
    return true;
}

bool RoomLinksPage::store()
{
    commitOpenEditor();
    const QVariant key = m_form->keyAt(m_form->currentRow());
    return m_form->storeAndReload([key] { return key; });
}

void RoomLinksPage::commitOpenEditor()
{
    // An editor closed with Esc is hidden until it goes: only a shown one counts.
    auto* delegate = static_cast<LinkDelegate*>(m_grid->itemDelegate());
    QWidget* editor = delegate->openEditor();
    if (editor && editor->isVisible())
        QMetaObject::invokeMethod(m_grid, "commitData", Q_ARG(QWidget*, editor));
}

bool RoomLinksPage::isModified() const
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->isEdited(row) || m_model->isNewRow(row))
            return true;
    }
    return false;
}

bool RoomLinksPage::storeEdits()
{
    QList<RoomLink> links;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const bool isNew = m_model->isNewRow(row);
        if (!isNew && !m_model->isEdited(row))
            continue;
        RoomLink link;
        link.id = isNew ? 0 : m_model->value(row, kKey).toLongLong();
        link.roomId = m_model->value(row, QStringLiteral("room_id")).toString().trimmed();
        link.remark = m_model->value(row, QStringLiteral("relation_desc")).toString().trimmed();
        if (isNew && link.roomId.isEmpty() && link.remark.isEmpty())
            continue; // nothing typed
        links << link;
    }
    for (const QString& roomId : room_link_store::store(db(), m_ownerId, links)) {
        if (!room_store::exists(db(), roomId))
            messages().information(u"房号" + roomId + u"不存在，请确认!");
    }
    return true;
}

void RoomLinksPage::addLink()
{
    // A link typed before is stored first, as a new row posts the one before it.
    commitOpenEditor();
    if (!m_form->addNewRow())
        return;
    const QModelIndex cell = m_model->index(m_form->currentRow(), 1);
    m_grid->setCurrentIndex(cell);
    if (m_grid->isVisible()) {
        m_grid->setFocus();
        m_grid->edit(cell);
    }
}

void RoomLinksPage::removeCurrent()
{
    const int row = m_form->currentRow();
    if (row < 0)
        return;
    if (!confirmDelete())
        return;
    if (m_form->isNewRow(row)) {
        m_form->reload();
        return;
    }
    run([&] { room_link_store::remove(db(), m_form->keyAt(row).toLongLong()); });
    m_form->reload();
}
