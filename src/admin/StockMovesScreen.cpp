#include "admin/StockMovesScreen.h"

#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

namespace {

enum Button { Excel, Query, Add, Remove, Save, Exit };

} // namespace

StockMovesScreen::StockMovesScreen(const ScreenContext& context, Parts parts, QWidget* parent)
    : Screen(context, parent), m_parts(std::move(parts))
{
    m_list = new QueryListModel(m_parts.columns, this);
    m_grid = widgets::grid(this, m_parts.gridName, m_list);
    m_editors = new EditorSet(this);
    m_buttons = {widgets::button(this, m_parts.excelName, QStringLiteral("Excel")),
                 widgets::button(this, m_parts.queryName, QStringLiteral("查询")),
                 widgets::button(this, m_parts.addName, QStringLiteral("增加")),
                 widgets::button(this, m_parts.removeName, QStringLiteral("删除")),
                 widgets::button(this, m_parts.saveName, QStringLiteral("保存")),
                 widgets::button(this, m_parts.exitName, QStringLiteral("退出"))};
    // Browsing never writes.
    for (int b : {Add, Remove, Save})
        m_buttons[b]->setEnabled(canWrite());
    m_editors->setReadOnly(!canWrite());

    // The boxes edit the record the list stands on: leaving it changed saves it,
    // with its stock move.
    m_form = new RowForm(context, m_grid, m_list, m_parts.keyField,
                         {[this] { return listQuery(m_kept); }, [this](int row) { rowShown(row); },
                          [this] { return m_editors->isModified(); }, [this] { return store(); }});
    connect(m_buttons[Excel], &QPushButton::clicked, this, [this] {
        if (saveIfModified())
            exportRecords();
    });
    connect(m_buttons[Query], &QPushButton::clicked, this, [this] {
        if (saveIfModified())
            query();
    });
    connect(m_buttons[Add], &QPushButton::clicked, this, &StockMovesScreen::add);
    connect(m_buttons[Save], &QPushButton::clicked, this, &StockMovesScreen::save);
    connect(m_buttons[Remove], &QPushButton::clicked, this, &StockMovesScreen::remove);
    connect(m_buttons[Exit], &QPushButton::clicked, this, &QWidget::close);
}

QHBoxLayout* StockMovesScreen::buttonRow() const
{
    return widgets::buttonRow({m_buttons[Excel], m_buttons[Query], m_buttons[Add], m_buttons[Remove],
                               m_buttons[Save], m_buttons[Exit]});
}

void StockMovesScreen::putListAfter(QWidget* box)
{
    QWidget* previous = box;
    for (QWidget* next : QList<QWidget*>{m_grid} + QList<QWidget*>(m_buttons.begin(), m_buttons.end())) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void StockMovesScreen::begin()
{
    m_form->reload();
}

void StockMovesScreen::listAnew()
{
    m_kept.clear();
    m_form->reload();
    m_grid->setEnabled(true);
}

void StockMovesScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void StockMovesScreen::rowShown(int row)
{
    m_shownId = row >= 0 && !m_form->isNewRow(row) ? m_form->keyAt(row).toLongLong() : 0;
    {
        const EditorSet::Loading loading(*m_editors);
        showRecord(m_shownId, m_form->isNewRow(row));
    }
    m_editors->setModified(false);
    showStock();
}

bool StockMovesScreen::store()
{
    if (!canWrite())
        return true;
    const Checked<qlonglong> saved = storeRecord(m_shownId);
    if (!saved.ok()) {
        refuse(saved.refusal());
        showStock(); // what the stock holds now
        return false;
    }
    m_shownId = saved.value();
    // A record stored here stays listed until the next query.
    if (!m_kept.contains(m_shownId))
        m_kept << m_shownId;
    m_editors->setModified(false);
    return true;
}

void StockMovesScreen::add()
{
    if (!canWrite() || !m_form->addNewRow())
        return;
    if (m_parts.listWaitsForNew)
        m_grid->setEnabled(false);
    if (m_firstBox)
        m_firstBox->setFocus();
}

void StockMovesScreen::save()
{
    if (!canWrite() || m_form->currentRow() < 0)
        return;
    if (m_form->storeAndReload([this] { return QVariant(m_shownId); }))
        m_grid->setEnabled(true);
}

bool StockMovesScreen::saveIfModified()
{
    if (!m_editors->isModified())
        return true;
    if (!m_form->storeAndReload([this] { return QVariant(m_shownId); }))
        return false;
    m_grid->setEnabled(true);
    return true;
}

void StockMovesScreen::remove()
{
    if (!canWrite())
        return;
    if (m_list->rowCount() == 0) {
        messages().information(QStringLiteral("数据已空，无法删除！"));
        return;
    }
    if (m_form->currentRow() < 0 || !messages().confirm(QStringLiteral("确实要删除此记录吗？"),
                                                        QStringLiteral("提醒"), Messages::Buttons::YesNo))
        return;
    // A new record is only dropped; a stored one moves its stock back as it goes.
    m_form->removeCurrent({}, [this](const QVariant& key) {
        removeRecord(key.toLongLong());
        return Checked<>(Done{});
    });
    m_grid->setEnabled(true);
}
