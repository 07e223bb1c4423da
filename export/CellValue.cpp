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
    // Longer texts are not numbers of at most 15 digits with a sensible exponent.
    char ascii[64];
    if (t.size() >= qsizetype(sizeof ascii))
        return false;
    qsizetype i = 0, n = 0;
    const auto take = [&](char c) { ascii[n++] = c; };
    if (t[i] == u'-')
        take(char(t[i++].unicode()));
    const qsizetype intStart = i;
    while (i < t.size() && isDigit(t[i]))
        take(char(t[i++].unicode()));
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && t[intStart] == u'0'))
        return false;
    int significant = 0;
    for (qsizetype k = intStart; k < i; ++k)
        if (significant || t[k] != u'0')
            ++significant;
    if (i < t.size() && t[i] == u',') {
        take('.');
        const qsizetype fracStart = ++i;
        while (i < t.size() && isDigit(t[i])) {
            if (significant || t[i] != u'0')
                ++significant;
            take(char(t[i++].unicode()));
        }
        if (i == fracStart)
            return false;
    }
    if (i < t.size() && t[i] == u'E') {
        take('e');
        if (++i < t.size() && t[i] == u'-')
            take(char(t[i++].unicode()));
        const qsizetype expStart = i;
        while (i < t.size() && isDigit(t[i]))
            take(char(t[i++].unicode()));
        if (i == expStart)
            return false;
    }
    if (i != t.size() || significant > MaxDigits)
        return false;
    const auto [end, error] = std::from_chars(ascii, ascii + n, value);
    return error == std::errc() && end == ascii + n;
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
    // Most texts are words: neither a number nor a date starts with a letter.
    if (text.isEmpty() || !(isDigit(text[0]) || text[0] == u'-'))
        return v;
    if (readNumber(text, v.number))
        v.kind = TCellValue::Number;
    else if (readDateTime(text, v.dateTime))
        v.kind = TCellValue::DateTime;
    return v;
}
