#include "db/DatabaseFile.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "db/SqliteFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>

#include <grp.h>
#include <unistd.h>

// What must hold however pelm is stopped, whatever file it is given, and while
// other copies write: a database file is always whole or absent, a transaction
// all or nothing, a bad file refused with a Chinese message that names it, and
// a backup taken during writes restores to a sound file.
//
// The trials are few enough for every run of the suite; PELM_SOAK=1 runs many
// more (PELM_SOAK=<n> multiplies them by n). PELM_SEED=<n> repeats the random
// moments of an earlier run; every run prints its seed.
class TestReliability : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void initDbKilledLeavesNoFileOrAWholeOne();
    void aFinishedFileNeverReplacesOneThatAppeared();
    void transactionKilledIsAllOrNothing();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void backupTakenWhileWritingRestoresSound();
    void restoreKilledLeavesTheOldOrTheNewDatabase();
};

namespace {

// The user the checks of write protection run as when the suite runs as root,
// which the file permissions would not stop.
constexpr uid_t kNobody = 65534;

QRandomGenerator rng;
QString pelmProgram = QStringLiteral(PELM_EXECUTABLE);
std::unique_ptr<QTemporaryDir> programCopy;

bool runsAsRoot()
{
    return ::geteuid() == 0;
}

int trials(int normal)
{
    const QByteArray soak = qgetenv("PELM_SOAK");
    if (soak.isEmpty())
        return normal;
    const int factor = soak.toInt();
    return normal * (factor > 1 ? factor : 25);
}

struct Run
{
    int exitCode = -1; // -1: crashed, killed or did not finish
    QString out;
    QString err;
};

void prepare(QProcess& process, bool unprivileged, const QString& home = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "C.UTF-8");
    if (unprivileged && runsAsRoot()) {
        env.insert("HOME", home);
        env.remove("XDG_RUNTIME_DIR");
        process.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(126);
        });
    }
    process.setProcessEnvironment(env);
}

Run finish(QProcess& process)
{
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

Run runPelm(const QStringList& arguments, bool unprivileged = false, const QString& home = {})
{
    QProcess process;
    prepare(process, unprivileged, home);
    process.start(pelmProgram, arguments);
    return finish(process);
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Opens `path` as pelm does, runs `use` on it, and closes it again. Returns
// what opening said (empty when it opened).
QString withDatabase(const QString& path, const std::function<void(const QSqlDatabase&)>& use = {})
{
    static int next = 0;
    const QString name = QStringLiteral("reliability-%1").arg(++next);
    QString error;
    {
        QSqlDatabase db = database_file::open(path, name, &error);
        if (error.isEmpty() && use)
            use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

int countLike(const QSqlDatabase& db, const QString& prefix)
{
    return sql::scalar(db, "select count(*) from owner_info where owner_name like ?",
                       QVariantList{QString(prefix + "%")})
        .toInt();
}

// Owners written in one transaction, straight through the data layer.
void addOwners(const QString& path, const QString& prefix, int count)
{
    const QString error = withDatabase(path, [&](const QSqlDatabase& db) {
        Transaction transaction(db);
        for (int i = 0; i < count; ++i)
            sql::insert(db, "owner_info",
                        sql::Fields{{QString("owner_name"), QString(prefix + QString::number(i))}});
        transaction.commit();
    });
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

QString makeDatabase(const QString& path)
{
    return database_file::create(path);
}

// A process that prints lines; waits for one starting with `start`.
bool waitForLine(QProcess& process, const QByteArray& start, QByteArray* line = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        while (process.canReadLine()) {
            const QByteArray l = process.readLine().trimmed();
            if (l.startsWith(start)) {
                if (line)
                    *line = l;
                return true;
            }
        }
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(100);
    }
    return false;
}

void sleepMicroseconds(qint64 us)
{
    if (us > 0)
        QThread::usleep(static_cast<unsigned long>(us));
}

bool anyFileEndingIn(const QDir& dir, const QString& suffix)
{
    const QStringList names = dir.entryList(QDir::Files);
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return n.endsWith(suffix); });
}

} // namespace

void TestReliability::initTestCase()
{
    const QByteArray seedText = qgetenv("PELM_SEED");
    const quint32 seed = seedText.isEmpty() ? QRandomGenerator::system()->generate() : seedText.toUInt();
    rng.seed(seed);
    qInfo("PELM_SEED=%u", seed);

    QVERIFY2(QFileInfo(pelmProgram).isExecutable(), qPrintable(pelmProgram));
    QVERIFY2(QFileInfo(PELM_WRITER).isExecutable(), PELM_WRITER);
    if (runsAsRoot()) {
        // The unprivileged checks need a program the other user may run,
        // wherever the build tree lies.
        programCopy = std::make_unique<QTemporaryDir>();
        QVERIFY(programCopy->isValid());
        QFile::setPermissions(programCopy->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadOther | QFile::ExeOther);
        const QString copy = programCopy->filePath("pelm");
        QVERIFY(QFile::copy(pelmProgram, copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                QFile::ExeOther));
        pelmProgram = copy;
    }
}

void TestReliability::initDbKilledLeavesNoFileOrAWholeOne()
{
    QTemporaryDir dir;
    // One whole run, watched: when the unfinished file appears, when it ends.
    QElapsedTimer clock;
    QProcess whole;
    prepare(whole, false);
    clock.start();
    whole.start(pelmProgram, {"--init-db", "--database", dir.filePath("measure.mdb")});
    qint64 appearedUs = -1;
    while (!whole.waitForFinished(0)) {
        if (appearedUs < 0 && anyFileEndingIn(QDir(dir.path()), ".new"))
            appearedUs = clock.nsecsElapsed() / 1000;
    }
    const qint64 wholeUs = clock.nsecsElapsed() / 1000;
    QCOMPARE(whole.exitCode(), 0);
    QVERIFY2(withDatabase(dir.filePath("measure.mdb")).isEmpty(), "the measured file does not open");
    const qint64 buildingUs = appearedUs >= 0 ? std::max<qint64>(wholeUs - appearedUs, 1000) : wholeUs;
    qInfo("--init-db takes %lld us, %lld us of it building the file", wholeUs, buildingUs);

    int absent = 0;
    int complete = 0;
    const int n = trials(20);
    for (int trial = 0; trial < n; ++trial) {
        const QString folder = dir.filePath(QString::number(trial));
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath("pelm.mdb");
        QProcess process;
        prepare(process, false);
        process.start(pelmProgram, {"--init-db", "--database", path});
        QVERIFY(process.waitForStarted());
        if (trial % 2 == 0) {
            // Any moment of the whole run ...
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(wholeUs))));
        } else {
            // ... or one while the file is being built.
            while (process.state() == QProcess::Running && !anyFileEndingIn(QDir(folder), ".new"))
                QThread::usleep(100);
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(buildingUs))));
        }
        process.kill();
        process.waitForFinished();

        if (!QFileInfo::exists(path)) {
            ++absent;
            // Nothing stands in the way of making it again.
            const Run again = runPelm({"--init-db", "--database", path});
            QVERIFY2(again.exitCode == 0, qPrintable(again.err));
        } else {
            ++complete;
        }
        const QString error = withDatabase(path);
        QVERIFY2(error.isEmpty(), qPrintable(QString("trial %1: %2").arg(trial).arg(error)));
    }
    qInfo("%d kills: %d left no file, %d a complete one", n, absent, complete);
}

void TestReliability::aFinishedFileNeverReplacesOneThatAppeared()
{
    // Another --init-db, or the office copying a file in, got there first.
    QTemporaryDir dir;
    const QString target = dir.filePath("pelm.mdb");
    const QString built = database_file::buildingName(target);
    QCOMPARE(database_file::create(built), QString());
    QFile other(target);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("theirs");
    other.close();

    const QString refusal = database_file::place(built, target);
    QVERIFY2(refusal.contains("已经存在") && refusal.contains(shown(target)), qPrintable(refusal));
    QCOMPARE(digest(target), QCryptographicHash::hash("theirs", QCryptographicHash::Sha256));
    QVERIFY(QFileInfo::exists(built));
}

void TestReliability::transactionKilledIsAllOrNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path), QString());
    constexpr int kRows = 3000;

    // How long the transaction takes here, from its first row to its commit.
    QProcess measure;
    prepare(measure, false);
    measure.start(PELM_WRITER, {"batch", path, "measure", QString::number(kRows)});
    QVERIFY(waitForLine(measure, "begun"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(waitForLine(measure, "committing"));
    const qint64 writingUs = clock.nsecsElapsed() / 1000;
    QVERIFY(waitForLine(measure, "committed"));
    const qint64 windowUs = clock.nsecsElapsed() / 1000;
    const qint64 commitUs = std::max<qint64>(windowUs - writingUs, 1000);
    QVERIFY(measure.waitForFinished());
    qInfo("%d rows in one transaction: %lld us, %lld us of it the commit", kRows, windowUs, commitUs);

    int none = 0;
    int all = 0;
    const int n = trials(20);
    for (int trial = 0; trial < n; ++trial) {
        const QString tag = QStringLiteral("T%1").arg(trial);
        QProcess writer;
        prepare(writer, false);
        writer.start(PELM_WRITER, {"batch", path, tag, QString::number(kRows)});
        QVERIFY2(waitForLine(writer, "begun"), qPrintable(QString::fromUtf8(writer.readAllStandardError())));
        if (trial % 2 == 0) {
            // Any moment of the transaction ...
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(windowUs) * 1.3)));
        } else {
            // ... or one about its commit.
            QVERIFY(waitForLine(writer, "committing"));
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(commitUs) * 1.5)));
        }
        writer.kill();
        writer.waitForFinished();

        int rows = -1;
        const QString error =
            withDatabase(path, [&](const QSqlDatabase& db) { rows = countLike(db, tag + "-"); });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(rows == 0 || rows == kRows, qPrintable(QString("trial %1: %2 rows").arg(trial).arg(rows)));
        ++(rows == 0 ? none : all);
    }
    QStringList problems;
    QVERIFY(withDatabase(path, [&](const QSqlDatabase& db) {
                problems = sqlite_file::integrityProblems(db);
            }).isEmpty());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    qInfo("%d kills: %d left none of the rows, %d all of them", n, none, all);
}

void TestReliability::badFilesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");       // part of the message
    QTest::addColumn<bool>("asAnotherUser"); // run as an ordinary user, whom permissions stop

    QTest::newRow("missing") << "missing"
                             << "找不到数据库文件" << false;
    QTest::newRow("a folder") << "folder"
                              << "是一个文件夹" << false;
    QTest::newRow("text") << "text"
                          << "不是数据库文件" << false;
    QTest::newRow("random bytes") << "random"
                                  << "不是数据库文件" << false;
    QTest::newRow("empty") << "empty"
                           << "不是物业管理系统的数据库" << false;
    QTest::newRow("truncated") << "truncated"
                               << "已损坏" << false;
    QTest::newRow("read-only file") << "read-only file"
                                    << "是只读的" << true;
    QTest::newRow("read-only folder") << "read-only folder"
                                      << "所在的文件夹" << true;
    QTest::newRow("locked") << "locked"
                            << "正被其他程序独占" << false;
    QTest::newRow("newer version") << "newer"
                                   << "来自更新的版本" << false;
    QTest::newRow("foreign") << "foreign"
                             << "不是物业管理系统的数据库" << false;
    QTest::newRow("table missing") << "table missing"
                                   << "缺少表work_plan" << false;
    QTest::newRow("column missing") << "column missing"
                                    << "表garden缺少字段remarks" << false;
}

void TestReliability::badFilesAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QFETCH(bool, asAnotherUser);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath("office");
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(out));
    const QString path = QDir(folder).filePath("pelm.mdb");

    auto writeFile = [&](const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto sound = [&] { QCOMPARE(makeDatabase(path), QString()); };
    auto change = [&](const QString& statement) {
        sound();
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "change");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        sql::exec(db, statement);
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("change");
    };

    QSqlDatabase holder; // keeps the file locked for "locked"
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "text") {
        writeFile(QStringLiteral("这不是数据库，是一份备忘录。\nnotes: call the plumber\n").toUtf8());
    } else if (kind == "random") {
        QByteArray bytes(64 * 1024, '\0');
        for (char& b : bytes)
            b = static_cast<char>(rng.bounded(256));
        writeFile(bytes);
    } else if (kind == "empty") {
        writeFile({});
    } else if (kind == "truncated") {
        sound();
        addOwners(path, "owner-", 5000);
        QFile f(path);
        QVERIFY(!QFileInfo::exists(path + "-wal"));
        QVERIFY(f.resize(f.size() / 2));
    } else if (kind == "read-only file") {
        sound();
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (kind == "read-only folder") {
        sound();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    } else if (kind == "locked") {
        sound(); // locked below, once the file has been read
    } else if (kind == "newer") {
        change(QStringLiteral("PRAGMA user_version = %1").arg(schema::kVersion + 1));
    } else if (kind == "foreign") {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        sql::exec(db, "create table recipes (name text, steps text)");
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("foreign");
    } else if (kind == "table missing") {
        change("drop table work_plan");
    } else if (kind == "column missing") {
        change("alter table garden rename column remarks to notes");
    } else if (kind != "missing") {
        QFAIL(qPrintable("no such kind of file: " + kind));
    }

    if (asAnotherUser && runsAsRoot()) {
        // Root writes whatever the permissions say: the file belongs to an
        // ordinary user, who runs pelm.
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ExeOther));
        for (const QString& owned : {folder, path, out})
            QVERIFY(::chown(QFile::encodeName(owned).constData(), kNobody, kNobody) == 0);
    }
    const QByteArray before = digest(path);
    const QStringList folderBefore = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    if (kind == "locked") {
        // Another program holds the file for itself. (From here on this process
        // must not open the file otherwise: closing it would drop the lock.)
        holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(path);
        QVERIFY(holder.open());
        QVERIFY(sqlite_file::lockExclusively(holder).ok());
    }

    // The start, and a backup from the command line, say the same.
    const QString backup = QDir(out).filePath("backup.mdb");
    const QList<QStringList> starts = {{"--database", path}, {"--backup", backup, "--database", path}};
    for (const QStringList& arguments : starts) {
        const Run run = runPelm(arguments, asAnotherUser, out);
        const QString where = arguments.join(' ') + ": " + run.err;
        QVERIFY2(run.exitCode > 0, qPrintable(where));
        QVERIFY2(run.err.contains(shown(path)), qPrintable(where));
        QVERIFY2(run.err.contains(says), qPrintable(where));
        QVERIFY2(!QFileInfo::exists(backup), qPrintable(where));
    }
    if (holder.isValid()) {
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
    }
    // The refused file is as it was, and nothing was made beside it.
    QCOMPARE(digest(path), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), folderBefore);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestReliability::backupTakenWhileWritingRestoresSound()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path), QString());
    // Large enough that the copy takes many parts.
    constexpr int kOwners = 20000;
    addOwners(path, "owner-", kOwners);
    constexpr int kRowsPerTransaction = 10;

    const int n = trials(3);
    for (int trial = 0; trial < n; ++trial) {
        const QString tag = QStringLiteral("C%1").arg(trial);
        QProcess writer;
        prepare(writer, false);
        writer.start(PELM_WRITER, {"churn", path, tag, QString::number(kRowsPerTransaction)});
        QByteArray first;
        QVERIFY2(waitForLine(writer, "committed", &first),
                 qPrintable(QString::fromUtf8(writer.readAllStandardError())));

        const QString backup = dir.filePath(QStringLiteral("backup-%1.mdb").arg(trial));
        const Run backedUp = runPelm({"--backup", backup, "--database", path});
        QVERIFY2(backedUp.exitCode == 0, qPrintable(backedUp.err));
        QVERIFY(backedUp.err.contains(shown(backup))); // messages go to standard error

        // The writer went on through the backup.
        QByteArray last;
        QVERIFY(waitForLine(writer, "committed", &last));
        QCOMPARE(writer.state(), QProcess::Running);
        writer.kill();
        writer.waitForFinished();
        qInfo("trial %d: the writer committed from \"%s\" to \"%s\"", trial, first.constData(),
              last.constData());

        const QString restored = dir.filePath(QStringLiteral("restored-%1.mdb").arg(trial));
        const Run restore = runPelm({"--restore", backup, "--database", restored});
        QVERIFY2(restore.exitCode == 0, qPrintable(restore.err));

        int owners = -1;
        int written = -1;
        QStringList problems{"not checked"};
        const QString error = withDatabase(restored, [&](const QSqlDatabase& db) {
            owners = countLike(db, "owner-");
            written = countLike(db, tag + "-");
            problems = sqlite_file::integrityProblems(db);
        });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(owners, kOwners);
        // One moment of the file: whole transactions only.
        QVERIFY(written >= kRowsPerTransaction);
        QCOMPARE(written % kRowsPerTransaction, 0);
    }
}

void TestReliability::restoreKilledLeavesTheOldOrTheNewDatabase()
{
    QTemporaryDir dir;
    constexpr int kOld = 10000;
    constexpr int kNew = 8000;
    const QString source = dir.filePath("source.mdb");
    QCOMPARE(makeDatabase(source), QString());
    addOwners(source, "new-", kNew);
    const QString backup = dir.filePath("backup.mdb");
    const Run made = runPelm({"--backup", backup, "--database", source});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));

    // One whole restore, watched: when the replaced file has been kept (the
    // database is written from then on), when it ends.
    const QString measured = dir.filePath("measured.mdb");
    QCOMPARE(makeDatabase(measured), QString());
    QElapsedTimer clock;
    QProcess whole;
    prepare(whole, false);
    clock.start();
    whole.start(pelmProgram, {"--restore", backup, "--database", measured});
    qint64 keptUs = -1;
    while (!whole.waitForFinished(0)) {
        if (keptUs < 0 && anyFileEndingIn(QDir(dir.path()), ".bak"))
            keptUs = clock.nsecsElapsed() / 1000;
    }
    const qint64 wholeUs = clock.nsecsElapsed() / 1000;
    QCOMPARE(whole.exitCode(), 0);
    const qint64 writingUs = keptUs >= 0 ? std::max<qint64>(wholeUs - keptUs, 1000) : wholeUs;
    qInfo("--restore takes %lld us, %lld us of it after keeping the old file", wholeUs, writingUs);

    // The database each trial restores over, closed: one file.
    const QString template_ = dir.filePath("old.mdb");
    QCOMPARE(makeDatabase(template_), QString());
    addOwners(template_, "old-", kOld);
    QVERIFY(!QFileInfo::exists(template_ + "-wal"));

    int old = 0;
    int restored = 0;
    const int n = trials(10);
    for (int trial = 0; trial < n; ++trial) {
        const QString folder = dir.filePath(QString::number(trial));
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath("pelm.mdb");
        QVERIFY(QFile::copy(template_, path));

        QProcess process;
        prepare(process, false);
        process.start(pelmProgram, {"--restore", backup, "--database", path});
        QVERIFY(process.waitForStarted());
        if (trial % 2 == 0) {
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(wholeUs))));
        } else {
            while (process.state() == QProcess::Running && !anyFileEndingIn(QDir(folder), ".bak"))
                QThread::usleep(100);
            sleepMicroseconds(static_cast<qint64>(rng.bounded(double(writingUs))));
        }
        process.kill();
        process.waitForFinished();

        int oldRows = -1;
        int newRows = -1;
        QStringList problems{"not checked"};
        const QString error = withDatabase(path, [&](const QSqlDatabase& db) {
            oldRows = countLike(db, "old-");
            newRows = countLike(db, "new-");
            problems = sqlite_file::integrityProblems(db);
        });
        QVERIFY2(error.isEmpty(), qPrintable(QString("trial %1: %2").arg(trial).arg(error)));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        const bool isOld = oldRows == kOld && newRows == 0;
        const bool isNew = oldRows == 0 && newRows == kNew;
        QVERIFY2(
            isOld || isNew,
            qPrintable(QString("trial %1: %2 old and %3 new owners").arg(trial).arg(oldRows).arg(newRows)));
        ++(isOld ? old : restored);
    }
    qInfo("%d kills: %d left the old database, %d the restored one", n, old, restored);
}

QTEST_GUILESS_MAIN(TestReliability)
#include "tst_reliability.moc"
