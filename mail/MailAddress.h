#pragma once

#include <QList>
#include <QString>

// One mailbox: a display name (may be empty) and the address.
struct TMailAddressItem {
    QString Name;
    QString Address;
};

// An address list as kept in QUORVEL_MAIL.ADR_MAIL: items separated by commas, each either a
// bare address or "Name <address>" (the name may be quoted). Empty items are skipped.
QList<TMailAddressItem> ParseAddressList(const QString &text);

// Throws ESmtpError when the address holds a control character: CR or LF would end the SMTP
// command or the header line it is written into and let the rest pass as a line of its own.
void CheckAddress(const QString &address);
