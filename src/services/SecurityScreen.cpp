#include "services/SecurityScreen.h"

#include "services/SecurityPages.h"

#include <QTabWidget>
#include <QVBoxLayout>

SecurityScreen::SecurityScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TsecurityFrm"));
    setWindowTitle(QStringLiteral("保安消防"));
    resize(820, 520);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(new SecurityEventsPage(context, m_pages), QStringLiteral("重大事件"));
    m_pages->addTab(new FireZonesPage(context, m_pages), QStringLiteral("消防片区"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
}
