#include "db/DatabaseFile.h"
#include "db/Sql.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// `pelm --init-db` as the README tells it: run in a folder, it makes pelm.mdb
// there; run again, it refuses and leaves the file as it was.
class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initDbCreatesOnceAndRefusesAfter();
    void initDbAtAnotherPath();
};

namespace {

int runPelm(const QString& workingDirectory, const QStringList& arguments, QByteArray* errors = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(PELM_EXECUTABLE, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

int tableCount(const QString& path)
{
    QString error;
    int count = -1;
    {
        QSqlDatabase db = database_file::open(path, "check", &error);
        if (error.isEmpty())
            count =
                sql::scalar(db, "select count(*) from sqlite_master where type = 'table' and name not like "
                                "'sqlite%'")
                    .toInt();
    }
    QSqlDatabase::removeDatabase("check");
    return count;
}

} // namespace

void TestCommandLine::initDbCreatesOnceAndRefusesAfter()
{
    QTemporaryDir dir;
    QCOMPARE(runPelm(dir.path(), {"--init-db"}), 0);
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(tableCount(path), 31);

    const QByteArray before = digest(path);
    QByteArray errors;
    QCOMPARE(runPelm(dir.path(), {"--init-db"}, &errors), 1);
    QVERIFY(QString::fromLocal8Bit(errors).contains(QStringLiteral("已经存在")));
    QCOMPARE(digest(path), before);
}

void TestCommandLine::initDbAtAnotherPath()
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("estate.db");
    QCOMPARE(runPelm(dir.path(), {"--init-db", "--database", path}), 0);
    QVERIFY(!QFile::exists(dir.filePath("pelm.mdb")));
    QCOMPARE(tableCount(path), 31);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
