#include "mail/MailAddress.h"

#include "mail/SmtpError.h"

namespace {
// The name part of "Name <address>", without the quotes and backslash escapes of a quoted name.
QString UnquotedName(const QString &name)
{
    const QString s = name.trimmed();
    if (s.size() < 2 || !s.startsWith(QLatin1Char('"')) || !s.endsWith(QLatin1Char('"')))
        return s;
    QString result;
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 2 < s.size())
            ++i;
        result += s[i];
    }
    return result;
}

TMailAddressItem ParseItem(const QString &item)
{
    const qsizetype open = item.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = item.lastIndexOf(QLatin1Char('>'));
    if (open < 0 || close < open)
        return {QString(), item.trimmed()};
    return {UnquotedName(item.left(open)), item.mid(open + 1, close - open - 1).trimmed()};
}
} // namespace

QList<TMailAddressItem> ParseAddressList(const QString &text)
{
    QList<TMailAddressItem> result;
    QString item;
    bool quoted = false;
    bool angle = false;
    auto flush = [&] {
        if (!item.trimmed().isEmpty())
            result.append(ParseItem(item));
        item.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < text.size()) {
            item += c;
            item += text[++i];
            continue;
        }
        if (c == QLatin1Char('"') && !angle)
            quoted = !quoted;
        else if (c == QLatin1Char('<') && !quoted)
            angle = true;
        else if (c == QLatin1Char('>') && !quoted)
            angle = false;
        else if (c == QLatin1Char(',') && !quoted && !angle) {
            flush();
            continue;
        }
        item += c;
    }
    flush();
    return result;
}

void CheckAddress(const QString &address)
{
    for (const QChar c : address) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            QString shown = address;
            shown.replace(QLatin1Char('\r'), QLatin1String("\\r"))
                .replace(QLatin1Char('\n'), QLatin1String("\\n"));
            throw ESmtpError(
                QStringLiteral("Адрес \"%1\" содержит управляющие символы").arg(shown));
        }
    }
}
