#pragma once

#include "core/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

// Messages for tests: keeps every box a screen showed, in order, with its exact
// text, and answers questions and input boxes from a script.
class RecordingMessages final : public Messages
{
public:
    enum class Kind { Information, Error, Confirm, AskText };
    struct Shown
    {
        Kind kind;
        QString caption;
        QString text;
        QString detail = {}; // shown on request below the text
    };

    void information(const QString& text, const QString& caption = {}, const QString& detail = {}) override;
    void error(const QString& text, const QString& caption = {}, const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& caption, Buttons buttons = Buttons::OkCancel) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt,
                                   const QString& initial = {}) override;

    // The next question is answered with this; unscripted questions answer OK.
    void answerConfirm(bool answer) { m_confirmAnswers.push_back(answer); }
    // The next input box returns this; nothing means cancelled.
    void answerText(const std::optional<QString>& answer)
    {
        m_textAnswers.push_back({answer.has_value(), answer.value_or(QString())});
    }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    QString lastDetail() const { return m_shown.isEmpty() ? QString() : m_shown.last().detail; }
    // Texts of the error boxes only.
    QStringList errors() const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    std::deque<bool> m_confirmAnswers;
    struct TextAnswer
    {
        bool given; // false: the input box was cancelled
        QString text;
    };
    std::deque<TextAnswer> m_textAnswers;
};
