#include "db/ServerStatus.h"

#include "db/OracleSession.h"

TSharedText &User_All_Name = ProcessState.login.User_All_Name;

namespace {
const QString Q = QStringLiteral("\"");

QString twoServersText(bool mainWord)
{
    return (mainWord ? QStringLiteral("   Два сервера. Основной: ")
                     : QStringLiteral("   Два сервера. Работаю с: ")) +
           Q + FOracleBase->ADatabase->LogonDatabase() + Q + QStringLiteral("   ");
}

QString serverPart(bool full)
{
    const TOracleSession &a = *FOracleBase->ADatabase;
    if (N_SRV != 1)
        return QStringLiteral("   ") + a.LogonUsername() + QStringLiteral("@") + a.LogonDatabase() +
               QStringLiteral("   ");
    if (full)
        return twoServersText(true);
    if (WriteToRezerv)
        return twoServersText(!WorkResSrv);
    return QStringLiteral("   Нет горячего резерва. Работаю с: ") + Q + a.LogonDatabase() + Q +
           QStringLiteral("   ");
}

QString userPart(bool always)
{
    const QString name = User_All_Name;
    if (name.isEmpty() && !always)
        return QString();
    return QStringLiteral("Пользователь: ") + Q + name + Q + QStringLiteral("   ");
}

} // namespace

QString ServerStatusText()
{
    return serverPart(false) + userPart(false);
}

QString ServerStatusTextFull()
{
    return serverPart(true) + userPart(true);
}
