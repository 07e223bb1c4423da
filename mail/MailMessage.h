#pragma once

#include "mail/MailAddress.h"
#include "mail/MailHeader.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// One message to submit: a text body and file attachments.
struct TMailMessage {
    QDateTime Date = QDateTime::currentDateTime();
    TMailAddressItem From;
    QList<TMailAddressItem> Recipients;
    QString Subject;
    QStringList Body;
    // Files, each sent as one part named after the file without its folder.
    QStringList Attachments;
    // The charset of encoded header words (and of a body that is not ASCII).
    QString CharSet = HeaderCharset(QLocale());
};

// A multipart boundary: 34 letters and digits with "=_" at a random place, which
// base64 and quoted-printable text can never hold.
QString NewBoundary(QRandomGenerator &random);

// The message text, lines ending in CR LF, not yet dot-stuffed. Throws ESmtpError when an
// address holds a control character or an attachment cannot be read.
QByteArray ComposeMessage(const TMailMessage &message, const QString &boundary);
