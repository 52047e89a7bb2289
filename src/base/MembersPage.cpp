#include "base/MembersPage.h"

#include "app/WidgetFactory.h"
#include "base/MemberEditor.h"
#include "db/QueryListModel.h"
#include "db/Sql.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

MembersPage::MembersPage(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    using K = QueryListModel::Kind;
    m_model = new QueryListModel(
        {
            {QStringLiteral("member_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("member_name"), QStringLiteral("姓名")},
            {QStringLiteral("sex"), QStringLiteral("性别")},
            {QStringLiteral("duty"), QStringLiteral("职务")},
            {QStringLiteral("connect_tel"), QStringLiteral("联系电话")},
            {QStringLiteral("birthday"), QStringLiteral("出生日期"), K::Date},
            {QStringLiteral("degree"), QStringLiteral("学历")},
            {QStringLiteral("polity"), QStringLiteral("政治面貌")},
        },
        this);
    m_grid = widgets::grid(this, "dbgMember", m_model);

    auto* add = widgets::button(this, "btnAddMem", QStringLiteral("增加 &a"));
    auto* modify = widgets::button(this, "btnSaveMem", QStringLiteral("修改 &m."));
    auto* remove = widgets::button(this, "btnDelMem", QStringLiteral("删除 &d."));
    auto* close = widgets::button(this, "btnExitMem", QStringLiteral("退出 &e."));
    m_writeButtons = {add, modify, remove};
    auto* buttons = widgets::buttonRow({add, modify, remove, close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(modify, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (canWrite() && m_ownerId != 0)
            openEditor(false);
    });
    connect(remove, &QPushButton::clicked, this, &MembersPage::removeCurrent);
    connect(close, &QPushButton::clicked, this, &MembersPage::closeRequested);
}

void MembersPage::setOwner(qlonglong ownerId)
{
    m_ownerId = ownerId;
    for (QPushButton* b : m_writeButtons)
        b->setEnabled(canWrite() && m_ownerId != 0); // nothing is stored for no owner
    reload(0);
}

void MembersPage::reload(qlonglong selectId)
{
    run([&] {
        m_model->load(db(), QStringLiteral("from member where owner_id = ? order by member_id"), {m_ownerId});
        const int row = selectId ? m_model->findRow(QStringLiteral("member_id"), selectId) : 0;
        widgets::selectRow(m_grid, row < 0 ? 0 : row);
    });
}

void MembersPage::openEditor(bool add)
{
    const int row = widgets::currentRow(m_grid);
    if (!add && row < 0) {
        messages().information(QStringLiteral("请选择需要修改的记录！"));
        return;
    }
    const qlonglong memberId = add ? 0 : m_model->value(row, QStringLiteral("member_id")).toLongLong();
    auto* editor = new MemberEditor(context(), add ? MemberEditor::Mode::Add : MemberEditor::Mode::Modify,
                                    m_ownerId, memberId, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &MemberEditor::saved, this, [this](qlonglong id) { reload(id); });
    editor->open();
}

void MembersPage::removeCurrent()
{
    const int row = widgets::currentRow(m_grid);
    if (row < 0)
        return;
    if (!confirmDelete())
        return;
    run([&] {
        sql::remove(db(), QStringLiteral("member"), QStringLiteral("member_id"),
                    m_model->value(row, QStringLiteral("member_id")));
        reload(0);
    });
}
