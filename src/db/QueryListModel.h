#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QVariantList>

// A list read from the database by a statement with bound values, for the grids
// of the screens. Every row is read when the list loads, so that no statement
// stays open on the shared connection (20,000 rooms take a few milliseconds).
// Values show as the office reads them: texts trimmed, decimal(p,2) columns
// (kept as hundredths) as "12.50", dates as "yyyy-MM-dd".
//
// A screen may let the operator type into some columns, and append one new row
// at the end: those edits stay in the model until the screen stores them and
// reloads the list.
class QueryListModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    enum class Kind { Text, Number, Decimal, Date };

    struct Column
    {
        QString field;
        QString title; // grids hide a column without a title
        Kind kind = Kind::Text;
        bool editable = false;
    };

    explicit QueryListModel(QList<Column> columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return m_columns; }
    int columnOf(const QString& field) const;

    // Runs "select <the columns> " + `rest` (from, where, order by) with bound values.
    // Throws DbError. The edits and the new row are dropped.
    void load(const QSqlDatabase& db, const QString& rest, const QVariantList& values = {});
    // Runs the last statement again.
    void reload();
    // The statement and values of the last load, for printing the same list.
    QString statement() const { return m_statement; }
    QVariantList values() const { return m_values; }

    // The stored value of a field (with the operator's edits), untrimmed and unformatted.
    QVariant value(int row, const QString& field) const;
    // The first row whose field equals `key` (as text), or -1.
    int findRow(const QString& field, const QVariant& key);
    void fetchAll();

    // A new, empty row at the end of the list; returns its row. At most one.
    int appendNewRow();
    bool hasNewRow() const { return m_hasNewRow; }
    bool isNewRow(int row) const { return m_hasNewRow && row == storedRowCount(); }
    // Whether the operator changed a stored row in the grid.
    bool isEdited(int row) const { return m_edits.contains(row); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int storedRowCount() const { return QSqlQueryModel::rowCount(); }
    QVariant rawValue(int row, int column) const;
    void clearEdits();

    QList<Column> m_columns;
    QSqlDatabase m_db;
    QString m_statement;
    QVariantList m_values;
    QHash<int, QHash<int, QVariant>> m_edits; // row → column → typed value
    QHash<int, QVariant> m_newRow;            // column → typed value
    bool m_hasNewRow = false;
};
