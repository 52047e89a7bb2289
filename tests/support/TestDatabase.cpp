#include "support/TestDatabase.h"

#include "app/PasswordHash.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/ServerDatabase.h"
#include "db/Sql.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

int nextConnection = 0;

QString serverConnection()
{
    return qEnvironmentVariable("PELM_TEST_SERVER");
}

} // namespace

void TestDatabase::administer(const QString& statement)
{
    const QString name = QStringLiteral("test-admin");
    QString error;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setConnectOptions(server_database::connectionString(serverConnection(), &error));
        if (error.isEmpty() && !admin.open())
            error = admin.lastError().text();
        if (error.isEmpty()) {
            QSqlQuery query(admin);
            if (!query.exec(statement))
                error = query.lastError().text();
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty())
        throw std::runtime_error("cannot run on the test server: " + error.toStdString());
}

bool TestDatabase::onServer()
{
    return !serverConnection().isEmpty();
}

TestDatabase::TestDatabase()
    : m_connectionName(QStringLiteral("test-%1").arg(++nextConnection)),
      m_clock(QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
{
    // Operators' passwords at the cheapest cost: argon2 at the interactive cost
    // would take a large part of the suite's time.
    password_hash::setCost(password_hash::Cost::Minimal);
    if (onServer()) {
        m_serverName =
            QStringLiteral("pelm_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(nextConnection);
        const QString templateName =
            qEnvironmentVariable("PELM_TEST_TEMPLATE", QStringLiteral("pelm_template"));
        administer(u"CREATE DATABASE " + m_serverName + u" TEMPLATE " + templateName);
        QString error;
        m_path = server_database::connectionString(serverConnection(), &error) + u" dbname=" + m_serverName;
    } else {
        m_path = m_dir.filePath(QStringLiteral("pelm.mdb"));
        const QString created = database_file::create(m_path);
        if (!created.isEmpty())
            throw std::runtime_error("cannot create the test database: " + created.toStdString());
    }
    QString error;
    m_db = database::open(m_path, m_connectionName, &error);
    if (!error.isEmpty())
        throw std::runtime_error("cannot open the test database: " + error.toStdString());
}

TestDatabase::~TestDatabase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (!m_serverName.isEmpty()) {
        try {
            administer(u"DROP DATABASE " + m_serverName + u" WITH (FORCE)");
        } catch (const std::runtime_error&) {
            // Left on the run's own server, which goes with the run.
        }
    }
}

ScreenContext TestDatabase::context(bool canWrite)
{
    ScreenContext context;
    context.db = m_db;
    context.messages = &m_messages;
    context.clock = &m_clock;
    context.desktop = &m_desktop;
    context.reports = &m_reports;
    context.canWrite = canWrite;
    context.op = {QStringLiteral("admin"), QStringLiteral("管理员")};
    return context;
}

void TestDatabase::exec(const QString& statement, const QVariantList& values)
{
    try {
        sql::exec(m_db, statement, values);
    } catch (const DbError& e) {
        throw std::runtime_error("test statement failed: " + e.text().toStdString());
    }
}

QVariant TestDatabase::scalar(const QString& statement, const QVariantList& values)
{
    try {
        return sql::scalar(m_db, statement, values);
    } catch (const DbError& e) {
        throw std::runtime_error("test query failed: " + e.text().toStdString());
    }
}

qlonglong TestDatabase::insert(const QString& statement, const QVariantList& values)
{
    try {
        return sql::exec(m_db, statement, values).lastInsertId().toLongLong();
    } catch (const DbError& e) {
        throw std::runtime_error("test insert failed: " + e.text().toStdString());
    }
}

void TestDatabase::injectRefusal(const QString& event, const QString& condition)
{
    if (!m_refusedTable.isEmpty())
        throw std::runtime_error("a refusal is already injected");
    const qsizetype on = event.indexOf(QLatin1String(" on "));
    if (on < 0)
        throw std::runtime_error("a refusal names its table: " + event.toStdString());
    m_refusedTable = event.mid(on + 4).trimmed();
    if (onServer()) {
        // A server trigger's WHEN takes no subquery: the condition is checked in
        // the function.
        const QString refuse = condition.isEmpty()
                                   ? QStringLiteral("raise exception 'injected';")
                                   : u"if " + condition + u" then raise exception 'injected'; end if;";
        exec(u"create function pelm_test_injected() returns trigger language plpgsql as $$ begin " + refuse +
             u" if tg_op = 'DELETE' then return old; end if; return new; end $$");
        exec(u"create trigger injected before " + event +
             u" for each row execute function pelm_test_injected()");
    } else {
        const QString when = condition.isEmpty() ? QString() : u" when (" + condition + u")";
        exec(u"create trigger injected before " + event + when +
             u" begin select raise(abort, 'injected'); end");
    }
}

void TestDatabase::removeRefusal()
{
    if (onServer()) {
        exec(u"drop trigger injected on " + m_refusedTable);
        exec(QStringLiteral("drop function pelm_test_injected()"));
    } else {
        exec(QStringLiteral("drop trigger injected"));
    }
    m_refusedTable.clear();
}
