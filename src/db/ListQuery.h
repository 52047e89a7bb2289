#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// One column of a list: the field it reads, how the grid titles and shows it,
// and how the list's export writes it. A list describes its columns once; the
// grid, the export and the printed list read the same description.
struct ListColumn
{
    enum class Kind {
        Text,    // trimmed text; a long one may be cut to fit the grid
        Code,    // a short text that names or counts (a room number, a height, a
                 // telephone number): trimmed, and always shown whole
        Number,  // a whole number, aligned right
        Decimal, // decimal(p,2) kept as hundredths, shown "12.50", aligned right
        Date,    // "yyyy-MM-dd"
    };

    // How the export writes the column's values.
    enum class Export {
        Text,  // kept as text: "00123" keeps its zeros
        Plain, // a number becomes a number cell
        Date,  // a date cell
        None,  // not exported
    };

    QString field;
    QString title; // grids hide a column without a title
    Kind kind = Kind::Text;
    bool editable = false; // the operator types into it in the grid
    Export exportAs = Export::Text;
    QString exportCaption = {}; // the export's caption when it differs from the title

    QString caption() const { return exportCaption.isEmpty() ? title : exportCaption; }
};

// What a list reads, as its store describes it: the rows of `from` that meet
// `where` (with the bound `values`), in the order of `orderBy`. The last order
// expression must tell every row apart (a key), so that a long list can be read
// in pages that continue after the last row read. An expression may end in
// " desc". The screen hands it to its list model without knowing its SQL.
struct ListQuery
{
    QString from;        // "rooms_info", "owner_rooms r left join owner_info o on ..."
    QString where;       // "garden_id = ?", or empty for every row
    QVariantList values; // bound to the "?" of `from` and `where`, in order
    QStringList orderBy; // {"owner_name", "owner_id"}

    bool isValid() const { return !from.isEmpty(); }

    // "select <columns> from ... where ... order by ...": every column of `from`
    // when no columns are named (the exports and printed lists of a list).
    QString statement(const QStringList& columns = {}) const;

    // The tables the list reads, lower case: every name of a table of the schema
    // that `from` and `where` mention (joins and subqueries too), so that a list
    // knows whether a write concerns it. A word that only looks like a table's
    // name costs at most a needless re-read.
    QStringList tables() const;
};
