#pragma once

#include <QByteArray>
#include <QSqlError>
#include <QString>

#include <exception>

class SqlDialect;

// A statement the database engine refused, a record that another copy removed,
// or a value that could not be converted. text() is what the operator reads: a
// Chinese sentence for the refusals we know (a duplicate key, a value too long or
// out of range, a busy file, a vanished record), the engine's own text for the
// rest. detail() keeps the engine's text where text() says something else. A
// screen that does not handle the error lets it reach its action guard, which
// shows both in the general error box and abandons the action.
class DbError : public std::exception
{
public:
    enum class Kind {
        Engine,     // any other refusal or failure; text() is the engine's or the caller's text
        RecordGone, // the one record to change or delete is not there any more
        Busy,       // another copy kept the file locked through every attempt
        Constraint, // a value the schema does not accept
    };

    explicit DbError(QString text) : DbError(Kind::Engine, std::move(text)) {}
    DbError(Kind kind, QString text, QString detail = {})
        : m_kind(kind), m_text(std::move(text)), m_detail(std::move(detail)), m_utf8(m_text.toUtf8())
    {
    }
    // Reads the engine's error as `dialect` classifies it: a known refusal
    // becomes its Chinese text, with the engine's text as detail.
    DbError(const QSqlError& error, const SqlDialect& dialect);

    // The refusal of a value that breaks the schema's rule `checkName` (a name of
    // schema::checkName), as the engine's refusal of it reads.
    static DbError ruleBroken(const QString& checkName);

    Kind kind() const { return m_kind; }
    const QString& text() const { return m_text; }
    const QString& detail() const { return m_detail; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    Kind m_kind;
    QString m_text;
    QString m_detail;
    QByteArray m_utf8;
};

#include "core/Messages.h"

// Runs a screen action. A DbError that the action did not handle shows its text
// (and the engine's text as detail) in the general error box and abandons the
// action; the screen stays open. Returns whether the action ran to its end.
template <class Action> bool runAction(Messages& messages, Action&& action)
{
    try {
        action();
        return true;
    } catch (const DbError& e) {
        messages.error(e.text(), {}, e.detail());
        return false;
    }
}
