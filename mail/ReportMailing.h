#pragma once

#include "catalog/ExportGrid.h"
#include "mail/MailMessage.h"
#include "mail/MailSettings.h"
#include "mail/MailSettingsStore.h"
#include "mail/SmtpClient.h"

#include <QString>
#include <QStringList>

#include <vector>

class TReportResult;
struct TPropTVItem;

// The mailing of a report result: the workbook temp.xls (temp.xlsx) in the program's folder,
// attached to one message per recipient.

// The subject and the one body line of every report message.
inline constexpr const char *ReportSubject = "ZUD Reports";
inline constexpr const char *ReportBody = "Zud reports";
// The format of the attached workbooks by viri.ini's ATTACH_FORMAT. Throws ESmtpError when it
// holds an unknown value.
TExportKind MailAttachmentKind();

// CurrDir + separator + "temp" and the format's extension.
QString MailAttachmentFile(TExportKind Kind);

// The client settings for the server row Pop (IP_POP_SERVER may carry ":port") with the
// security, CA file and read time-out of viri.ini. Throws ESmtpError when SECURITY holds an
// unknown value: the program never guesses its way to plain text.
TSmtpSettings MailServerSettings(const TPopServer &Pop);

// The report message to the addresses of Send.ADR_MAIL, from the viri.ini sender address
// under Send's own name, with every file of FileNames attached, in order.
TMailMessage ReportMessage(const TSend &Send, const QStringList &FileNames);

// Submits Message over its own connection; every failure is thrown (ESmtpError with the
// server's reply or the socket's error, ESmtpStopped when stopped on request).
TSmtpSent DeliverMessage(const TSmtpSettings &Settings, const TMailMessage &Message);

// Writes the result in the format to MailAttachmentFile (any old file is deleted first), the
// rows in RowOrder when given, and returns its name; a failure is thrown.
QString WriteMailAttachment(const TReportResult *SG, const TPropTVItem *Prop, TExportKind Kind,
                            std::vector<int> RowOrder = {});
