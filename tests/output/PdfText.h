#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext extracts it, one string per page, with the
// blanks and line breaks taken out so that texts that the layout sets apart can
// be found whole. Empty when pdftotext is missing or fails.
QStringList pdfPageTexts(const QString& path);

// The fonts the PDF embeds (pdffonts), one line each.
QStringList pdfFonts(const QString& path);
