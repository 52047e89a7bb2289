#include "app/DesktopServices.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "commands/CommandLine.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "output/Fonts.h"
#include "output/PrintPreview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace {

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
    // `pelm <command>`: batch work without a window (see `pelm --help`).
    if (command_line::isCommand(argc, argv))
        return command_line::run(argc, argv, QStringLiteral(PELM_VERSION));

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelm"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELM_VERSION));
    // The desktop knows the program as "pelm": its window class, its Wayland app id
    // and the name of a desktop entry (pelm.desktop) that would describe it; the
    // task list shows the window titles.
    // No application display name is set: Qt would append it to every window title,
    // and the titles are the office's captions exactly.
    QGuiApplication::setDesktopFileName(QStringLiteral("pelm"));
    // Qt's own options (-platform, -style ...) are taken by the application
    // object; what is left is the database to work on.
    QCommandLineParser parser;
    const QCommandLineOption databaseOption(QStringLiteral("database"), QString(), QStringLiteral("PATH"));
    parser.addOption(databaseOption);
    parser.process(app);
    const QString databasePlace = database::chosen(parser.value(databaseOption));

    // Qt's own dialogs (buttons, print preview, calendars) in Chinese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    installFontSubstitutions();

    MessageBoxes messages;
    QString error;
    QSqlDatabase db =
        database::open(databasePlace, QString::fromLatin1(database_file::kSharedConnection), &error);
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
