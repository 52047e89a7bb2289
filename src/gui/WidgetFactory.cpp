#include "gui/WidgetFactory.h"

#include "db/Schema.h"
#include "gui/ColumnFit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace widgets {
namespace {

// How many rows a grid looks at to fit its column widths.
constexpr int kFittedRows = 200;

int limitOf(const char* table, const char* column)
{
    if (!table || !column)
        return 0;
    return schema::maxLength(QString::fromLatin1(table), QString::fromLatin1(column));
}

} // namespace

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setAutoDefault(false);
    return b;
}

void setField(QWidget* box, const char* column)
{
    if (column)
        box->setProperty(kField, QString::fromLatin1(column));
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const char* table, const char* column)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    setField(edit, column);
    if (const int limit = limitOf(table, column))
        edit->setMaxLength(limit);
    return edit;
}

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* edit = lineEdit(parent, name);
    edit->setAlignment(Qt::AlignRight);
    edit->setProperty(kNumberBox, true);
    return edit;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, const char* table, const char* column)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    setField(edit, column);
    edit->setTabChangesFocus(true);
    if (const int limit = limitOf(table, column)) {
        // A plain text editor has no length limit of its own: cut what is typed or
        // pasted beyond the column's size, keeping the cursor where it was.
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
            const QString text = edit->toPlainText();
            if (text.size() <= limit)
                return;
            QTextCursor cursor = edit->textCursor();
            const int position = std::min<int>(cursor.position(), limit);
            edit->setPlainText(text.left(limit));
            cursor = edit->textCursor();
            cursor.setPosition(position);
            edit->setTextCursor(cursor);
        });
    }
    return edit;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& choices, const char* table,
                    const char* column)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1StringView(name));
    setField(combo, column);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(choices);
    combo->setCurrentIndex(-1);
    if (const int limit = limitOf(table, column))
        combo->lineEdit()->setMaxLength(limit);
    return combo;
}

QDateEdit* dateEdit(QWidget* parent, const char* name, bool calendarPopup)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(calendarPopup);
    edit->setMinimumDate(QDate(1900, 1, 1));
    edit->setSpecialValueText(QStringLiteral(" "));
    return edit;
}

QDate dateOf(const QDateEdit* edit)
{
    return edit->date() == edit->minimumDate() ? QDate() : edit->date();
}

void setDate(QDateEdit* edit, const QDate& date)
{
    edit->setDate(date.isValid() ? date : edit->minimumDate());
}

QDateEdit* monthEdit(QWidget* parent, const char* name)
{
    QDateEdit* edit = dateEdit(parent, name, false);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM"));
    return edit;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

QTableView* grid(QWidget* parent, const char* name, QAbstractItemModel* model)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1StringView(name));
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->setTabKeyNavigation(false);
    // Numbers, dates and codes show whole; texts share what is left. Columns
    // without a title (keys the screen needs) stay hidden.
    view->horizontalHeader()->setResizeContentsPrecision(kFittedRows);
    ColumnFit::install(view);
    return view;
}

int currentRow(const QAbstractItemView* view)
{
    const QModelIndex current = view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void selectRow(QAbstractItemView* view, int row)
{
    if (row < 0 || row >= view->model()->rowCount()) {
        view->clearSelection();
        view->setCurrentIndex(QModelIndex());
        return;
    }
    // On the first column shown: a table does not move by keyboard from a hidden one.
    int column = 0;
    if (const auto* table = qobject_cast<const QTableView*>(view)) {
        while (column + 1 < view->model()->columnCount() && table->isColumnHidden(column))
            ++column;
    } else if (const auto* list = qobject_cast<const QListView*>(view)) {
        column = list->modelColumn();
    }
    const QModelIndex index = view->model()->index(row, column);
    view->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

} // namespace widgets
