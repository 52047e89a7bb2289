// A screen that checks what was typed itself: the rule and its text belong to
// the store. The check of the layers refuses this file.
#include "gui/Screen.h"

void NameScreen::save()
{
    if (m_name->text().trimmed().isEmpty()) {
        messages().information(QStringLiteral("请填写名称！"));
        return;
    }
    messages().information(QStringLiteral("数据已空，无法删除！")); // a screen's own text: allowed
}
