#pragma once

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>

class QTableView;

// A grid the operator types into: a cell is edited in place (by typing, a double
// click, F2), its editor limited to the size of the column it is stored into;
// Esc leaves the cell as it was. The grid's model says which columns take input
// (a QueryListModel's editable columns).
class CellEditing : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Makes the cells of `grid` editable for the columns of `table`.
    static CellEditing* install(QTableView* grid, const QString& table);

    // Offers `values` while a cell of the column of `field` is typed into (the
    // text typed is kept as typed), and widens the column to hold the longest
    // value the column takes and the longest value offered.
    void setCompletions(const QString& field, const QStringList& values);

    // Hands the text of a cell editor still open to the model, as Save takes what
    // is being typed; an editor closed with Esc counts for nothing.
    void commitOpenEditor();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    CellEditing(QTableView* grid, QString table);

    QTableView* m_grid;
    QString m_table;
    QHash<int, QStringList> m_completions; // by column
    mutable QPointer<QWidget> m_open;
};
