#include "base/MembersPage.h"

#include "base/Member.h"
#include "base/MemberEditor.h"

namespace {

ListScreen::Parts parts()
{
    using K = ListColumn::Kind;
    ListScreen::Parts p{
        "dbgMember",
        {
            {QStringLiteral("member_id"), QStringLiteral("序号"), K::Number},
            {QStringLiteral("member_name"), QStringLiteral("姓名")},
            {QStringLiteral("sex"), QStringLiteral("性别")},
            {QStringLiteral("duty"), QStringLiteral("职务")},
            {QStringLiteral("connect_tel"), QStringLiteral("联系电话"), K::Code},
            {QStringLiteral("birthday"), QStringLiteral("出生日期"), K::Date},
            {QStringLiteral("degree"), QStringLiteral("学历")},
            {QStringLiteral("polity"), QStringLiteral("政治面貌")},
        },
        QStringLiteral("member_id"),
        {"btnAddMem", QStringLiteral("增加 &a")},
        {"btnSaveMem", QStringLiteral("修改 &m.")},
        {"btnDelMem", QStringLiteral("删除 &d.")},
        {"btnExitMem", QStringLiteral("退出 &e.")},
        QStringLiteral("请选择需要修改的记录！"),
    };
    p.modifyNeedsWrite = true;
    return p;
}

} // namespace

MembersPage::MembersPage(const ScreenContext& context, QWidget* parent) : ListScreen(context, parts(), parent)
{
    // Nothing is stored for no owner.
    setEditable(m_ownerId != 0);
}

void MembersPage::setOwner(qlonglong ownerId)
{
    m_ownerId = ownerId;
    setEditable(m_ownerId != 0);
    reload();
}

ListQuery MembersPage::listQuery() const
{
    return member_store::list(m_ownerId);
}

RecordEditor* MembersPage::makeEditor(RecordEditor::Mode mode, const QVariant& key)
{
    return new MemberEditor(context(), mode, m_ownerId, key.toLongLong(), this);
}

Checked<> MembersPage::removeRecord(const QVariant& key)
{
    member_store::remove(db(), key.toLongLong());
    return Done{};
}
