#include "admin/GoodsScreen.h"

#include "admin/Goods.h"
#include "admin/GoodsTypesPage.h"
#include "db/LabelledColumns.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kGoodsId = QStringLiteral("goods_id");
const QString kEmpty = QStringLiteral("数据已空，无法删除！");
const QString kDeleteQuestion = QStringLiteral("确实要删除此记录吗？");

} // namespace

GoodsScreen::GoodsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TmanageGoodsFrm"));
    setWindowTitle(QStringLiteral("办公用品维护"));
    resize(760, 520);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_types = new GoodsTypesPage(context, m_pages);
    m_pages->addTab(m_types, QStringLiteral("物品类别"));
    m_pages->addTab(buildGoodsPage(), QStringLiteral("物品细类"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    connect(m_pages, &QTabWidget::currentChanged, this, &GoodsScreen::pageChanged);

    fillTypeChooser();
    // Each type the types page stands on filters the goods; a type being added
    // (no name yet) leaves them as they are.
    m_types->onCurrentType([this](const std::optional<GoodsTypesPage::Current>& type) {
        if (type)
            typeChosen(type->id);
    });
    m_types->reload();
    if (!m_typeId)
        m_form->reload(); // no type: every item
}

QWidget* GoodsScreen::buildGoodsPage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("tabDetail"));
    using K = ListColumn::Kind;
    // The key stays hidden; the type's name is its own table's.
    m_goods = new QueryListModel(QList<ListColumn>{{kGoodsId, QString(), K::Number}} +
                                     labelledColumns("goods", {{"sort_id"},
                                                               {"typename", {}, QStringLiteral("物品类别")},
                                                               {"goods_name"},
                                                               {"store_num"},
                                                               {"remark"}}),
                                 this);
    m_grid = widgets::grid(page, "DBGrid1", m_goods);

    using F = GoodsInput;
    m_fields.number("sort_id", "DBEdit1", &F::sortId)
        .keyed("type_id", "DBLookupComboBox1", &F::typeId)
        .text("goods_name", "DBEdit2", &F::name)
        .number("store_num", "DBEdit4", &F::stock)
        .memo("remark", "DBMemo1", &F::remark)
        .wide()
        .height(56);
    m_editors = new EditorSet(this);
    QGridLayout* form = m_fields.build(page, m_editors);
    m_type = m_fields.box<QComboBox>("type_id");
    // The catalogue follows the operator's right too: browsing never writes.
    m_editors->setReadOnly(!canWrite());
    connect(m_fields.box<QLineEdit>("store_num"), &QLineEdit::textEdited, this,
            [this] { m_stockTyped = true; });

    m_all = new QCheckBox(QStringLiteral("所有物品"), page);
    m_all->setObjectName(QStringLiteral("cbxAll"));
    auto* refresh = widgets::button(page, "BitBtn2", QStringLiteral("刷新"));
    auto* excel = widgets::button(page, "BtnExcel", QStringLiteral("Excel"));
    auto* add = widgets::button(page, "BtnAdd", QStringLiteral("增加"));
    auto* remove = widgets::button(page, "BtnDel", QStringLiteral("删除"));
    auto* save = widgets::button(page, "BtnModify", QStringLiteral("保存"));
    auto* exit = widgets::button(page, "BtnExit", QStringLiteral("退出"));
    for (QPushButton* b : {add, remove, save})
        b->setEnabled(canWrite());

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_all);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({refresh, excel, add, remove, save, exit}));

    m_form = new RowForm(context(), m_grid, m_goods, kGoodsId,
                         {[this] { return goods_store::list(listedType()); }, [this](int r) { showGoods(r); },
                          [this] { return m_editors->isModified(); }, [this] { return storeGoods(); }});

    connect(m_all, &QCheckBox::toggled, this, [this](bool all) {
        saveIfModified();
        m_filtered = !all;
        m_form->reload();
    });
    connect(refresh, &QPushButton::clicked, this, &GoodsScreen::refresh);
    connect(excel, &QPushButton::clicked, this, &GoodsScreen::exportGoods);
    connect(add, &QPushButton::clicked, this, [this] {
        if (canWrite() && m_form->addNewRow())
            m_fields.box("goods_name")->setFocus();
    });
    connect(save, &QPushButton::clicked, this, &GoodsScreen::saveGoods);
    connect(remove, &QPushButton::clicked, this, &GoodsScreen::removeGoods);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void GoodsScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void GoodsScreen::pageChanged(int page)
{
    if (m_switching)
        return;
    const QScopedValueRollback switching(m_switching, true);
    if (page == 0) {
        // Leaving the goods stores the item changed in the boxes.
        if (!saveIfModified())
            m_pages->setCurrentIndex(1);
        return;
    }
    if (m_types->typeCount() == 0) {
        m_pages->setCurrentIndex(0);
        messages().information(QStringLiteral("请先增加物品类别！"));
        return;
    }
    // The type chooser lists the types as they are now, those just added too.
    fillTypeChooser();
}

void GoodsScreen::typeChosen(std::optional<qlonglong> typeId)
{
    m_typeId = typeId;
    m_filtered = true; // also while "所有物品" is ticked
    m_form->reload();
}

std::optional<qlonglong> GoodsScreen::listedType() const
{
    return m_filtered ? m_typeId : std::nullopt;
}

void GoodsScreen::fillTypeChooser()
{
    QList<NamedKey> types;
    if (!run([&] { types = goods_type_store::names(db()); }))
        return;
    const EditorSet::Loading loading(*m_editors);
    form_fields::setChoices(m_type, types);
}

void GoodsScreen::showGoods(int row)
{
    Goods goods;
    if (m_form->isNewRow(row)) {
        // A new item is of the type chosen.
        if (m_typeId)
            goods.typeId = static_cast<int>(*m_typeId);
    } else if (row >= 0) {
        run([&] { goods = goods_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(Goods{}); });
    }
    const EditorSet::Loading loading(*m_editors);
    m_shownId = goods.id;
    m_fields.show(goods_store::typed(goods));
    m_editors->setModified(false);
    m_stockTyped = false;
}

bool GoodsScreen::storeGoods()
{
    if (!canWrite())
        return true;
    GoodsInput input = m_fields.read();
    input.id = m_shownId;
    const Checked<qlonglong> saved = goods_store::save(db(), input, m_stockTyped);
    if (!saved.ok()) {
        refuse(saved.refusal());
        return false;
    }
    m_shownId = saved.value();
    m_editors->setModified(false);
    m_stockTyped = false;
    return true;
}

void GoodsScreen::saveGoods()
{
    if (!canWrite() || m_form->currentRow() < 0)
        return;
    // An item put under another type leaves the list of the type shown.
    m_form->storeAndReload([this] { return QVariant(m_shownId); });
}

void GoodsScreen::removeGoods()
{
    if (!canWrite())
        return;
    if (m_goods->rowCount() == 0) {
        messages().information(kEmpty);
        return;
    }
    const int row = m_form->currentRow();
    if (row < 0)
        return;
    if (!m_form->isNewRow(row)) {
        // An item in use is refused before the question.
        bool allowed = false;
        run([&] {
            const Checked<> checked = goods_store::checkRemove(db(), m_form->keyAt(row).toLongLong());
            if (!checked.ok())
                refuse(checked.refusal());
            allowed = checked.ok();
        });
        if (!allowed)
            return;
    }
    if (!messages().confirm(kDeleteQuestion, QStringLiteral("提醒"), Messages::Buttons::YesNo))
        return;
    // Asked above; the store checks again as it deletes.
    m_form->removeCurrent({}, [this](const QVariant& key) {
        return goods_store::removeUnlessRequisitioned(db(), key.toLongLong());
    });
}

bool GoodsScreen::saveIfModified()
{
    return !m_editors->isModified() || m_form->storeAndReload([this] { return QVariant(m_shownId); });
}

void GoodsScreen::refresh()
{
    // The stock as purchases and requisitions left it, under the same filter.
    if (saveIfModified())
        m_form->reload(m_form->keyAt(m_form->currentRow()));
}

void GoodsScreen::exportGoods()
{
    if (!saveIfModified())
        return;
    // The list as it is shown: one type, or every item with "所有物品".
    StatementRecordSource rows(db(), m_goods->query());
    if (exportList(context(), goods_store::exported(), rows, this))
        widgets::selectRow(m_grid, 0);
}
