#include "mail/ReportMailing.h"

#include "catalog/ExportGrid.h"
#include "db/OracleBase.h"
#include "mail/MailSettings.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"

#include <QDir>
#include <QFile>

QString MailAttachmentFile()
{
    return CurrDir + QDir::separator() + QStringLiteral("temp.xls");
}

bool SendToMail(const TSend &Send, const QString &FileName)
{
    return SendToMail(Send, QStringList{FileName});
}

bool SendToMail(const TSend &Send, const QStringList &FileNames)
{
    const TPopServer pop = LoadPopServer();
    const TSmtpServerAddress address = ParseServerAddress(pop.IP_POP_SERVER);
    TSmtpSettings settings;
    settings.Host = address.Host;
    settings.Port = address.Port;
    settings.Username = pop.POP_USER;
    settings.Password = pop.POP_PASSWORD;
    settings.ReadTimeout = MailReadTimeoutSeconds() * 1000;

    TMailMessage message;
    message.Body = QStringList{QString::fromLatin1(ReportBody)};
    message.Recipients = ParseAddressList(Send.ADR_MAIL);
    message.Subject = QString::fromLatin1(ReportSubject);
    message.From = {Send.ADR_NAME, MailFromAddress()};
    message.Attachments = FileNames;

    TSmtpClient client(settings);
    client.Connect();
    try {
        client.Send(message);
    } catch (const ESmtpError &) {
        client.Disconnect();
        throw;
    }
    client.Disconnect();
    return true;
}

void MailReport(const TReportResult *SG, const TPropTVItem *Prop,
                const std::vector<const TSend *> &Recipients)
{
    const QString file = MailAttachmentFile();
    if (QFile::exists(file))
        QFile::remove(file);
    ExportResultToXls(SG, Prop, file);
    for (const TSend *send : Recipients)
        SendToMail(*send, file);
}
