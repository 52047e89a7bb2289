#include "app/Rights.h"

OperatorRights::OperatorRights(const std::array<QString, kRightsGroupCount>& strings)
{
    for (std::size_t i = 0; i < strings.size(); ++i)
        m_strings[i] = strings[i].trimmed();
}

Access OperatorRights::access(RightsGroup group, int position) const
{
    const QString& s = string(group);
    if (position < 1 || position > s.size())
        return Access::None;
    const QChar c = s.at(position - 1);
    if (c == u'2')
        return Access::Edit;
    return c > u'0' ? Access::Browse : Access::None;
}

bool OperatorRights::isEmpty() const
{
    for (const QString& s : m_strings) {
        if (!s.isEmpty())
            return false;
    }
    return true;
}

QString OperatorRights::columnName(RightsGroup group)
{
    switch (group) {
    case RightsGroup::Base:
        return QStringLiteral("popebase");
    case RightsGroup::Admin:
        return QStringLiteral("popeadmin");
    case RightsGroup::Charge:
        return QStringLiteral("popecharge");
    case RightsGroup::Manage:
        return QStringLiteral("popemanage");
    case RightsGroup::Query:
        return QStringLiteral("popequery");
    case RightsGroup::Para:
        return QStringLiteral("popepara");
    }
    return {};
}
