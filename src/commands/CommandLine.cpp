#include "commands/CommandLine.h"

#include "commands/BillCommand.h"
#include "commands/Console.h"
#include "commands/DatabaseCommands.h"
#include "commands/Invocation.h"
#include "commands/ListCatalogue.h"
#include "commands/ListCommands.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "output/Fonts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstring>
#include <memory>

namespace command_line {
namespace {

using Option = QCommandLineOption;

// One command: its word, what the help says of it, its own options and what it does.
struct Command
{
    const char* name = nullptr;
    QString arguments = {}; // as the help shows them: "列表 -o 文件"
    QString summary = {};
    QList<Option> options = {};
    int (*run)(Invocation& invocation) = nullptr;
    QString more = {}; // what the command's own help adds
};

Option option(const QStringList& names, const QString& description, const QString& valueName = {})
{
    return Option(names, description, valueName);
}

QList<Option> globalOptions()
{
    return {
        option(
            {QStringLiteral("database")},
            QStringLiteral("数据库文件，或数据库服务器的连接（如 postgresql:///pelm?host=/run/postgresql 或 "
                           "service=pelm，密码放在 ~/.pgpass 中）。未指定时依次取环境变量 PELM_DATABASE、"
                           "设置中的 database，最后为当前目录下的 pelm.mdb。"),
            QStringLiteral("数据库")),
        option({QStringLiteral("operator")},
               QStringLiteral("操作员代码。密码从环境变量 PELM_PASSWORD_FILE 指定的文件读取，"
                              "或在终端上输入（不显示）；从不写在命令行上。"),
               QStringLiteral("代码")),
        option({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("只在出错时输出。")),
        option({QStringLiteral("json")},
               QStringLiteral("最后输出一行 JSON 摘要（数目、金额、写出的文件）。")),
        option({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("显示帮助。")),
        option({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("显示版本号。")),
    };
}

QList<Option> filterOptions()
{
    return {
        option({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("写出的文件。"),
               QStringLiteral("文件")),
        option({QStringLiteral("owner")}, QStringLiteral("住户名称或住户编号。"), QStringLiteral("住户")),
        option({QStringLiteral("from")}, QStringLiteral("起始日期（2026-01-01）或月份（2026-01）。"),
               QStringLiteral("日期")),
        option({QStringLiteral("to")}, QStringLiteral("截止日期（2026-01-31）或月份（2026-01）。"),
               QStringLiteral("日期")),
        option({QStringLiteral("building")}, QStringLiteral("大楼名称或编号。"), QStringLiteral("大楼")),
        option({QStringLiteral("department")}, QStringLiteral("部门名称或编号。"), QStringLiteral("部门")),
        option({QStringLiteral("kind")}, QStringLiteral("设备类别名称或编号。"), QStringLiteral("类别")),
        option({QStringLiteral("all")}, QStringLiteral("包括已搬出的住户。")),
    };
}

QString listNames(std::span<const ListEntry> entries)
{
    QStringList lines;
    for (const ListEntry& entry : entries)
        lines << QStringLiteral("  %1%2").arg(QString::fromLatin1(entry.name).leftJustified(14),
                                              entry.text());
    return lines.join(u'\n');
}

const QList<Command>& commands()
{
    static const QList<Command> all = {
        {.name = "init",
         .summary = QStringLiteral("创建一个新的空数据库；已有的数据库不会被改动。"),
         .run = database_commands::init},
        {.name = "check",
         .summary = QStringLiteral("检查数据库：标记、版本、每个表和字段、数据库自身的完整性检查。"),
         .run = database_commands::check},
        {.name = "upgrade",
         .summary = QStringLiteral("把旧版本的数据库升级到本程序的版本。"),
         .run = database_commands::upgrade},
        {.name = "bill",
         .arguments = QStringLiteral("--from 月份 --to 月份"),
         .summary = QStringLiteral("物管费自动生成：为每个有房间的住户生成这几个月的物业费"
                                   "（规则同“物管费自动生成”窗口）。需要操作员。"),
         .options = {option({QStringLiteral("from")}, QStringLiteral("起始月份，如 2026-01。"),
                            QStringLiteral("月份")),
                     option({QStringLiteral("to")}, QStringLiteral("截止月份，如 2026-03。"),
                            QStringLiteral("月份")),
                     option({QStringLiteral("dry-run")},
                            QStringLiteral("只计算户数和金额合计，不保存任何内容。"))},
         .run = bill_command::run},
        {.name = "export",
         .arguments = QStringLiteral("列表 -o 文件"),
         .summary = QStringLiteral("导出一个列表，列和标题同窗口的“Excel”按钮；文件为 .xlsx 或 .csv，"
                                   "- 为标准输出（CSV）。需要操作员。"),
         .options = filterOptions(),
         .run = list_commands::exportList,
         .more = QString(QStringLiteral("可导出的列表：\n") + listNames(list_catalogue::exports()))},
        {.name = "print",
         .arguments = QStringLiteral("报表 -o 文件.pdf"),
         .summary = QStringLiteral("把一个打印报表写成 PDF，版式同窗口的打印预览。需要操作员。"),
         .options = filterOptions(),
         .run = list_commands::printList,
         .more = QString(QStringLiteral("可打印的报表：\n") + listNames(list_catalogue::reports()))},
        {.name = "backup",
         .arguments = QStringLiteral("文件"),
         .summary = QStringLiteral("把数据库备份到一个新文件；其他人可以继续工作。"),
         .run = database_commands::backup},
        {.name = "restore",
         .arguments = QStringLiteral("文件 --yes"),
         .summary = QStringLiteral("检查备份文件，再用它替换数据库；原来的文件以带日期的名字保留在旁边。"
                                   "须先关闭所有使用该数据库的物业管理系统。"),
         .options = {option({QStringLiteral("yes")}, QStringLiteral("确认替换数据库。"))},
         .run = database_commands::restore},
        {.name = "copy-to",
         .arguments = QStringLiteral("连接"),
         .summary =
             QStringLiteral("把数据库的全部数据复制到数据库服务器上的空数据库；核对各表行数和金额合计，"
                            "不一致时不保留任何内容。"),
         .run = database_commands::copyTo},
    };
    return all;
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : commands()) {
        if (name == QLatin1StringView(command.name))
            return &command;
    }
    return nullptr;
}

// Today's options that run a command, and the command each stands for.
struct Alias
{
    const char* option;
    const char* command;
    bool takesValue;
};
constexpr Alias kAliases[] = {
    {"init-db", "init", false},
    {"backup", "backup", true},
    {"restore", "restore", true},
    {"copy-to", "copy-to", true},
};

QList<Option> aliasOptions()
{
    QList<Option> options;
    for (const Alias& alias : kAliases) {
        Option o(QString::fromLatin1(alias.option), QStringLiteral("（旧写法）"),
                 alias.takesValue ? QStringLiteral("FILE") : QString());
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        options << o;
    }
    return options;
}

QString optionLines(const QList<Option>& options)
{
    QStringList lines;
    for (const Option& o : options) {
        if (o.flags().testFlag(QCommandLineOption::HiddenFromHelp))
            continue;
        QStringList names;
        for (const QString& name : o.names())
            names << (name.size() == 1 ? u"-" : u"--") + name;
        QString head = u"  " + names.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty())
            head += u' ' + o.valueName();
        lines << head;
        lines << u"      " + o.description();
    }
    return lines.join(u'\n');
}

QString globalHelp()
{
    QStringList text;
    text << QStringLiteral("物业管理系统");
    text << QString();
    text << QStringLiteral("用法：");
    text << QStringLiteral("  pelm [--database 数据库]                启动物业管理系统窗口");
    text << QStringLiteral("  pelm [通用选项] 命令 [命令的选项]       不需要窗口，完成后退出");
    text << QString();
    text << QStringLiteral("命令：");
    for (const Command& command : commands()) {
        text << QStringLiteral("  %1%2").arg(QString::fromLatin1(command.name).leftJustified(10),
                                             command.summary);
    }
    text << QString();
    text << QStringLiteral("通用选项：");
    text << optionLines(globalOptions());
    text << QString();
    text << QStringLiteral("运行 pelm 命令 --help 查看命令的选项。");
    text << QStringLiteral("退出状态：0 完成；1 被拒绝（规则、权限、文件有误）；2 用法有误。");
    return text.join(u'\n');
}

QString commandHelp(const Command& command)
{
    QStringList text;
    text << QStringLiteral("用法：pelm [通用选项] %1 %2")
                .arg(QString::fromLatin1(command.name), command.arguments)
                .trimmed();
    text << QString();
    text << command.summary;
    if (!command.more.isEmpty()) {
        text << QString();
        text << command.more;
    }
    if (!command.options.isEmpty()) {
        text << QString();
        text << QStringLiteral("选项：");
        text << optionLines(command.options);
    }
    text << QString();
    text << QStringLiteral("通用选项：");
    text << optionLines(globalOptions());
    return text.join(u'\n');
}

void writeOut(const QString& text)
{
    const QByteArray utf8 = (text + u'\n').toUtf8();
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), stdout);
    std::fflush(stdout);
}

// QCommandLineParser's own error texts are English; the office reads these.
QString parseError(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        QStringList names;
        for (const QString& name : parser.unknownOptionNames())
            names << (name.size() == 1 ? u"-" : u"--") + name;
        return QStringLiteral("未知的选项：%1").arg(names.join(QStringLiteral("、")));
    }
    static const QRegularExpression missing(QStringLiteral("Missing value after '(.+)'"));
    if (const auto m = missing.match(parser.errorText()); m.hasMatch())
        return QStringLiteral("选项 %1 缺少值。").arg(m.captured(1));
    static const QRegularExpression unexpected(QStringLiteral("Unexpected value after '(.+)'"));
    if (const auto m = unexpected.match(parser.errorText()); m.hasMatch())
        return QStringLiteral("选项 %1 不带值。").arg(m.captured(1));
    return QStringLiteral("命令行有误：%1").arg(parser.errorText());
}

const QString kSeeHelp = QStringLiteral("运行 pelm --help 查看用法。");

int usageError(const QString& text)
{
    Console(false, false).refuse(text + u'\n' + kSeeHelp);
    return exit_status::kBadUsage;
}

QString valueOf(const QCommandLineParser& second, const QCommandLineParser& first, const QString& name)
{
    return second.isSet(name) ? second.value(name) : first.value(name);
}

bool isSetIn(const QCommandLineParser& second, const QCommandLineParser& first, const QString& name)
{
    return second.isSet(name) || first.isSet(name);
}

int runParsed(const QStringList& args, const QString& version)
{
    // First the options every command takes and the command word; what follows
    // the word is the command's own.
    QCommandLineParser first;
    first.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    first.addOptions(globalOptions());
    first.addOptions(aliasOptions());
    if (!first.parse(args))
        return usageError(parseError(first));

    QString word;
    QStringList rest = first.positionalArguments();
    for (const Alias& alias : kAliases) {
        const QString name = QString::fromLatin1(alias.option);
        if (!first.isSet(name))
            continue;
        if (!word.isEmpty() || !rest.isEmpty())
            return usageError(QStringLiteral("--init-db、--backup、--restore 和 --copy-to 每次只能用一个，"
                                             "也不能和命令一起用。"));
        word = QString::fromLatin1(alias.command);
        if (alias.takesValue)
            rest = {first.value(name)};
    }
    const bool alias = !word.isEmpty();
    if (word.isEmpty()) {
        if (rest.isEmpty()) {
            if (first.isSet(QStringLiteral("version"))) {
                writeOut(QStringLiteral("pelm ") + version);
                return exit_status::kDone;
            }
            writeOut(globalHelp());
            return exit_status::kDone;
        }
        word = rest.takeFirst();
        if (word == u"help") {
            const Command* about = rest.isEmpty() ? nullptr : findCommand(rest.first());
            writeOut(about ? commandHelp(*about) : globalHelp());
            return exit_status::kDone;
        }
    }
    const Command* command = findCommand(word);
    if (!command)
        return usageError(QStringLiteral("未知的命令：%1").arg(word));

    QCommandLineParser second;
    second.addOptions(globalOptions());
    second.addOptions(command->options);
    if (!second.parse(QStringList{args.first()} + rest))
        return usageError(parseError(second));
    if (isSetIn(second, first, QStringLiteral("help"))) {
        writeOut(commandHelp(*command));
        return exit_status::kDone;
    }

    const Console console(isSetIn(second, first, QStringLiteral("quiet")),
                          isSetIn(second, first, QStringLiteral("json")));
    try {
        Invocation invocation(database::chosen(valueOf(second, first, QStringLiteral("database"))),
                              valueOf(second, first, QStringLiteral("operator")), console, second);
        // Today's --restore replaced the database without asking; scripts that
        // use it keep working. The command itself asks for --yes.
        invocation.setConfirmed(alias);
        return command->run(invocation);
    } catch (const CommandStop& stop) {
        console.refuse(stop.status == exit_status::kBadUsage ? stop.text + u'\n' + kSeeHelp : stop.text);
        return stop.status;
    } catch (const DbError& e) {
        console.refuse(e.detail().isEmpty() ? e.text() : e.text() + u'\n' + e.detail());
        return exit_status::kRefused;
    }
}

bool startsWith(const char* arg, const char* prefix)
{
    return std::strncmp(arg, prefix, std::strlen(prefix)) == 0;
}

} // namespace

bool isCommand(int argc, char* argv[])
{
    // What starts the window: --database and Qt's own options (some take the
    // next argument as their value). Anything else is for the command line,
    // which runs a command, shows the help or refuses what it does not know.
    static constexpr const char* kValued[] = {
        "--database",          "-platform",        "-style",        "-stylesheet",  "-display",
        "-geometry",           "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-session",
        "-platformpluginpath", "-platformtheme",   "-plugin"};
    static constexpr const char* kFlags[] = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool known = false;
        for (const char* name : kValued) {
            if (std::strcmp(arg, name) == 0) {
                ++i; // its value
                known = true;
            } else if (startsWith(arg, name) && arg[std::strlen(name)] == '=') {
                known = true;
            }
        }
        for (const char* name : kFlags)
            known = known || std::strcmp(arg, name) == 0;
        if (!known)
            return true;
    }
    return false;
}

int run(int argc, char* argv[], const QString& version)
{
    // A printed list is laid out with fonts, which need Qt GUI, on the offscreen
    // platform: no command ever needs a display.
    bool prints = false;
    for (int i = 1; i < argc; ++i)
        prints = prints || std::strcmp(argv[i], "print") == 0;
    std::unique_ptr<QCoreApplication> app;
    if (prints) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        installFontSubstitutions();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("pelm"));
    QCoreApplication::setApplicationVersion(version);
    return runParsed(QCoreApplication::arguments(), version);
}

} // namespace command_line
