#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

// A text at its place on a page. Rectangles are in millimetres from the top left
// corner of the printable area (inside the margins).
struct PlacedText
{
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
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
