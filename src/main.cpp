#include "app/DesktopServices.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "db/Database.h"
#include "db/DatabaseBackup.h"
#include "db/DatabaseCopy.h"
#include "db/DatabaseFile.h"
#include "db/ServerDatabase.h"
#include "output/Fonts.h"
#include "output/PrintPreview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// What a start is asked to do. Everything but Start runs on the command line,
// without a display, and ends with its exit status.
enum class Mode { Start, InitDb, Backup, Restore, CopyTo };

struct Options
{
    Mode mode = Mode::Start;
    QString databasePath;
    QString file; // the backup written by --backup, or read by --restore; the server of --copy-to
};

// The options that run without a display.
constexpr const char* kCommandOptions[] = {"init-db", "backup", "restore", "copy-to"};

Options parseOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("物业管理系统"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption initDb(QStringLiteral("init-db"),
                                    QStringLiteral("创建一个新的空数据库文件后退出；已有的文件不会被改动。"));
    const QCommandLineOption backup(
        QStringLiteral("backup"),
        QStringLiteral("把数据库备份到一个新文件 FILE 后退出；其他人可以继续工作。"), QStringLiteral("FILE"));
    const QCommandLineOption restore(
        QStringLiteral("restore"),
        QStringLiteral("检查备份文件 FILE，再用它替换数据库后退出；原来的文件以带日期的名字保留在旁边。"
                       "须先关闭所有使用该数据库的物业管理系统。"),
        QStringLiteral("FILE"));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("数据库文件，或数据库服务器的连接（如 postgresql:///pelm?host=/run/postgresql 或 "
                       "service=pelm，密码放在 ~/.pgpass 中）。未指定时依次取环境变量 PELM_DATABASE、"
                       "设置中的 database，最后为当前目录下的 pelm.mdb。"),
        QStringLiteral("PATH"));
    const QCommandLineOption copyTo(
        QStringLiteral("copy-to"),
        QStringLiteral("把数据库（--database）的全部数据复制到数据库服务器上的空数据库 CONNECTION 后退出；"
                       "核对各表行数和金额合计，不一致时不保留任何内容。"),
        QStringLiteral("CONNECTION"));
    parser.addOptions({initDb, backup, restore, copyTo, database});
    parser.process(app);

    Options options;
    options.databasePath = database::chosen(parser.value(database));
    int modes = 0;
    if (parser.isSet(initDb)) {
        options.mode = Mode::InitDb;
        ++modes;
    }
    if (parser.isSet(backup)) {
        options.mode = Mode::Backup;
        options.file = parser.value(backup);
        ++modes;
    }
    if (parser.isSet(restore)) {
        options.mode = Mode::Restore;
        options.file = parser.value(restore);
        ++modes;
    }
    if (parser.isSet(copyTo)) {
        options.mode = Mode::CopyTo;
        options.file = parser.value(copyTo);
        ++modes;
    }
    if (modes > 1) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("--init-db、--backup、--restore 和 --copy-to 每次只能用一个。")
                         .toLocal8Bit()
                         .constData());
        std::exit(1);
    }
    return options;
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("pelm"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELM_VERSION));
}

bool isCommand(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) != 0)
            continue;
        for (const char* option : kCommandOptions) {
            const std::size_t length = std::strlen(option);
            if (std::strncmp(arg + 2, option, length) == 0 &&
                (arg[2 + length] == '\0' || arg[2 + length] == '='))
                return true;
        }
    }
    return false;
}

int report(bool ok, const QString& message)
{
    std::fprintf(ok ? stdout : stderr, "%s\n", message.toLocal8Bit().constData());
    return ok ? 0 : 1;
}

int backupDatabase(const Options& options)
{
    const QString connectionName = QStringLiteral("pelm-command");
    database_backup::Result result;
    {
        QString error;
        QSqlDatabase db = database::open(options.databasePath, connectionName, &error);
        if (!error.isEmpty())
            return report(false, error);
        result = database_backup::backup(db, options.file);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return report(result.done(), result.message);
}

int copyDatabase(const Options& options)
{
    if (!database::isServer(options.file))
        return report(
            false, QStringLiteral(
                       "--copy-to 需要数据库服务器的连接，例如 postgresql:///pelm?host=/run/postgresql。"));
    const QString connectionName = QStringLiteral("pelm-command");
    database_copy::Result result;
    {
        QString error;
        QSqlDatabase db = database::open(options.databasePath, connectionName, &error);
        if (!error.isEmpty())
            return report(false, error);
        result = database_copy::copyTo(db, options.file);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return report(result.done, result.message);
}

// `pelm --init-db`, `--backup`, `--restore` and `--copy-to` need no display: they run
// without a GUI application.
int runCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    setIdentity();
    const Options options = parseOptions(app);
    switch (options.mode) {
    case Mode::InitDb: {
        const QString error = database::create(options.databasePath);
        if (!error.isEmpty())
            return report(false, error);
        if (database::isServer(options.databasePath))
            return report(
                true,
                QStringLiteral("已在%1中创建数据表").arg(server_database::describe(options.databasePath)));
        return report(true, QStringLiteral("已创建数据库文件 %1").arg(options.databasePath));
    }
    case Mode::Backup:
        return backupDatabase(options);
    case Mode::Restore: {
        const database_backup::Result result =
            database_backup::restore(options.file, options.databasePath, QDateTime::currentDateTime());
        return report(result.done(), result.message);
    }
    case Mode::CopyTo:
        return copyDatabase(options);
    case Mode::Start:
        break;
    }
    return 1;
}

// Whether a box on this platform reaches anybody: the offscreen and minimal
// platforms show nothing that could be read or closed.
bool boxesAreSeen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1StringView("offscreen") && platform != QLatin1StringView("minimal");
}

} // namespace

int main(int argc, char* argv[])
{
    if (isCommand(argc, argv))
        return runCommand(argc, argv);

    QApplication app(argc, argv);
    setIdentity();
    // The desktop knows the program as "pelm": its window class, its Wayland app id
    // and the name of a desktop entry (pelm.desktop) that would describe it; the
    // task list shows the window titles.
    // No application display name is set: Qt would append it to every window title,
    // and the titles are the office's captions exactly.
    QGuiApplication::setDesktopFileName(QStringLiteral("pelm"));
    const Options options = parseOptions(app);

    // Qt's own dialogs (buttons, print preview, calendars) in Chinese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    installFontSubstitutions();

    MessageBoxes messages;
    QString error;
    QSqlDatabase db =
        database::open(options.databasePath, QString::fromLatin1(database_file::kSharedConnection), &error);
    if (!error.isEmpty()) {
        // The office cannot work without its database: no main window, and a
        // start that failed says so in its exit status too.
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        if (boxesAreSeen())
            messages.error(error);
        return 1;
    }

    DesktopServices desktop;
    PrintPreview preview(messages, Clock::system(), desktop);
    ScreenContext shared;
    shared.db = db;
    shared.messages = &messages;
    shared.clock = &Clock::system();
    shared.desktop = &desktop;
    shared.reports = &preview;

    MainWindow window(shared);
    QObject::connect(&window, &MainWindow::finished, &app, &QApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
