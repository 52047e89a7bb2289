#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext extracts it, one string per page, with the
// blanks and line breaks taken out so that texts that the layout sets apart can
// be found whole. Empty when pdftotext is missing or fails.
QStringList pdfPageTexts(const QString& path);

// The fonts the PDF embeds (pdffonts), one line each.
QStringList pdfFonts(const QString& path);

// A word as pdftotext finds it on a page: where it is, in millimetres from the
// page's top left corner.
struct PdfWord
{
    int page = 0; // from 0
    QRectF rect;
    QString text;
};

// Every word of every page (pdftotext -bbox-layout), in the order pdftotext reads them.
QList<PdfWord> pdfWords(const QString& path);

// One page (from 0) painted at `dpi` by pdftoppm, as a viewer shows it; a null
// image when pdftoppm is missing or fails.
QImage pdfPageImage(const QString& path, int page, int dpi);

// The size of every page, in millimetres (pdfinfo).
QList<QSizeF> pdfPageSizes(const QString& path);
