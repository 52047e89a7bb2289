#pragma once

#include <QString>

// The Chinese font names that captions and reports ask for ("楷体_GB2312",
// "仿宋_GB2312", "宋体") are mapped to the CJK fonts installed with the
// application. Call once after the application object exists.
//
// None of the installed CJK fonts has a bold face, and a bold made from the light
// Song face ("宋体", AR PL UMing) prints hardly heavier than regular text: bold
// Chinese text prints in "黑体" (WenQuanYi Zen Hei), the heavier face, made bold
// on top of that, as heavy as the bold Latin letters beside it.
void installFontSubstitutions();

// The font that draws emoji (fonts-noto-color-emoji). Its glyphs are colour
// pictures, which a PDF cannot hold as text: printed lists paint them as
// pictures (ReportRenderer).
QString emojiFontFamily();
