#pragma once

#include "core/Messages.h"

// The application's Messages: modal message boxes and input dialogs over the
// active window, captioned "物业管理" (the application's title) unless a caption is given.
class MessageBoxes final : public Messages
{
public:
    void information(const QString& text, const QString& caption = {}, const QString& detail = {}) override;
    void error(const QString& text, const QString& caption = {}, const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& caption, Buttons buttons = Buttons::OkCancel) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt,
                                   const QString& initial = {}) override;
};
