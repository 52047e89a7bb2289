#pragma once

#include <QDialog>

// The small "关于..." window: the product with its version, its makers and how to
// reach them.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
