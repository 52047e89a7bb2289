#include "db/QueryListModel.h"

#include "core/Decimal2.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <QDebug>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSqlQuery>
#include <QSqlRecord>

#include <utility>

namespace {

// An order expression without its direction, and whether it runs downwards.
std::pair<QString, bool> orderKey(const QString& expression)
{
    static const QRegularExpression direction(QStringLiteral("\\s+(asc|desc)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = direction.match(expression);
    if (!m.hasMatch())
        return {expression.trimmed(), false};
    return {expression.left(m.capturedStart()).trimmed(),
            m.captured(1).compare(u"desc", Qt::CaseInsensitive) == 0};
}

bool isIdentifier(const QString& field)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(field).hasMatch();
}

} // namespace

bool QueryListModel::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           index.row() < rowCount() && index.column() < columnCount();
}

QueryListModel::QueryListModel(QList<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
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

void QueryListModel::load(const QSqlDatabase& db, const ListQuery& query)
{
    // A statement the database refuses leaves the list as it was, with its query.
    const QSqlDatabase previousDb = std::exchange(m_db, db);
    const ListQuery previous = std::exchange(m_query, query);
    try {
        reload();
    } catch (const DbError&) {
        m_db = previousDb;
        m_query = previous;
        throw;
    }
}

void QueryListModel::reload()
{
    if (!m_query.isValid())
        return;
    QList<QVariantList> rows = readRows(nullptr); // throws before anything changed
    beginResetModel();
    m_rows = std::move(rows);
    m_complete = m_pageSize <= 0 || m_rows.size() < m_pageSize;
    m_edits.clear();
    m_newRow.clear();
    m_hasNewRow = false;
    // Whoever hears of the reset reads the list as it stands; the next page comes
    // when the view asks for it afterwards.
    const QScopedValueRollback fetching(m_fetching, true);
    endResetModel();
}

void QueryListModel::clear()
{
    beginResetModel();
    m_query = {};
    m_rows.clear();
    m_complete = true;
    m_edits.clear();
    m_newRow.clear();
    m_hasNewRow = false;
    endResetModel();
}

QList<QVariantList> QueryListModel::readRows(const QVariantList* after) const
{
    QStringList selected;
    for (const ListColumn& c : m_columns)
        selected << (isIdentifier(c.field) ? u'"' + c.field + u'"' : c.field);

    ListQuery page = m_query;
    if (m_pageSize > 0) {
        // The order keys are read too, so that the next page can continue after
        // the last row: (k1 > ?) or (k1 = ? and k2 > ?) or ...
        QStringList keys;
        QList<bool> descending;
        for (const QString& expression : m_query.orderBy) {
            const auto [key, down] = orderKey(expression);
            keys << key;
            descending << down;
        }
        selected << keys;
        if (after) {
            const QVariantList& last = *after;
            const int first = m_columns.size();
            QStringList alternatives;
            QVariantList values;
            for (int k = 0; k < keys.size(); ++k) {
                QStringList terms;
                for (int e = 0; e < k; ++e) {
                    terms << keys[e] + u" = ?";
                    values << last.value(first + e);
                }
                terms << keys[k] + (descending[k] ? u" < ?" : u" > ?");
                values << last.value(first + k);
                alternatives << u'(' + terms.join(u" and ") + u')';
            }
            const QString continuation = u'(' + alternatives.join(u" or ") + u')';
            page.where = page.where.isEmpty() ? continuation : u"(" + page.where + u") and " + continuation;
            page.values << values;
        }
    }
    QString statement = page.statement(selected);
    if (m_pageSize > 0)
        statement += u" limit " + QString::number(m_pageSize);

    QSqlQuery q = sql::exec(m_db, statement, page.values);
    const int width = static_cast<int>(selected.size());
    QList<QVariantList> rows;
    if (m_pageSize > 0)
        rows.reserve(m_pageSize);
    while (q.next()) {
        QVariantList row;
        row.reserve(width);
        for (int c = 0; c < width; ++c)
            row << q.value(c);
        rows << std::move(row);
    }
    return rows;
}

bool QueryListModel::canFetchMore(const QModelIndex& parent) const
{
    // Not while a page is being added: views and testers ask again from within.
    return !parent.isValid() && !m_complete && !m_fetching;
}

void QueryListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    QList<QVariantList> rows;
    try {
        rows = readRows(m_rows.isEmpty() ? nullptr : &m_rows.last());
    } catch (const DbError& e) {
        // The view asked for more rows while painting: there is no action to
        // abandon. The list ends here; the next reload reads it afresh.
        qWarning() << "reading more rows of a list:" << e.text();
        m_complete = true;
        return;
    }
    m_complete = rows.size() < m_pageSize;
    if (rows.isEmpty())
        return;
    const int first = storedRowCount();
    // The new row, if any, stays last.
    const QScopedValueRollback fetching(m_fetching, true);
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows << rows;
    endInsertRows();
}

QVariant QueryListModel::rawValue(int row, int column) const
{
    if (column < 0 || column >= m_columns.size() || row < 0)
        return {};
    if (isNewRow(row))
        return m_newRow.value(column);
    if (row >= storedRowCount())
        return {};
    const auto edited = m_edits.constFind(row);
    if (edited != m_edits.cend() && edited->contains(column))
        return edited->value(column);
    return m_rows[row].value(column);
}

bool QueryListModel::isTyped(int row, int column) const
{
    if (isNewRow(row))
        return m_newRow.contains(column);
    const auto edited = m_edits.constFind(row);
    return edited != m_edits.cend() && edited->contains(column);
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
    for (int row = 0;; ++row) {
        if (row == storedRowCount()) {
            if (!canFetchMore())
                return -1;
            fetchMore();
            if (row == storedRowCount())
                return -1;
        }
        if (m_rows[row].value(column).toString().trimmed() == wanted)
            return row;
    }
}

int QueryListModel::appendNewRow()
{
    while (canFetchMore())
        fetchMore();
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

int QueryListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant QueryListModel::data(const QModelIndex& index, int role) const
{
    if (!isCell(index))
        return {};
    const Kind kind = m_columns[index.column()].kind;
    if (role == Qt::TextAlignmentRole) {
        const bool number = kind == Kind::Number || kind == Kind::Decimal;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};

    const QVariant value = rawValue(index.row(), index.column());
    // A stored null is an empty cell: a server's driver gives it typed, which a
    // view would show as 0.
    if (value.isNull() && !isTyped(index.row(), index.column()))
        return {};
    // What the operator typed shows as typed.
    if (isTyped(index.row(), index.column()))
        return value;
    // A stored decimal is edited as it is shown ("2.50", not hundredths).
    if (role == Qt::EditRole && kind != Kind::Decimal)
        return value;
    switch (kind) {
    case Kind::Decimal: {
        const std::optional<Decimal2> d = Decimal2::fromDb(value);
        return d ? d->toString(2) : value.toString();
    }
    case Kind::Date:
        return value.toString().left(10);
    case Kind::Number:
        return value;
    case Kind::Text:
    case Kind::Code:
        break;
    }
    return value.toString().trimmed();
}

bool QueryListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isCell(index) || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
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
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags QueryListModel::flags(const QModelIndex& index) const
{
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_columns[index.column()].editable &&
        (!m_cellEditable || m_cellEditable(index.row(), index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}
