#include "mail/MailSettings.h"

#include "common/IniFile.h"
#include "db/OracleBase.h"

#include <QDir>

#include <algorithm>

namespace {
const QString Section = QStringLiteral("Mail");

IniFile viriIni()
{
    return IniFile(CurrDir + QDir::separator() + QStringLiteral("viri.ini"));
}
} // namespace

QString MailFromAddress()
{
    const QString address = viriIni()
                                .readString(Section, QStringLiteral("FROM_ADDRESS"),
                                            QString::fromLatin1(DefaultFromAddress))
                                .trimmed();
    return address.isEmpty() ? QString::fromLatin1(DefaultFromAddress) : address;
}

int MailReadTimeoutSeconds()
{
    const int seconds =
        viriIni().readInteger(Section, QStringLiteral("READ_TIMEOUT"), DefaultReadTimeoutSeconds);
    return seconds > 0 ? std::min(seconds, MaxReadTimeoutSeconds) : DefaultReadTimeoutSeconds;
}
