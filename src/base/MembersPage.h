#pragma once

#include "app/Screen.h"

class QPushButton;
class QTableView;
class QueryListModel;

// The members (family or staff) of an owner, entered through the member editor.
class MembersPage : public Screen
{
    Q_OBJECT
public:
    explicit MembersPage(const ScreenContext& context, QWidget* parent = nullptr);
    void setOwner(qlonglong ownerId);

Q_SIGNALS:
    void closeRequested();

private:
    void reload(qlonglong selectId);
    void openEditor(bool add);
    void removeCurrent();

    QueryListModel* m_model;
    QTableView* m_grid;
    QList<QPushButton*> m_writeButtons;
    qlonglong m_ownerId = 0;
};
