#include "app/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace window_placement {
namespace {

// The window manager's frame around a window. Before a window is first shown it
// has none yet; the frame of another window on screen is the best guess, as the
// window manager draws the same frame around every ordinary window.
QMargins frameMargins(const QWidget& window)
{
    if (const QWindow* handle = window.windowHandle(); handle && handle->isVisible())
        return handle->frameMargins();
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || !other->windowHandle())
            continue;
        const QMargins margins = other->windowHandle()->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    return {};
}

} // namespace

void centreOnScreen(QWidget& window, QScreen& screen)
{
    if (window.screen() != &screen)
        window.setScreen(&screen);
    if (!window.testAttribute(Qt::WA_Resized)) {
        // What show() does with a window nobody sized; it stays "not sized by hand".
        window.adjustSize();
        window.setAttribute(Qt::WA_Resized, false);
    }
    const QMargins frame = frameMargins(window);
    const QRect area = screen.availableGeometry();
    const QRect outer =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size().grownBy(frame), area);
    // A top-level window's position is that of its frame.
    window.move(std::max(outer.left(), area.left()), std::max(outer.top(), area.top()));
}

} // namespace window_placement
