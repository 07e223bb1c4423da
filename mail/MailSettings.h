#pragma once

#include "catalog/ExportGrid.h"
#include "mail/SmtpConnection.h"

#include <QString>

#include <optional>

// The mail settings of viri.ini (section Mail, beside the program), read when a message is
// built so that an edit takes effect at the next sending.

// Key FROM_ADDRESS: the sender address of every report message.
inline constexpr const char *DefaultFromAddress = "reports@localhost";
QString MailFromAddress();

// Key READ_TIMEOUT: seconds to wait for each reply of the mail server. A value that is not a
// positive whole number gives the default, so a silent server never holds the program; more
// than a day counts as a day.
inline constexpr int DefaultReadTimeoutSeconds = 60;
inline constexpr int MaxReadTimeoutSeconds = 86400;
int MailReadTimeoutSeconds();

// Key SECURITY: "none" (the default, the plain dialogue), "starttls" or "tls", in any case.
// Any other value is no security at all to the program but a mistake, so it gives nullopt
// and the sending refuses to start rather than fall back to plain text.
std::optional<TSmtpSecurity> MailSecurity();
std::optional<TSmtpSecurity> ParseMailSecurity(const QString &Text);
QString MailSecurityName(TSmtpSecurity Security);
void SaveMailSecurity(TSmtpSecurity Security);

// Key CA_FILE: a PEM file of certificate authorities trusted beside the system's, as stored
// (a relative path is taken from the folder of viri.ini when sending). Empty for none.
QString MailCaFile();
void SaveMailCaFile(const QString &File);

// Key ATTACH_FORMAT: the format of the attached workbooks, "xls" (the default) or "xlsx", in
// any case. Any other value gives nullopt and the mailing refuses to start: the recipients'
// programs expect what the setting promised.
std::optional<TExportKind> MailAttachFormat();
std::optional<TExportKind> ParseMailAttachFormat(const QString &Text);
// The name of an attachment format, as ATTACH_FORMAT and the delivery log write it: "xls" or
// "xlsx".
QString MailAttachmentFormat(TExportKind Kind);
