#pragma once

#include "mail/MailSettingsStore.h"

#include <QString>
#include <QStringList>

#include <vector>

class TReportResult;
struct TPropTVItem;

// The mailing of a report result: the workbook temp.xls in the program's folder, attached to
// one message per recipient.

// The subject and the one body line of every report message.
inline constexpr const char *ReportSubject = "ZUD Reports";
inline constexpr const char *ReportBody = "Zud reports";

// CurrDir + separator + "temp.xls".
QString MailAttachmentFile();

// Submits one message with FileName attached to the addresses of Send.ADR_MAIL, over its own
// connection to the server of QUORVEL_POP (IP_POP_SERVER may carry ":port"), from the
// viri.ini sender address under Send's own name. Returns true; every failure is thrown
// (ESmtpError with the server's reply or the socket's error).
bool SendToMail(const TSend &Send, const QString &FileName);
// The same message with every file of FileNames attached, in order (the batch program mails
// one workbook per assigned report).
bool SendToMail(const TSend &Send, const QStringList &FileNames);

// Writes the result to MailAttachmentFile (any old file is deleted first), then sends it to
// each recipient in order. The first failure is thrown and ends the pass: the messages sent
// stay sent, later recipients are not tried.
void MailReport(const TReportResult *SG, const TPropTVItem *Prop,
                const std::vector<const TSend *> &Recipients);
