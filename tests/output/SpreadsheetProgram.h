#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A written workbook as a real spreadsheet program reads it: LibreOffice Calc,
// headless, turns the first sheet into rows of cell texts as the sheet shows them
// (dates formatted, texts with their zeros). Empty cells at the end of a row are
// left off. Fails the test (by throwing) when the program is missing or cannot
// read the file: a test of an export must not pass without it.
QList<QStringList> spreadsheetProgramRows(const QString& workbookPath);

// A cell as the spreadsheet program shows it, and whether it holds text rather
// than a number, a date or nothing.
struct SpreadsheetCell
{
    QString shown;
    bool isText = false;

    bool operator==(const SpreadsheetCell&) const = default;
};

// The same rows with the kind of each cell.
QList<QList<SpreadsheetCell>> spreadsheetProgramCells(const QString& workbookPath);

// The workbook printed by the spreadsheet program into the PDF file `pdfPath`,
// with the sheet's own page set-up. Throws as above.
void spreadsheetProgramPdf(const QString& workbookPath, const QString& pdfPath);
