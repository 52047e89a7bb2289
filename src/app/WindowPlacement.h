#pragma once

class QScreen;
class QWidget;

namespace window_placement {

// Puts a top-level window that is about to be shown on `screen`, in the middle of
// its available area (the desktop less its panels), frame included. The window
// first gets the size showing it would give it. A window larger than the area
// keeps its title bar on the screen.
void centreOnScreen(QWidget& window, QScreen& screen);

} // namespace window_placement
