#include "gui/FunctionLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

const QColor FunctionLabel::kNormalColor(255, 251, 240);
const QColor FunctionLabel::kHoverColor(255, 0, 0);
const QColor FunctionLabel::kDisabledColor(150, 150, 150);

FunctionLabel::FunctionLabel(const QString& text, QWidget* parent, QColor normal, QColor hover)
    : QLabel(text, parent), m_normal(std::move(normal)), m_hover(std::move(hover))
{
    QFont f = font();
    f.setUnderline(true);
    f.setPointSize(11);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    // Reachable with Tab; Enter or Space opens the function.
    setFocusPolicy(Qt::StrongFocus);
    setTextColor(m_normal);
}

void FunctionLabel::setTextColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, color);
    p.setColor(QPalette::Inactive, QPalette::WindowText, color);
    // An entry the operator may not use is plainly grey on the teal, not a
    // paler cream.
    p.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledColor);
    setPalette(p);
}

void FunctionLabel::enterEvent(QEnterEvent* event)
{
    setTextColor(m_hover);
    QLabel::enterEvent(event);
}

void FunctionLabel::leaveEvent(QEvent* event)
{
    setTextColor(m_normal);
    QLabel::leaveEvent(event);
}

void FunctionLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void FunctionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void FunctionLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Q_EMIT clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}
