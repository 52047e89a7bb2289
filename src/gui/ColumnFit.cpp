#include "gui/ColumnFit.h"

#include "db/QueryListModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScopedValueRollback>
#include <QTableView>
#include <QToolTip>

#include <algorithm>

ColumnFit::ColumnFit(QTableView* view) : QObject(view), m_view(view), m_viewport(view->viewport())
{
}

ColumnFit* ColumnFit::install(QTableView* view)
{
    auto* fit = new ColumnFit(view);
    QHeaderView* header = view->horizontalHeader();
    header->setStretchLastSection(false);
    fit->m_viewport->installEventFilter(fit);
    QAbstractItemModel* model = view->model();
    // A list read again (or its first rows read) may hold other values.
    const auto refit = [fit] {
        fit->m_byHand = false;
        fit->fit();
    };
    connect(model, &QAbstractItemModel::modelReset, fit, refit);
    connect(model, &QAbstractItemModel::layoutChanged, fit, refit);
    connect(header, &QHeaderView::sectionResized, fit, [fit] {
        if (!fit->m_fitting)
            fit->m_byHand = true;
    });
    fit->fit();
    return fit;
}

ColumnFit* ColumnFit::of(const QTableView* view)
{
    return view->findChild<ColumnFit*>(QString(), Qt::FindDirectChildrenOnly);
}

void ColumnFit::setMinimumWidth(int column, int width)
{
    m_minimum.insert(column, width);
    fit();
}

bool ColumnFit::isText(int column) const
{
    if (const auto* list = qobject_cast<const QueryListModel*>(m_view->model()))
        return list->columns().value(column).kind == ListColumn::Kind::Text;
    // Another model: what it aligns right is a number.
    const QVariant alignment = m_view->model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole);
    return !(alignment.isValid() && (alignment.toInt() & Qt::AlignRight));
}

void ColumnFit::fit()
{
    const QScopedValueRollback fitting(m_fitting, true);
    QAbstractItemModel* model = m_view->model();
    QHeaderView* header = m_view->horizontalHeader();

    struct Column
    {
        int column;
        int natural; // the widest value or the title
        int least;   // a text is cut no narrower than its title
    };
    QList<Column> texts;
    int room = m_view->viewport()->width();
    int lastShown = -1;
    for (int column = 0; column < model->columnCount(); ++column) {
        const bool untitled = model->headerData(column, Qt::Horizontal).toString().isEmpty();
        m_view->setColumnHidden(column, untitled);
        if (untitled)
            continue;
        lastShown = column;
        const int title = std::max(header->sectionSizeHint(column), header->minimumSectionSize());
        const int least = std::max(title, m_minimum.value(column));
        // (Public on the item view, which the table view narrows.)
        const int content = static_cast<const QAbstractItemView*>(m_view)->sizeHintForColumn(column);
        const int natural = std::max(content, least);
        if (isText(column)) {
            texts.append({column, natural, least});
        } else {
            m_view->setColumnWidth(column, natural);
            room -= natural;
        }
    }
    // The narrow texts whole, the wide ones an equal share of what is left.
    std::sort(texts.begin(), texts.end(),
              [](const Column& a, const Column& b) { return a.natural < b.natural; });
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const int share = room / static_cast<int>(texts.size() - i);
        const int width = texts[i].natural <= share ? texts[i].natural : std::max(texts[i].least, share);
        m_view->setColumnWidth(texts[i].column, width);
        room -= width;
    }
    if (room > 0 && lastShown >= 0)
        m_view->setColumnWidth(lastShown, m_view->columnWidth(lastShown) + room);
    m_fittedWidth = m_view->viewport()->width();
}

bool ColumnFit::showToolTip(QEvent* event)
{
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_view->indexAt(help->pos());
    if (index.data(Qt::ToolTipRole).isValid())
        return false; // the model's own tooltip
    const QRect cell = m_view->visualRect(index);
    // A value the cell shows cut is shown whole over it.
    if (index.isValid() && m_view->sizeHintForIndex(index).width() > cell.width()) {
        const QString text = index.data(Qt::DisplayRole).toString();
        QToolTip::showText(help->globalPos(), text, m_view->viewport(), cell);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

bool ColumnFit::eventFilter(QObject* watched, QEvent* event)
{
    // The viewport is compared as it was kept: while the grid is being destroyed
    // its viewport still sends events, and the grid is no grid any more.
    if (watched != m_viewport)
        return false;
    if (event->type() == QEvent::Resize && !m_fitting && !m_byHand && m_viewport->width() != m_fittedWidth)
        fit();
    else if (event->type() == QEvent::ToolTip)
        return showToolTip(event);
    return false;
}
