#pragma once

#include "admin/Goods.h"
#include "gui/FormFields.h"
#include "gui/Screen.h"

#include <optional>

class EditorSet;
class GoodsTypesPage;
class QCheckBox;
class QComboBox;
class QTabWidget;
class QTableView;
class QueryListModel;
class RowForm;

// The office-supplies catalogue: the goods types kept in their grid, and the
// goods of the type chosen there (or all of them) edited in boxes bound to the
// row the list stands on, with their stock count.
class GoodsScreen : public Screen
{
    Q_OBJECT
public:
    explicit GoodsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildGoodsPage();
    void pageChanged(int page);
    void typeChosen(std::optional<qlonglong> typeId);
    void fillTypeChooser();
    std::optional<qlonglong> listedType() const;
    void showGoods(int row);
    bool storeGoods();
    void saveGoods();
    // Saves a changed item as Save does, before the list is read anew.
    bool saveIfModified();
    void removeGoods();
    void refresh();
    void exportGoods();

    QTabWidget* m_pages;
    GoodsTypesPage* m_types;
    QueryListModel* m_goods;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    FormFields<GoodsInput> m_fields{"goods"};
    QComboBox* m_type; // the item's type, of the types as they are
    QCheckBox* m_all;
    std::optional<qlonglong> m_typeId; // the type chosen on the types page
    bool m_filtered = false;           // the goods list shows that type's goods only
    qlonglong m_shownId = 0;           // the goods in the boxes (0: a new one)
    bool m_stockTyped = false;         // the operator typed a stock count into the boxes
    bool m_switching = false;
};
