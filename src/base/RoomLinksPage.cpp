#include "base/RoomLinksPage.h"

#include "base/Room.h"
#include "base/RoomLink.h"
#include "db/QueryListModel.h"
#include "gui/CellEditing.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kKey = QStringLiteral("ownerroom_id");

} // namespace

RoomLinksPage::RoomLinksPage(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    using K = ListColumn::Kind;
    m_model = new QueryListModel(
        {
            {kKey, QString(), K::Number},
            {QStringLiteral("room_id"), QStringLiteral("房号"), K::Code, canWrite()},
            {QStringLiteral("relation_desc"), QStringLiteral("备注"), K::Text, canWrite()},
        },
        this);
    m_grid = widgets::grid(this, "dbgRelation", m_model);
    if (canWrite())
        m_cells = CellEditing::install(m_grid, QStringLiteral("owner_rooms"));
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
    offerRooms();
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
    if (m_cells)
        m_cells->commitOpenEditor();
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
    for (const QString& notice : room_link_store::store(db(), m_ownerId, links))
        messages().information(notice);
    return true;
}

void RoomLinksPage::offerRooms()
{
    // The rooms as they are now: one added meanwhile on another screen is offered too.
    if (m_cells)
        run([&] { m_cells->setCompletions(QStringLiteral("room_id"), room_store::numbers(db())); });
}

void RoomLinksPage::addLink()
{
    // A link typed before is stored first, as a new row posts the one before it.
    commitOpenEditor();
    if (!m_form->addNewRow())
        return;
    offerRooms();
    const QModelIndex cell = m_model->index(m_form->currentRow(), 1);
    m_grid->setCurrentIndex(cell);
    if (m_grid->isVisible()) {
        m_grid->setFocus();
        m_grid->edit(cell);
    }
}

void RoomLinksPage::removeCurrent()
{
    m_form->removeCurrent(QStringLiteral("确实要删除此记录吗?"), [this](const QVariant& key) {
        room_link_store::remove(db(), key.toLongLong());
        return Done{};
    });
}
