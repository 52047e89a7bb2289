#pragma once

#include "db/ListQuery.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QVariantList>

#include <functional>

// A list read from the database for the grids of the screens: the columns of a
// ListColumn description over the rows of a ListQuery.
//
// No statement stays open on the shared connection: a statement left open would
// keep this copy on an old snapshot of the file and make its next write fail as
// locked. A list of ordinary size is read to its end when it loads. A list that
// may hold a million rows (setPageSize) is read a page at a time as the view
// scrolls: each page is a statement of its own that continues after the last row
// read, by the list's order keys, and is finished before the next page.
//
// Values show as the office reads them: texts trimmed, decimal(p,2) columns (kept
// as hundredths) as "12.50", dates as "yyyy-MM-dd"; numbers are aligned right.
//
// A screen may let the operator type into some columns, and append one new row
// at the end: those edits stay in the model until the screen stores them and
// reloads the list.
class QueryListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using Column = ListColumn;
    using Kind = ListColumn::Kind;

    explicit QueryListModel(QList<ListColumn> columns, QObject* parent = nullptr);

    const QList<ListColumn>& columns() const { return m_columns; }
    int columnOf(const QString& field) const;

    // Narrows which cells of the editable columns take input, row by row (a
    // protected record keeps some of its values).
    void setCellEditable(std::function<bool(int row, int column)> editable)
    {
        m_cellEditable = std::move(editable);
    }

    // Read in pages of `rows` rows as the view asks for them; 0 (the default)
    // reads the whole list when it loads.
    void setPageSize(int rows) { m_pageSize = rows; }

    // Reads the rows of `query`. Throws DbError. The edits and the new row are dropped.
    void load(const QSqlDatabase& db, const ListQuery& query);
    // Reads the last query again.
    void reload();
    // Empties the list, as when nothing is chosen to list.
    void clear();
    const ListQuery& query() const { return m_query; }

    // The stored value of a field (with the operator's edits), untrimmed and unformatted.
    QVariant value(int row, const QString& field) const;
    // The first row whose field equals `key` (as text), reading further pages when
    // needed; -1 when no row has it.
    int findRow(const QString& field, const QVariant& key);

    // A new, empty row at the end of the list (the whole list is read first);
    // returns its row. At most one.
    int appendNewRow();
    bool hasNewRow() const { return m_hasNewRow; }
    bool isNewRow(int row) const { return m_hasNewRow && row == storedRowCount(); }
    // The rows read from the database, without the new row.
    int storedRowCount() const { return static_cast<int>(m_rows.size()); }
    // Whether the operator changed a stored row in the grid.
    bool isEdited(int row) const { return m_edits.contains(row); }
    // Whether the list holds anything typed that reading it again would drop: an
    // edited row or the new row.
    bool hasTypedValues() const { return m_hasNewRow || !m_edits.isEmpty(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

private:
    // Reads a page (or every row), after the row `after` when given.
    QList<QVariantList> readRows(const QVariantList* after) const;
    QVariant rawValue(int row, int column) const;
    bool isTyped(int row, int column) const;
    bool isCell(const QModelIndex& index) const;

    QList<ListColumn> m_columns;
    QSqlDatabase m_db;
    ListQuery m_query;
    int m_pageSize = 0;
    bool m_complete = true;                   // every row of the query is read
    QList<QVariantList> m_rows;               // per row: the columns' values, then the order keys
    QHash<int, QHash<int, QVariant>> m_edits; // row → column → typed value
    QHash<int, QVariant> m_newRow;            // column → typed value
    bool m_hasNewRow = false;
    bool m_fetching = false;
    std::function<bool(int row, int column)> m_cellEditable;
};
