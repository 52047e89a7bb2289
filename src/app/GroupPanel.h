#pragma once

#include <QFrame>

class FunctionLabel;

// A teal panel holding the function entries of one group, one below the other.
// Moving the pointer over its free area restores the entries' cream colour.
class GroupPanel : public QFrame
{
    Q_OBJECT
public:
    explicit GroupPanel(QWidget* parent = nullptr);
    FunctionLabel* addEntry(const QString& objectName, const QString& text);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
