#include "mail/MailHeader.h"

#include "mail/MailEncoding.h"

QString HeaderCharset(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::Russian:
        return QStringLiteral("KOI8-R");
    case QLocale::Ukrainian:
        return QStringLiteral("windows-1251");
    case QLocale::Chinese:
        return locale.script() == QLocale::TraditionalHanScript ? QStringLiteral("Big5")
                                                                : QStringLiteral("GB2312");
    case QLocale::Japanese:
        return QStringLiteral("ISO-2022-JP");
    case QLocale::Korean:
        return QStringLiteral("csEUCKR");
    default:
        return QStringLiteral("UTF-8");
    }
}

QString FormatDate(const QDateTime &date)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = date.date();
    const int offset = date.offsetFromUtc() / 60;
    const int absOffset = offset < 0 ? -offset : offset;
    return QStringLiteral("%1, %2 %3 %4 %5 %6%7%8")
        .arg(QLatin1String(days[d.dayOfWeek() - 1]))
        .arg(d.day())
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(date.time().toString(QStringLiteral("HH:mm:ss")))
        .arg(QLatin1Char(offset < 0 ? '-' : '+'))
        .arg(absOffset / 60, 2, 10, QLatin1Char('0'))
        .arg(absOffset % 60, 2, 10, QLatin1Char('0'));
}

namespace {
constexpr qsizetype MaxHeaderLine = 78;

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString CutTrailingBlanks(QString s)
{
    while (!s.isEmpty() && IsBlank(s.back()))
        s.chop(1);
    return s;
}

// A place to break before position k: at a blank or tab there, or just after a comma, leaving
// a first piece that is more than blanks.
bool CanBreakAt(const QString &line, qsizetype k)
{
    if (!IsBlank(line[k]) && line[k - 1] != QLatin1Char(','))
        return false;
    return !CutTrailingBlanks(line.left(k)).isEmpty();
}

// The last break that keeps the first piece within the limit, else the first one after it;
// -1 when the line has no break at all.
qsizetype BreakPosition(const QString &line)
{
    for (qsizetype k = std::min(MaxHeaderLine, line.size() - 1); k >= 1; --k) {
        if (CanBreakAt(line, k))
            return k;
    }
    for (qsizetype k = MaxHeaderLine + 1; k < line.size(); ++k) {
        if (CanBreakAt(line, k))
            return k;
    }
    return -1;
}
} // namespace

QString FoldHeader(const QString &line)
{
    QStringList pieces;
    QString rest = line;
    while (rest.size() > MaxHeaderLine) {
        const qsizetype k = BreakPosition(rest);
        if (k < 0)
            break;
        qsizetype next = k;
        while (next < rest.size() && IsBlank(rest[next]))
            ++next;
        if (next == rest.size())
            break;
        pieces << CutTrailingBlanks(rest.left(k));
        rest = QLatin1Char(' ') + rest.mid(next);
    }
    pieces << rest;
    return pieces.join(QStringLiteral("\r\n"));
}

QString MailboxText(const TMailAddressItem &mailbox, const QString &charSet)
{
    const QString name = mailbox.Name.isEmpty() ? mailbox.Address : mailbox.Name;
    const QString shownName =
        IsPrintableAscii(name) ? QuotedString(name) : EncodedWords(name, charSet);
    return shownName + QStringLiteral(" <") + mailbox.Address + QLatin1Char('>');
}
