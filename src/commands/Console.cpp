#include "commands/Console.h"

#include <QJsonDocument>

#include <unistd.h>

namespace {

void writeLine(std::FILE* stream, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

bool Console::isTerminal(std::FILE* stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

void Console::say(const QString& text) const
{
    if (m_quiet || m_json)
        return;
    progressDone();
    writeLine(stderr, text);
}

void Console::refuse(const QString& text) const
{
    progressDone();
    writeLine(stderr, text);
}

void Console::progress(const QString& what, qint64 done) const
{
    if (m_quiet || m_json || !isTerminal(stderr))
        return;
    // "\r" back to the line's start, "\033[K" clears what a longer line left.
    const QByteArray line = (u'\r' + what + QString::number(done) + QStringLiteral("\033[K")).toUtf8();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    std::fflush(stderr);
    m_progressShown = true;
}

void Console::progressDone() const
{
    if (!m_progressShown)
        return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    m_progressShown = false;
}

void Console::summary(const QJsonObject& object, bool dataOnStdout) const
{
    if (!m_json)
        return;
    progressDone();
    writeLine(dataOnStdout ? stderr : stdout,
              QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}
