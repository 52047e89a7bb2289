#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QAbstractItemModel;
class QAbstractItemView;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

// Controls as every screen makes them: named by objectName, editors limited to
// the size of the column they store into.
namespace widgets {

QPushButton* button(QWidget* parent, const char* name, const QString& caption);

// Names the column a box edits, so that a refusal that concerns the column puts
// the cursor into it (see Screen's refuse()). The editors below that are given
// a column are named so already.
void setField(QWidget* box, const char* column);
inline constexpr char kField[] = "field";

// A one-line editor for a text column; its length limit comes from the schema.
QLineEdit* lineEdit(QWidget* parent, const char* name, const char* table = nullptr,
                    const char* column = nullptr);

// A one-line editor for a number (money, an area, a quantity): right-aligned;
// its text is read with number_input, which trims the blanks around the number
// and refuses what does not fit the column. The box itself takes whatever is
// typed or pasted whole: a length limit would cut a value padded with blanks
// before they are trimmed. Carries the property kNumberBox.
QLineEdit* numberEdit(QWidget* parent, const char* name);
inline constexpr char kNumberBox[] = "numberBox";

// A multi-line editor for a text column, limited like a line editor.
QPlainTextEdit* memo(QWidget* parent, const char* name, const char* table = nullptr,
                     const char* column = nullptr);

// An editable combo box with choices; typed text is limited to the column's size.
QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& choices,
                    const char* table = nullptr, const char* column = nullptr);

// A date editor showing "yyyy-MM-dd". Its lowest date stands for "no date" and
// shows blank; use dateOf() and setDate() to read and set it.
QDateEdit* dateEdit(QWidget* parent, const char* name, bool calendarPopup = true);
QDate dateOf(const QDateEdit* edit);              // invalid for "no date"
void setDate(QDateEdit* edit, const QDate& date); // an invalid date shows blank

// A picker of a month, showing "yyyy-MM" with up-down arrows. It holds a whole
// date: the day it was given stays, only year and month are shown and changed.
QDateEdit* monthEdit(QWidget* parent, const char* name);

// A row of buttons, pushed to the right.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// A read-only grid of whole rows, one selected at a time. Columns whose header
// has no title are hidden; the others are fitted to the grid's width (ColumnFit):
// numbers, dates and codes whole, long texts cut with their value in a tooltip.
QTableView* grid(QWidget* parent, const char* name, QAbstractItemModel* model);

// The row of the grid's current index, or -1.
int currentRow(const QAbstractItemView* view);
// Makes `row` current and selected and scrolls to it; -1 clears the selection.
void selectRow(QAbstractItemView* view, int row);

} // namespace widgets
