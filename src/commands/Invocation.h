#pragma once

#include "commands/Console.h"
#include "core/Period.h"
#include "db/DatabaseFile.h"

#include <QCommandLineParser>
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The exit status of a command: 0 done; 1 refused (a rule, a right, a bad file);
// 2 bad usage (an unknown option, a date that is not a date).
namespace exit_status {
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;
inline constexpr int kBadUsage = 2;
} // namespace exit_status

// A command that stops: thrown inside a command, written to standard error and
// turned into the exit status by the command line.
struct CommandStop
{
    int status = exit_status::kRefused;
    QString text;
};

[[noreturn]] void refuseCommand(const QString& text);
[[noreturn]] void badUsage(const QString& text);

// One run of a command: the options every command takes, the command's own
// options and arguments, where it speaks, and the database it works on (opened
// when first asked for, closed at the end).
class Invocation
{
public:
    Invocation(QString databasePlace, QString operatorCode, Console console,
               const QCommandLineParser& options);
    ~Invocation();
    Invocation(const Invocation&) = delete;
    Invocation& operator=(const Invocation&) = delete;

    const QString& databasePlace() const { return m_place; }
    const QString& operatorCode() const { return m_operatorCode; }
    const Console& console() const { return m_console; }
    // Whether a destructive command was confirmed beforehand (today's --restore,
    // which never asked); the command's own --yes confirms it too.
    void setConfirmed(bool confirmed) { m_confirmed = confirmed; }
    bool confirmedBefore() const { return m_confirmed; }
    const QCommandLineParser& options() const { return m_options; }
    QStringList arguments() const { return m_options.positionalArguments(); }

    // The one argument a command needs (FILE, LIST); bad usage when missing or more.
    QString argument(const QString& name) const;
    // Bad usage when a command that takes no argument was given one.
    void noArguments() const;
    // An option's value, or nothing when not given.
    std::optional<QString> value(const QString& option) const;

    // The database, opened on first use; refused with its Chinese reason.
    QSqlDatabase db(database_file::SchemaPolicy policy = {});

    // A month "yyyy-MM" (its first day), or a day "yyyy-MM-dd"; bad usage when it is neither.
    static QDate month(const QString& option, const QString& text);
    static QDate day(const QString& option, const QString& text, bool lastOfMonth);
    // --from and --to as days (a month means its first or its last day); nothing when
    // neither is given; bad usage when only one is, or when they are no dates.
    std::optional<Period> period() const;

private:
    QString m_place;
    QString m_operatorCode;
    Console m_console;
    const QCommandLineParser& m_options;
    QString m_connectionName;
    bool m_opened = false;
    bool m_confirmed = false;
};
