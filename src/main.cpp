#include "app/DesktopServices.h"
#include "app/Fonts.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "db/DatabaseFile.h"
#include "output/PrintPreview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {

struct Options
{
    bool initDb = false;
    QString databasePath;
};

Options parseOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("物业管理系统"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption initDb(QStringLiteral("init-db"),
                                    QStringLiteral("创建一个新的空数据库文件后退出；已有的文件不会被改动。"));
    const QCommandLineOption database(
        QStringLiteral("database"), QStringLiteral("数据库文件，默认为当前目录下的 pelm.mdb。"),
        QStringLiteral("PATH"), QString::fromLatin1(database_file::kDefaultFileName));
    parser.addOption(initDb);
    parser.addOption(database);
    parser.process(app);
    return {parser.isSet(initDb), parser.value(database)};
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("pelm"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELM_VERSION));
}

// `pelm --init-db` needs no display: it runs without a GUI application.
bool asksForInitDb(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--init-db") == 0)
            return true;
    }
    return false;
}

int initDatabase(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    setIdentity();
    const Options options = parseOptions(app);
    const QString error = database_file::create(options.databasePath);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s\n",
                QStringLiteral("已创建数据库文件 %1").arg(options.databasePath).toLocal8Bit().constData());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (asksForInitDb(argc, argv))
        return initDatabase(argc, argv);

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
    QSqlDatabase db = database_file::open(options.databasePath,
                                          QString::fromLatin1(database_file::kSharedConnection), &error);
    if (!error.isEmpty())
        messages.error(error);

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
