#pragma once

#include <QLabel>

// A text link: a function entry on a group panel, or an action of the mail centre.
// Underlined text, a hand pointer, another colour while the pointer is over it,
// and a click (or Enter, Space) that runs it.
class FunctionLabel : public QLabel
{
    Q_OBJECT
public:
    static const QColor kNormalColor;   // cream, F0FBFF as the system writes it
    static const QColor kHoverColor;    // pure red
    static const QColor kDisabledColor; // grey: an entry that cannot be used

    FunctionLabel(const QString& text, QWidget* parent = nullptr, QColor normal = kNormalColor,
                  QColor hover = kHoverColor);
    void setTextColor(const QColor& color);

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor m_normal;
    QColor m_hover;
};
