#include "batch/BatchLogin.h"

#include "batch/BatchOptions.h"

#include <QFile>
#include <QFileInfo>

namespace {
[[noreturn]] void refuse(const QString &Text)
{
    throw EBatchUsage(Text.toStdString());
}

QString passwordFromFile(const QString &File)
{
    const QFileInfo info(File);
    if (!info.isFile())
        refuse(QStringLiteral("the password file ") + File + QStringLiteral(" does not exist"));
    if (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
        refuse(QStringLiteral("the password file ") + File +
               QStringLiteral(" is readable by group or others; make it private first "
                              "(chmod 600 ") +
               File + u')');
    QFile file(File);
    if (!file.open(QIODevice::ReadOnly))
        refuse(QStringLiteral("cannot read the password file ") + File + QStringLiteral(": ") +
               file.errorString());
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}
} // namespace

TCommandLineLogin BatchLogin(const TBatchOptions &Options, const QString &EnvPassword,
                             QString *Warning)
{
    if (Options.Login.contains(u'/')) {
        if (Warning)
            *Warning = QStringLiteral(
                "warning: a password on the command line is visible to every user of the "
                "machine; give name@alias with --password-file FILE or QUORVEL_PASSWORD");
        return ParseLoginArgument(Options.Login);
    }
    TCommandLineLogin login;
    login.Name = Options.Login.section(u'@', 0, 0);
    if (!Options.PasswordFile.isEmpty())
        login.Password = passwordFromFile(Options.PasswordFile);
    else if (!EnvPassword.isNull())
        login.Password = EnvPassword;
    else
        refuse(QStringLiteral("no password for ") + login.Name +
               QStringLiteral(": give --password-file FILE or set QUORVEL_PASSWORD"));
    return login;
}
