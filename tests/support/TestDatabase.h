#pragma once

#include "core/ScreenContext.h"
#include "support/Estate.h"
#include "support/RecordingDesktop.h"
#include "support/RecordingMessages.h"
#include "support/RecordingReportPreview.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantList>

// A fresh pelm database in a temporary folder, made by the same code as
// `pelm --init-db`, with its own connection; removed when the object goes.
// It also carries a recording Messages and a fixed clock for the screens.
//
// With PELM_TEST_SERVER set to a PostgreSQL connection (key=value words, the
// server's administrative database), each is a new database on that server,
// copied from the template database PELM_TEST_TEMPLATE (default pelm_template,
// made by `pelm --init-db` before the run: scripts/test-postgres.sh), and dropped
// when the object goes.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QSqlDatabase db() const { return m_db; }
    // The file, or the server connection.
    QString path() const { return m_path; }

    // Whether this run's databases are on a server (PELM_TEST_SERVER).
    static bool onServer();
    // Runs a statement on the server's administrative database, where databases
    // are made and dropped; throws std::runtime_error when it fails.
    static void administer(const QString& statement);
    RecordingMessages& messages() { return m_messages; }
    FixedClock& clock() { return m_clock; }
    RecordingDesktop& desktop() { return m_desktop; }
    RecordingReportPreview& reports() { return m_reports; }

    // Builds the estate of the test, one fact per line.
    Estate estate() const { return Estate(m_db); }

    // What the main window would hand a screen.
    ScreenContext context(bool canWrite = true);

    // Runs a statement with bound values; fails the test on an error.
    void exec(const QString& statement, const QVariantList& values = {});
    QVariant scalar(const QString& statement, const QVariantList& values = {});
    // Inserts a row and returns its auto-number.
    qlonglong insert(const QString& statement, const QVariantList& values = {});

    // Makes the database refuse a statement with the message "injected", as a
    // failure the program did not cause: `event` is "insert on goods_buy",
    // "update on goods" or "delete on goods_buy"; `condition`, when given, is an
    // SQL expression (it may read other rows) that must hold for the refusal.
    // One refusal at a time; removeRefusal() takes it away.
    void injectRefusal(const QString& event, const QString& condition = {});
    void removeRefusal();

private:
    QTemporaryDir m_dir;
    QString m_serverName; // the database on the server, when onServer()
    QString m_path;
    QString m_connectionName;
    QString m_refusedTable; // the table of the injected refusal
    QSqlDatabase m_db;
    RecordingMessages m_messages;
    FixedClock m_clock;
    RecordingDesktop m_desktop;
    RecordingReportPreview m_reports{m_clock};
};

// A test of the database file itself (its journal, a restore of a file, a
// foreign file): skipped when the run's databases are on a server.
#define SKIP_ON_SERVER()                                                                                     \
    do {                                                                                                     \
        if (TestDatabase::onServer())                                                                        \
            QSKIP("a test of the database file");                                                            \
    } while (false)
