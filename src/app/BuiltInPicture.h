#pragma once

#include <QImage>
#include <QSize>

// The picture the main window shows when "build.jpg" cannot be loaded: a
// skyline of office towers against an evening sky, drawn at the given size.
QImage builtInPicture(QSize size);
