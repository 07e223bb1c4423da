#include "export/CellValue.h"

#include <QTimeZone>

#include <charconv>

namespace {

// The texts of doubles carry at most 15 significant digits; more would not come back equal.
constexpr int MaxDigits = 15;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "-"? digits ("," digits)? ("E" "-"? digits)?, without a leading zero before more digits.
bool readNumber(QStringView t, double &value)
{
    QByteArray ascii;
    ascii.reserve(t.size());
    qsizetype i = 0;
    if (i < t.size() && t[i] == u'-')
        ascii += t[i++].toLatin1();
    const qsizetype intStart = i;
    while (i < t.size() && isDigit(t[i]))
        ascii += t[i++].toLatin1();
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && t[intStart] == u'0'))
        return false;
    int significant = 0;
    for (qsizetype k = intStart; k < i; ++k)
        if (significant || t[k] != u'0')
            ++significant;
    if (i < t.size() && t[i] == u',') {
        ascii += '.';
        ++i;
        const qsizetype fracStart = i;
        while (i < t.size() && isDigit(t[i])) {
            if (significant || t[i] != u'0')
                ++significant;
            ascii += t[i++].toLatin1();
        }
        if (i == fracStart)
            return false;
    }
    if (i < t.size() && t[i] == u'E') {
        ascii += 'e';
        ++i;
        if (i < t.size() && t[i] == u'-')
            ascii += t[i++].toLatin1();
        const qsizetype expStart = i;
        while (i < t.size() && isDigit(t[i]))
            ascii += t[i++].toLatin1();
        if (i == expStart)
            return false;
    }
    if (i != t.size() || significant > MaxDigits)
        return false;
    const auto [end, error] = std::from_chars(ascii.constData(), ascii.constEnd(), value);
    return error == std::errc() && end == ascii.constEnd();
}

// Reads count digits at i (exactly, or 1 to count when exact is false).
bool readDigits(QStringView t, qsizetype &i, int count, bool exact, int &value)
{
    value = 0;
    int n = 0;
    while (n < count && i < t.size() && isDigit(t[i])) {
        value = value * 10 + (t[i++].unicode() - u'0');
        ++n;
    }
    return exact ? n == count : n > 0;
}

bool readDateTime(QStringView t, QDateTime &value)
{
    qsizetype i = 0;
    int day, month, year, hour = 0, minute = 0, second = 0;
    const auto sep = [&](QChar c) { return i < t.size() && t[i++] == c; };
    if (!readDigits(t, i, 2, true, day) || !sep(u'.') || !readDigits(t, i, 2, true, month) ||
        !sep(u'.') || !readDigits(t, i, 4, true, year))
        return false;
    if (i < t.size()) {
        if (!sep(u' ') || !readDigits(t, i, 2, false, hour) || !sep(u':') ||
            !readDigits(t, i, 2, true, minute) || !sep(u':') ||
            !readDigits(t, i, 2, true, second) || i != t.size())
            return false;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return false;
    value = QDateTime(date, time, QTimeZone::utc());
    return true;
}

} // namespace

TCellValue ReadCellValue(QStringView text)
{
    TCellValue v;
    if (text.isEmpty())
        return v;
    if (readNumber(text, v.number))
        v.kind = TCellValue::Number;
    else if (readDateTime(text, v.dateTime))
        v.kind = TCellValue::DateTime;
    return v;
}
