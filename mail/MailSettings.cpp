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

std::optional<TSmtpSecurity> ParseMailSecurity(const QString &Text)
{
    const QString name = Text.trimmed().toLower();
    for (const TSmtpSecurity security :
         {TSmtpSecurity::None, TSmtpSecurity::StartTls, TSmtpSecurity::Tls})
        if (name == MailSecurityName(security))
            return security;
    if (name.isEmpty())
        return TSmtpSecurity::None;
    return std::nullopt;
}

QString MailSecurityName(TSmtpSecurity Security)
{
    switch (Security) {
    case TSmtpSecurity::StartTls:
        return QStringLiteral("starttls");
    case TSmtpSecurity::Tls:
        return QStringLiteral("tls");
    case TSmtpSecurity::None:
        break;
    }
    return QStringLiteral("none");
}

std::optional<TSmtpSecurity> MailSecurity()
{
    return ParseMailSecurity(viriIni().readString(Section, QStringLiteral("SECURITY"), QString()));
}

void SaveMailSecurity(TSmtpSecurity Security)
{
    viriIni().writeString(Section, QStringLiteral("SECURITY"), MailSecurityName(Security));
}

QString MailCaFile()
{
    return viriIni().readString(Section, QStringLiteral("CA_FILE"), QString()).trimmed();
}

void SaveMailCaFile(const QString &File)
{
    viriIni().writeString(Section, QStringLiteral("CA_FILE"), File.trimmed());
}
