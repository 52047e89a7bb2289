#pragma once

#include <QSqlError>
#include <QString>

#include <exception>

// A statement the database engine refused, or a value that could not be
// converted. It carries the engine's own text; a screen that does not handle it
// lets it reach its action guard, which shows the text in the general error box
// and abandons the action.
class DbError : public std::exception
{
public:
    explicit DbError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    explicit DbError(const QSqlError& error) : DbError(error.text().trimmed()) {}

    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

#include "core/Messages.h"

// Runs a screen action. A DbError that the action did not handle shows the
// engine's text in the general error box and abandons the action; the screen
// stays open. Returns whether the action ran to its end.
template <class Action> bool runAction(Messages& messages, Action&& action)
{
    try {
        action();
        return true;
    } catch (const DbError& e) {
        messages.error(e.text());
        return false;
    }
}
