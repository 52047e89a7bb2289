#pragma once

// The Chinese font names that captions and reports ask for ("楷体_GB2312",
// "仿宋_GB2312", "宋体") are mapped to the CJK fonts installed with the
// application. Call once after the application object exists.
void installFontSubstitutions();
