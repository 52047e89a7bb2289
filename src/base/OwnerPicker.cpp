#include "base/OwnerPicker.h"

#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "gui/ListRefresh.h"
#include "gui/WidgetFactory.h"

#include <QListView>
#include <QTableView>

OwnerPicker::OwnerPicker(const ScreenContext& context, QWidget* parent, const char* viewName, Shape shape,
                         const QString& title)
    : QObject(parent), m_context(context)
{
    m_model = new QueryListModel({{QStringLiteral("owner_id"), QString(), ListColumn::Kind::Number},
                                  {QStringLiteral("owner_name"), title}},
                                 this);
    if (shape == Shape::Grid) {
        m_view = widgets::grid(parent, viewName, m_model);
    } else {
        auto* list = new QListView(parent);
        list->setObjectName(QLatin1StringView(viewName));
        list->setModel(m_model);
        list->setModelColumn(1);
        list->setUniformItemSizes(true); // lays out 10,000 names without measuring each
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_view = list;
    }
    // An owner added, renamed or removed elsewhere shows at once; the owner chosen
    // stays chosen without the screen hearing of a move.
    ListRefresh::of(m_view, m_model, m_context.db, QStringLiteral("owner_id"));
}

QTableView* OwnerPicker::grid() const
{
    return qobject_cast<QTableView*>(m_view);
}

void OwnerPicker::setScope(owner_store::Occupants occupants, owner_store::OwnerOrder order)
{
    m_occupants = occupants;
    m_order = order;
}

ListQuery OwnerPicker::query() const
{
    return owner_store::list(m_occupants, m_order);
}

void OwnerPicker::reload(qlonglong id)
{
    m_model->load(m_context.db, query());
    const int row = id ? m_model->findRow(QStringLiteral("owner_id"), id) : 0;
    widgets::selectRow(m_view, row < 0 ? 0 : row);
}

qlonglong OwnerPicker::ownerIdAt(int row) const
{
    return row < 0 || m_model->isNewRow(row) ? 0
                                             : m_model->value(row, QStringLiteral("owner_id")).toLongLong();
}

qlonglong OwnerPicker::currentOwnerId() const
{
    return ownerIdAt(widgets::currentRow(m_view));
}

bool OwnerPicker::select(qlonglong id)
{
    const int row = m_model->findRow(QStringLiteral("owner_id"), id);
    if (row < 0)
        return false;
    widgets::selectRow(m_view, row);
    return true;
}

void OwnerPicker::search(const QString& prompt)
{
    Messages& messages = *m_context.messages;
    const QString text = messages.askText(QStringLiteral("住户名称查询"), prompt).value_or(QString());
    runAction(messages, [&] {
        const Checked<std::optional<qlonglong>> found =
            owner_store::findByName(m_context.db, text, m_occupants);
        if (!found.ok())
            messages.information(found.refusal().text);
        else if (found.value())
            select(*found.value());
    });
}
