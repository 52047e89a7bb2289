#pragma once

#include <QString>

#include <optional>

// Every screen shows its information, error and question boxes and asks for
// typed input through this interface, handed to it by whoever opens it. The
// application uses message boxes; tests use a recording fake that keeps the exact
// texts and answers from a script.
class Messages
{
public:
    enum class Buttons { OkCancel, YesNo };

    virtual ~Messages() = default;

    // A box with one OK button and an information icon; a `detail` (a list
    // behind the text) is shown on request below the text.
    virtual void information(const QString& text, const QString& caption = {},
                             const QString& detail = {}) = 0;
    // A box with one OK button and an error icon; also the general error box of
    // a refused database action. A `detail` (the database engine's own text) is
    // shown on request below the text.
    virtual void error(const QString& text, const QString& caption = {}, const QString& detail = {}) = 0;
    // A question; true only for OK (or Yes).
    virtual bool confirm(const QString& text, const QString& caption,
                         Buttons buttons = Buttons::OkCancel) = 0;
    // A one-line text input; nothing when cancelled.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt,
                                           const QString& initial = {}) = 0;
};
