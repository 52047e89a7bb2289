#include "app/GroupPanel.h"

#include "gui/FunctionLabel.h"

#include <QMouseEvent>
#include <QVBoxLayout>

GroupPanel::GroupPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(p);
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(8);
}

FunctionLabel* GroupPanel::addEntry(const QString& objectName, const QString& text)
{
    auto* label = new FunctionLabel(text, this);
    label->setObjectName(objectName);
    layout()->addWidget(label);
    return label;
}

void GroupPanel::mouseMoveEvent(QMouseEvent* event)
{
    for (FunctionLabel* label : findChildren<FunctionLabel*>())
        label->setTextColor(FunctionLabel::kNormalColor);
    event->accept();
}
