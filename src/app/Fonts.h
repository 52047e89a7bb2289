#pragma once

#include <QString>

// The Chinese font names that captions and reports ask for ("楷体_GB2312",
// "仿宋_GB2312", "宋体") are mapped to the CJK fonts installed with the
// application. Call once after the application object exists.
//
// None of those fonts has a bold face: printed lists draw bold Chinese text
// heavier themselves (ReportRenderer), as the PDF engine would not.
void installFontSubstitutions();

// The font that draws emoji (fonts-noto-color-emoji). Its glyphs are colour
// pictures, which a PDF cannot hold as text: printed lists paint them as
// pictures (ReportRenderer).
QString emojiFontFamily();
