#pragma once

#include <QHash>
#include <QObject>

class QTableView;
class QWidget;

// How a grid shares its width among its columns. Numbers, dates and codes (a
// room number, a height, a telephone number) are always as wide as their widest
// value and title. Texts share what is left: a text narrower than its share is
// shown whole, the wider ones are cut to one width and end in "…", their whole
// value shown as the cell's tooltip. When everything fits, the last column takes
// the room that is left over.
//
// The columns are fitted again whenever the list is read again, and when the
// grid changes its width unless the operator has sized a column by hand.
// Columns without a title are hidden.
class ColumnFit : public QObject
{
    Q_OBJECT
public:
    static ColumnFit* install(QTableView* view);
    // The fit of a grid made by widgets::grid(), or null.
    static ColumnFit* of(const QTableView* view);

    // A column is never narrower than `width` pixels (a cell typed into that
    // must hold its longest value).
    void setMinimumWidth(int column, int width);
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ColumnFit(QTableView* view);
    // Whether the column shows a text that may be cut.
    bool isText(int column) const;
    bool showToolTip(QEvent* event);

    QTableView* m_view;
    QWidget* m_viewport; // the grid's, kept from the start
    QHash<int, int> m_minimum;
    int m_fittedWidth = -1;
    bool m_fitting = false;
    bool m_byHand = false; // the operator sized a column since the last fit of a new list
};
