#pragma once

#include <QLabel>

// A function entry on a group panel: underlined text, a hand pointer, red while
// the pointer is over it, and a click that opens the function.
class FunctionLabel : public QLabel
{
    Q_OBJECT
public:
    static const QColor kNormalColor; // cream, F0FBFF as the system writes it
    static const QColor kHoverColor;  // pure red

    FunctionLabel(const QString& text, QWidget* parent = nullptr);
    void setTextColor(const QColor& color);

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
