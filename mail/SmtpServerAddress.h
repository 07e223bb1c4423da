#pragma once

#include <QString>

// Where the mail server listens: QUORVEL_POP.IP_POP_SERVER read as "host", "host:port",
// "[address]:port" or "[address]" (IPv6), or a bare IPv6 address. Without a port, 25.
struct TSmtpServerAddress {
    QString Host;
    quint16 Port = 25;
};

// Throws ESmtpError when the text has a port that is not a number from 1 to 65535 or an
// unclosed bracket.
TSmtpServerAddress ParseServerAddress(const QString &text);

// The host and port as they would be typed: "host:port", "[address]:port" for IPv6.
QString ServerAddressText(const QString &host, quint16 port);
