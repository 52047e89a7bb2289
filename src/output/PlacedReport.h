#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

// A text at its place on a page. Rectangles are in millimetres from the top left
// corner of the printable area (inside the margins). A text that wraps keeps its
// whole value in `text` and the pieces of its lines in `lines`, each line
// `lineHeight` below the one before, aligned within `rect`.
struct PlacedText
{
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QStringList lines; // empty: one line, `text`
    double lineHeight = 0;

    // The texts of the lines as printed.
    QStringList printedLines() const { return lines.isEmpty() ? QStringList{text} : lines; }
};

// A line on a page, in millimetres from the top left corner of the printable area.
struct PlacedLine
{
    QLineF line;
};

struct PlacedPage
{
    QList<PlacedText> texts;
    QList<PlacedLine> lines;

    // The texts of the page from top to bottom, left to right on a line.
    QStringList textsInReadingOrder() const;
    bool contains(const QString& text) const;
};

// A report laid out on pages, ready to be painted onto any paged device.
struct PlacedReport
{
    QString title;
    QPageLayout pageLayout;
    QList<PlacedPage> pages;
};
