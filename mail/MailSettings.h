#pragma once

#include <QString>

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
