#include "db/QueryListModel.h"

#include "core/Decimal2.h"
#include "db/Sql.h"

#include <QStringList>

QueryListModel::QueryListModel(QList<Column> columns, QObject* parent)
    : QSqlQueryModel(parent), m_columns(std::move(columns))
{
}

int QueryListModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void QueryListModel::load(const QSqlDatabase& db, const QString& rest, const QVariantList& values)
{
    QStringList fields;
    for (const Column& c : m_columns)
        fields << u'"' + c.field + u'"';
    m_db = db;
    m_statement = u"select " + fields.join(u", ") + u' ' + rest;
    m_values = values;
    reload();
}

void QueryListModel::reload()
{
    if (m_statement.isEmpty())
        return;
    QSqlQuery query = sql::select(m_db, m_statement, m_values);
    beginResetModel();
    clearEdits();
    endResetModel();
    setQuery(std::move(query));
    // Read to the end: a statement left open would keep this copy on an old
    // snapshot of the file and make its next write fail as locked.
    fetchAll();
}

void QueryListModel::clearEdits()
{
    m_edits.clear();
    m_newRow.clear();
    m_hasNewRow = false;
}

QVariant QueryListModel::rawValue(int row, int column) const
{
    if (column < 0 || column >= m_columns.size())
        return {};
    if (isNewRow(row))
        return m_newRow.value(column);
    const auto edited = m_edits.constFind(row);
    if (edited != m_edits.cend() && edited->contains(column))
        return edited->value(column);
    return QSqlQueryModel::data(index(row, column), Qt::EditRole);
}

QVariant QueryListModel::value(int row, const QString& field) const
{
    return rawValue(row, columnOf(field));
}

int QueryListModel::findRow(const QString& field, const QVariant& key)
{
    const int column = columnOf(field);
    if (column < 0)
        return -1;
    const QString wanted = key.toString().trimmed();
    for (int row = 0; row < storedRowCount(); ++row) {
        if (QSqlQueryModel::data(index(row, column), Qt::EditRole).toString().trimmed() == wanted)
            return row;
    }
    return -1;
}

void QueryListModel::fetchAll()
{
    while (canFetchMore())
        fetchMore();
}

int QueryListModel::appendNewRow()
{
    fetchAll();
    const int row = storedRowCount();
    if (!m_hasNewRow) {
        beginInsertRows(QModelIndex(), row, row);
        m_hasNewRow = true;
        m_newRow.clear();
        endInsertRows();
    }
    return row;
}

int QueryListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return storedRowCount() + (m_hasNewRow ? 1 : 0);
}

QVariant QueryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return isNewRow(index.row()) ? QVariant() : QSqlQueryModel::data(index, role);

    const QVariant value = rawValue(index.row(), index.column());
    if (role == Qt::EditRole || value.isNull())
        return value;
    switch (m_columns[index.column()].kind) {
    case Kind::Decimal: {
        const std::optional<Decimal2> d = Decimal2::fromDb(value);
        return d ? d->toString(2) : value.toString();
    }
    case Kind::Date:
        return value.toString().left(10);
    case Kind::Number:
        return value;
    case Kind::Text:
        break;
    }
    return value.toString().trimmed();
}

bool QueryListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (isNewRow(index.row()))
        m_newRow.insert(index.column(), value);
    else
        m_edits[index.row()].insert(index.column(), value);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant QueryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns[section].title;
    return QSqlQueryModel::headerData(section, orientation, role);
}

Qt::ItemFlags QueryListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_columns[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}
