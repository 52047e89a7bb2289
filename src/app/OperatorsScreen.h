#pragma once

#include "gui/Screen.h"

#include <QHash>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

// Who may log in and what each operator may do: operators are made from the
// employees and removed again on the first page; on the second, each function
// of the main window is given "浏览" and "编辑" per operator.
class OperatorsScreen : public Screen
{
    Q_OBJECT
public:
    explicit OperatorsScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildOperatorsPage();
    QWidget* buildRightsPage();
    void makeOperator();
    void removeOperator();
    void showRights(const QString& code);
    void saveRights();
    void toggleShownPage();

    QTabWidget* m_pages;
    QLineEdit* m_code;
    QListWidget* m_operators;
    QListWidget* m_employees;
    QListWidget* m_rightsOperators;
    QTabWidget* m_rightsPages;
    QHash<QString, QCheckBox*> m_boxes; // by object name
    QString m_shownOperator;            // whose rights the boxes show
};
