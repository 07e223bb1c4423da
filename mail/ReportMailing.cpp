#include "mail/ReportMailing.h"

#include "catalog/ExportGrid.h"
#include "db/OracleBase.h"
#include "mail/MailSettings.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"

#include <QDir>
#include <QFile>
#include <utility>

TExportKind MailAttachmentKind()
{
    const std::optional<TExportKind> kind = MailAttachFormat();
    if (!kind)
        throw ESmtpError(QStringLiteral("Неверное значение ATTACH_FORMAT в разделе [Mail] файла "
                                        "viri.ini: допустимы xls и xlsx"));
    return *kind;
}

QString MailAttachmentFile(TExportKind Kind)
{
    return CurrDir + QDir::separator() + QStringLiteral("temp") + ExportExtension(Kind);
}

TSmtpSettings MailServerSettings(const TPopServer &Pop)
{
    const std::optional<TSmtpSecurity> security = MailSecurity();
    if (!security)
        throw ESmtpError(QStringLiteral("Неверное значение SECURITY в разделе [Mail] файла "
                                        "viri.ini: допустимы none, starttls и tls"));
    const TSmtpServerAddress address = ParseServerAddress(Pop.IP_POP_SERVER);
    TSmtpSettings settings;
    settings.Host = address.Host;
    settings.Port = address.Port;
    settings.Username = Pop.POP_USER;
    settings.Password = Pop.POP_PASSWORD;
    settings.ReadTimeout = MailReadTimeoutSeconds() * 1000;
    settings.Security = *security;
    if (const QString ca = MailCaFile(); !ca.isEmpty())
        settings.CaFile = QDir(CurrDir).absoluteFilePath(ca);
    return settings;
}

TMailMessage ReportMessage(const TSend &Send, const QStringList &FileNames)
{
    TMailMessage message;
    message.Body = QStringList{QString::fromLatin1(ReportBody)};
    message.Recipients = ParseAddressList(Send.ADR_MAIL);
    message.Subject = QString::fromLatin1(ReportSubject);
    message.From = {Send.ADR_NAME, MailFromAddress()};
    message.Attachments = FileNames;
    return message;
}

TSmtpSent DeliverMessage(const TSmtpSettings &Settings, const TMailMessage &Message)
{
    TSmtpClient client(Settings);
    client.Connect();
    TSmtpSent sent;
    try {
        sent = client.Send(Message);
    } catch (const ESmtpError &) {
        client.Disconnect();
        throw;
    }
    client.Disconnect();
    return sent;
}

QString WriteMailAttachment(const TReportResult *SG, const TPropTVItem *Prop, TExportKind Kind,
                            std::vector<int> RowOrder)
{
    const QString file = MailAttachmentFile(Kind);
    if (QFile::exists(file))
        QFile::remove(file);
    ExportResultAs(Kind, SG, Prop, file, nullptr, std::move(RowOrder));
    return file;
}
