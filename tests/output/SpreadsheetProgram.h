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
