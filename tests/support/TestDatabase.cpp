#include "support/TestDatabase.h"

#include "app/PasswordHash.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <QSqlQuery>

#include <stdexcept>

namespace {

int nextConnection = 0;

} // namespace

TestDatabase::TestDatabase()
    : m_path(m_dir.filePath(QStringLiteral("pelm.mdb"))),
      m_connectionName(QStringLiteral("test-%1").arg(++nextConnection)),
      m_clock(QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
{
    // Operators' passwords at the cheapest cost: argon2 at the interactive cost
    // would take a large part of the suite's time.
    password_hash::setCost(password_hash::Cost::Minimal);
    const QString created = database_file::create(m_path);
    if (!created.isEmpty())
        throw std::runtime_error("cannot create the test database: " + created.toStdString());
    QString error;
    m_db = database_file::open(m_path, m_connectionName, &error);
    if (!error.isEmpty())
        throw std::runtime_error("cannot open the test database: " + error.toStdString());
}

TestDatabase::~TestDatabase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
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
