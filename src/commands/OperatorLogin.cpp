#include "commands/OperatorLogin.h"

#include <QFile>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace operator_login {
namespace {

QString promptedPassword(const QString& code)
{
    const QByteArray prompt = QStringLiteral("操作员 %1 的密码：").arg(code).toUtf8();
    std::fwrite(prompt.constData(), 1, std::size_t(prompt.size()), stderr);
    std::fflush(stderr);

    termios saved{};
    const bool echoOff = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (echoOff) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    QByteArray typed;
    for (int c = std::fgetc(stdin); c != EOF && c != '\n'; c = std::fgetc(stdin))
        typed.append(char(c));
    if (echoOff)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputc('\n', stderr);
    return QString::fromLocal8Bit(typed);
}

} // namespace

QString password(const QString& code)
{
    const QString file = qEnvironmentVariable("PELM_PASSWORD_FILE");
    if (!file.isEmpty()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            refuseCommand(QStringLiteral("无法读取密码文件%1：%2").arg(file, f.errorString()));
        QByteArray line = f.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        return QString::fromUtf8(line);
    }
    if (!Console::isTerminal(stdin))
        refuseCommand(QStringLiteral("需要操作员 %1 的密码：请在终端上运行，或用环境变量 PELM_PASSWORD_FILE "
                                     "指定存放密码的文件。")
                          .arg(code));
    return promptedPassword(code);
}

operator_accounts::Login logIn(Invocation& invocation, const Needed& needed)
{
    const QString code = invocation.operatorCode().trimmed();
    if (code.isEmpty())
        badUsage(QStringLiteral("这个命令需要操作员：请用 --operator 指定操作员代码。"));
    QSqlDatabase db = invocation.db();
    // As at the login window: an empty operator table gets the default administrator.
    operator_accounts::ensureDefaultAdministrator(db);
    const Checked<operator_accounts::Login> login = operator_accounts::logIn(db, code, password(code));
    if (!login.ok())
        refuseCommand(login.refusal().text);
    const Access access = login.value().rights.access(needed.group, needed.position);
    if (access < needed.access)
        refuseCommand(
            QStringLiteral("操作员 %1 没有“%2”的%3权限。")
                .arg(code, needed.function,
                     needed.access == Access::Edit ? QStringLiteral("编辑") : QStringLiteral("浏览")));
    return login.value();
}

} // namespace operator_login
