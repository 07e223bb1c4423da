#include "mail/MailSettings.h"

#include "common/IniFile.h"
#include "db/OracleBase.h"

#include <algorithm>

namespace {
const QString Section = QStringLiteral("Mail");
} // namespace

QString MailFromAddress()
{
    const QString address = ViriIni()
                                .readString(Section, QStringLiteral("FROM_ADDRESS"),
                                            QString::fromLatin1(DefaultFromAddress))
                                .trimmed();
    return address.isEmpty() ? QString::fromLatin1(DefaultFromAddress) : address;
}

int MailReadTimeoutSeconds()
{
    const int seconds =
        ViriIni().readInteger(Section, QStringLiteral("READ_TIMEOUT"), DefaultReadTimeoutSeconds);
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
    return ParseMailSecurity(ViriIni().readString(Section, QStringLiteral("SECURITY"), QString()));
}

void SaveMailSecurity(TSmtpSecurity Security)
{
    ViriIni().writeString(Section, QStringLiteral("SECURITY"), MailSecurityName(Security));
}

QString MailCaFile()
{
    return ViriIni().readString(Section, QStringLiteral("CA_FILE"), QString()).trimmed();
}

void SaveMailCaFile(const QString &File)
{
    ViriIni().writeString(Section, QStringLiteral("CA_FILE"), File.trimmed());
}

std::optional<TExportKind> ParseMailAttachFormat(const QString &Text)
{
    const QString name = Text.trimmed().toLower();
    if (name.isEmpty())
        return TExportKind::Xls;
    for (const TExportKind kind : {TExportKind::Xls, TExportKind::Xlsx})
        if (name == MailAttachmentFormat(kind))
            return kind;
    return std::nullopt;
}

QString MailAttachmentFormat(TExportKind Kind)
{
    return ExportExtension(Kind).mid(1);
}

std::optional<TExportKind> MailAttachFormat()
{
    return ParseMailAttachFormat(
        ViriIni().readString(Section, QStringLiteral("ATTACH_FORMAT"), QString()));
}
