#pragma once

#include "mail/MailAddress.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The charset of encoded header words for a user of this locale: by its language.
QString HeaderCharset(const QLocale &locale);

// "Wed, 9 Dec 2026 14:05:09 +0300": the date's own time and offset from UTC.
QString FormatDate(const QDateTime &date);

// A header line wrapped at blanks, tabs or commas into pieces of at most 78 characters where
// the text allows, joined by CR LF; continuation pieces start with one blank.
QString FoldHeader(const QString &line);

// A mailbox as written in From: the display name (the address when it is empty) as a quoted
// string or encoded words, a blank, and the address in angle brackets.
QString MailboxText(const TMailAddressItem &mailbox, const QString &charSet);
