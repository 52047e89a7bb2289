#pragma once

#include <QJsonObject>
#include <QString>

#include <cstdio>

// Where a command speaks: data to standard output, messages to standard error
// (the screens' Chinese texts), nothing but refusals with --quiet, and with
// --json a machine-readable summary at the end. Progress is a line that updates
// on a terminal, and nothing when standard error is no terminal.
class Console
{
public:
    Console(bool quiet, bool json) : m_quiet(quiet), m_json(json) {}

    bool json() const { return m_json; }

    // A message of work done; left out with --quiet or --json.
    void say(const QString& text) const;
    // A refusal or an error; always written.
    void refuse(const QString& text) const;
    // The number of rows done so far; on a terminal only.
    void progress(const QString& what, qint64 done) const;
    // Ends a progress line.
    void progressDone() const;

    // The summary, with --json: one line of JSON on standard output, or on
    // standard error when standard output carries the data (`-o -`).
    void summary(const QJsonObject& object, bool dataOnStdout = false) const;

    static bool isTerminal(std::FILE* stream);

private:
    bool m_quiet;
    bool m_json;
    mutable bool m_progressShown = false;
};
