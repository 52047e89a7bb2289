#pragma once

#include "core/ScreenContext.h"
#include "support/Estate.h"
#include "support/RecordingDesktop.h"
#include "support/RecordingMessages.h"
#include "support/RecordingReportPreview.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QVariantList>

// A fresh pelm database in a temporary folder, made by the same code as
// `pelm --init-db`, with its own connection; removed when the object goes.
// It also carries a recording Messages and a fixed clock for the screens.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QSqlDatabase db() const { return m_db; }
    QString path() const { return m_path; }
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

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    RecordingMessages m_messages;
    FixedClock m_clock;
    RecordingDesktop m_desktop;
    RecordingReportPreview m_reports{m_clock};
};
