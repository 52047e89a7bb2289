#include "commands/Invocation.h"

#include "db/Database.h"

#include <QCoreApplication>
#include <QRegularExpression>

void refuseCommand(const QString& text)
{
    throw CommandStop{exit_status::kRefused, text};
}

void badUsage(const QString& text)
{
    throw CommandStop{exit_status::kBadUsage, text};
}

Invocation::Invocation(QString databasePlace, QString operatorCode, Console console,
                       const QCommandLineParser& options)
    : m_place(std::move(databasePlace)), m_operatorCode(std::move(operatorCode)), m_console(console),
      m_options(options), m_connectionName(QStringLiteral("pelm-command"))
{
}

Invocation::~Invocation()
{
    if (!m_opened)
        return;
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString Invocation::argument(const QString& name) const
{
    const QStringList given = arguments();
    if (given.isEmpty())
        badUsage(QStringLiteral("缺少%1。").arg(name));
    if (given.size() > 1)
        badUsage(QStringLiteral("多余的参数：%1").arg(given.mid(1).join(u' ')));
    return given.first();
}

void Invocation::noArguments() const
{
    if (!arguments().isEmpty())
        badUsage(QStringLiteral("多余的参数：%1").arg(arguments().join(u' ')));
}

std::optional<QString> Invocation::value(const QString& option) const
{
    if (!m_options.isSet(option))
        return std::nullopt;
    return m_options.value(option).trimmed();
}

QSqlDatabase Invocation::db(database_file::SchemaPolicy policy)
{
    if (m_opened)
        return QSqlDatabase::database(m_connectionName, false);
    QString error;
    QSqlDatabase db =
        database::open(m_place, m_connectionName, &error, database_file::kBusyTimeoutMs, policy);
    m_opened = true;
    if (!error.isEmpty())
        refuseCommand(error);
    return db;
}

QDate Invocation::month(const QString& option, const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}$"));
    const QDate first = QDate::fromString(text.trimmed() + QStringLiteral("-01"), Qt::ISODate);
    if (!shape.match(text.trimmed()).hasMatch() || !first.isValid())
        badUsage(QStringLiteral("--%1 的值“%2”不是月份，请写成 2026-01 的样子。").arg(option, text));
    return first;
}

QDate Invocation::day(const QString& option, const QString& text, bool lastOfMonth)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression monthShape(QStringLiteral("^\\d{4}-\\d{2}$"));
    const QString given = text.trimmed();
    if (monthShape.match(given).hasMatch()) {
        const QDate first = QDate::fromString(given + QStringLiteral("-01"), Qt::ISODate);
        if (first.isValid())
            return lastOfMonth ? first.addMonths(1).addDays(-1) : first;
    }
    const QDate date = QDate::fromString(given, Qt::ISODate);
    if (!shape.match(given).hasMatch() || !date.isValid())
        badUsage(
            QStringLiteral("--%1 的值“%2”不是日期，请写成 2026-01-31 或 2026-01 的样子。").arg(option, text));
    return date;
}

std::optional<Period> Invocation::period() const
{
    const std::optional<QString> from = value(QStringLiteral("from"));
    const std::optional<QString> to = value(QStringLiteral("to"));
    if (!from && !to)
        return std::nullopt;
    if (!from || !to)
        badUsage(QStringLiteral("--from 和 --to 须一起给出。"));
    const Period period{day(QStringLiteral("from"), *from, false), day(QStringLiteral("to"), *to, true)};
    if (period.last < period.first)
        badUsage(QStringLiteral("--from 不能晚于 --to。"));
    return period;
}
