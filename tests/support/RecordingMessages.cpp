#include "support/RecordingMessages.h"

void RecordingMessages::information(const QString& text, const QString& caption, const QString& detail)
{
    m_shown.append({Kind::Information, caption, text, detail});
}

void RecordingMessages::error(const QString& text, const QString& caption, const QString& detail)
{
    m_shown.append({Kind::Error, caption, text, detail});
}

bool RecordingMessages::confirm(const QString& text, const QString& caption, Buttons)
{
    m_shown.append({Kind::Confirm, caption, text});
    if (m_confirmAnswers.empty())
        return true;
    const bool answer = m_confirmAnswers.front();
    m_confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> RecordingMessages::askText(const QString& caption, const QString& prompt,
                                                  const QString&)
{
    m_shown.append({Kind::AskText, caption, prompt});
    if (m_textAnswers.empty())
        return std::nullopt;
    const TextAnswer answer = m_textAnswers.front();
    m_textAnswers.pop_front();
    if (!answer.given)
        return std::nullopt;
    return answer.text;
}

QStringList RecordingMessages::texts() const
{
    QStringList result;
    for (const Shown& s : m_shown)
        result << s.text;
    return result;
}

QStringList RecordingMessages::errors() const
{
    QStringList result;
    for (const Shown& s : m_shown) {
        if (s.kind == Kind::Error)
            result << s.text;
    }
    return result;
}
