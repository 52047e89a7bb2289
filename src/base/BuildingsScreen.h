#pragma once

#include "app/Screen.h"

class QTableView;
class QueryListModel;

// The register of buildings: a list, the building editor, and a delete that is
// refused while the building has rooms.
class BuildingsScreen : public Screen
{
    Q_OBJECT
public:
    explicit BuildingsScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void reload(qlonglong selectId = 0);
    void openEditor(bool add);
    void removeCurrent();
    qlonglong currentId() const;

    QueryListModel* m_model;
    QTableView* m_grid;
};
