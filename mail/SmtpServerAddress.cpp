#include "mail/SmtpServerAddress.h"

#include "mail/SmtpError.h"

namespace {
[[noreturn]] void BadAddress(const QString &text)
{
    throw ESmtpError(QStringLiteral("Неверный адрес почтового сервера \"%1\"").arg(text));
}

quint16 PortNumber(const QString &portText, const QString &text)
{
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        BadAddress(text);
    return static_cast<quint16>(port);
}
} // namespace

TSmtpServerAddress ParseServerAddress(const QString &text)
{
    const QString s = text.trimmed();
    TSmtpServerAddress result;
    if (s.startsWith(QLatin1Char('['))) {
        const qsizetype close = s.indexOf(QLatin1Char(']'));
        if (close < 0)
            BadAddress(text);
        result.Host = s.mid(1, close - 1);
        const QString rest = s.mid(close + 1);
        if (rest.isEmpty())
            return result;
        if (!rest.startsWith(QLatin1Char(':')))
            BadAddress(text);
        result.Port = PortNumber(rest.mid(1), text);
        return result;
    }
    // Two colons or more can only be an IPv6 address written without brackets, so no port.
    if (s.count(QLatin1Char(':')) != 1) {
        result.Host = s;
        return result;
    }
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    result.Host = s.left(colon);
    result.Port = PortNumber(s.mid(colon + 1), text);
    return result;
}

QString ServerAddressText(const QString &host, quint16 port)
{
    const QString shown =
        host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shown + QLatin1Char(':') + QString::number(port);
}
