#include "app/BuiltInPicture.h"

#include <QLinearGradient>
#include <QPainter>

QImage builtInPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(0x0b, 0x2a, 0x4a));
    sky.setColorAt(0.6, QColor(0x3c, 0x7a, 0xa8));
    sky.setColorAt(1.0, QColor(0xf2, 0xc0, 0x8a));
    painter.fillRect(image.rect(), sky);

    // Towers: (left, width, height) as fractions of the picture.
    struct Tower
    {
        qreal left, width, height;
    };
    const Tower towers[] = {{0.02, 0.12, 0.45}, {0.15, 0.10, 0.62}, {0.27, 0.14, 0.38}, {0.42, 0.11, 0.72},
                            {0.55, 0.13, 0.50}, {0.70, 0.09, 0.66}, {0.80, 0.16, 0.42}};
    for (const Tower& t : towers) {
        const QRectF body(t.left * w, h * (1 - t.height), t.width * w, t.height * h);
        painter.fillRect(body, QColor(0x1d, 0x2b, 0x38));
        // Lit windows in a regular grid.
        const qreal cellW = body.width() / 5;
        const qreal cellH = qMax<qreal>(6, h / 40);
        for (qreal y = body.top() + cellH; y < body.bottom() - cellH; y += cellH * 1.6) {
            for (int col = 0; col < 4; ++col) {
                const QRectF window(body.left() + cellW * (col + 0.6), y, cellW * 0.5, cellH * 0.7);
                const bool lit = (int(y) / int(cellH) + col) % 3 != 0;
                painter.fillRect(window, lit ? QColor(0xf6, 0xd8, 0x7a) : QColor(0x2e, 0x40, 0x52));
            }
        }
    }
    painter.fillRect(QRectF(0, h * 0.97, w, h * 0.03), QColor(0x12, 0x1a, 0x22));
    return image;
}
