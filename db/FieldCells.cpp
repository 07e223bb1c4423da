#include "db/FieldCells.h"

#include "common/TextChunks.h"

#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {
constexpr qint64 msecsPerDay = 86400000;

void appendLatin1(const char *chars, std::size_t length, std::vector<char16_t> &out)
{
    const std::size_t at = out.size();
    out.resize(at + length);
    for (std::size_t i = 0; i < length; ++i)
        out[at + i] = char16_t(static_cast<unsigned char>(chars[i]));
}

// A date or time format taken apart once: runs of d, M, y, H, m, s and literal characters.
// A format with anything else (names of days or months, a 12-hour clock, zones, quotes) is
// left to Qt's own formatting.
struct TCompiledFormat {
    struct Part {
        char16_t letter = 0; // 0: literal
        int count = 0;
        char16_t literal = 0;
    };
    QString source;
    bool ready = false;
    bool compiled = false;
    std::vector<Part> parts;

    void compile(const QString &format)
    {
        source = format;
        ready = true;
        parts.clear();
        compiled = true;
        for (qsizetype i = 0; i < format.size();) {
            const char16_t c = format[i].unicode();
            qsizetype n = 1;
            while (i + n < format.size() && format[i + n] == c)
                ++n;
            const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
            if (!letter && c != u'\'') {
                for (qsizetype k = 0; k < n; ++k)
                    parts.push_back({0, 0, c});
            } else if ((c == u'd' || c == u'M' || c == u'H' || c == u'm' || c == u's') && n <= 2) {
                parts.push_back({c, int(n), 0});
            } else if (c == u'y' && (n == 2 || n == 4)) {
                parts.push_back({c, int(n), 0});
            } else {
                compiled = false;
                return;
            }
            i += n;
        }
    }
};

// As printf's "%0*d": the sign counts in the width.
void appendNumber(int value, int width, std::vector<char16_t> &out)
{
    char digits[16];
    const unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    const char *end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    if (value < 0) {
        out.push_back(u'-');
        --width;
    }
    for (auto n = end - digits; n < width; ++n)
        out.push_back(u'0');
    appendLatin1(digits, std::size_t(end - digits), out);
}

// Compiled formats per thread: texts are made on whichever thread reads them.
TCompiledFormat &compiledFormat(int which, const QString &format)
{
    thread_local TCompiledFormat formats[2];
    TCompiledFormat &f = formats[which];
    if (!f.ready || f.source != format)
        f.compile(format);
    return f;
}

void appendFormatted(const TCompiledFormat &f, const int values[128], std::vector<char16_t> &out)
{
    for (const TCompiledFormat::Part &p : f.parts) {
        if (p.letter == 0) {
            out.push_back(p.literal);
            continue;
        }
        int v = values[p.letter];
        if (p.letter == u'y' && p.count == 2)
            v %= 100;
        appendNumber(v, p.count, out);
    }
}

void appendDateTime(qint64 stamp, std::vector<char16_t> &out)
{
    const QDate date = QDate::fromJulianDay(stamp / msecsPerDay);
    const int ms = int(stamp % msecsPerDay);
    int values[128] = {};
    int y, mo, d;
    date.getDate(&y, &mo, &d);
    values[u'y'] = y;
    values[u'M'] = mo;
    values[u'd'] = d;
    values[u'H'] = ms / 3600000;
    values[u'm'] = ms / 60000 % 60;
    values[u's'] = ms / 1000 % 60;
    const TCompiledFormat &df = compiledFormat(0, FormatSettings.ShortDateFormat);
    if (df.compiled && y > 0)
        appendFormatted(df, values, out);
    else
        AppendUtf16(date.toString(FormatSettings.ShortDateFormat), out);
    if (ms == 0)
        return;
    out.push_back(u' ');
    const TCompiledFormat &tf = compiledFormat(1, FormatSettings.LongTimeFormat);
    if (tf.compiled)
        appendFormatted(tf, values, out);
    else
        AppendUtf16(QTime::fromMSecsSinceStartOfDay(ms).toString(FormatSettings.LongTimeFormat),
                    out);
}
} // namespace

void AppendIntegerText(qint64 Value, std::vector<char16_t> &Out)
{
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, Value).ptr;
    appendLatin1(buf, std::size_t(end - buf), Out);
}

void AppendFloatText(double Value, std::vector<char16_t> &Out)
{
    if (std::isnan(Value))
        return appendLatin1("NAN", 3, Out);
    if (std::isinf(Value))
        return Value > 0 ? appendLatin1("INF", 3, Out) : appendLatin1("-INF", 4, Out);
    if (Value == 0)
        return Out.push_back(u'0');
    // 15 significant digits with their decimal exponent: "-d.dddddddddddddde+XX".
    // to_chars rounds as printf's "%.14e" does, without its cost per call.
    char buf[64];
    *std::to_chars(buf, buf + sizeof buf - 1, Value, std::chars_format::scientific, 14).ptr = '\0';
    const bool negative = buf[0] == '-';
    const char *p = buf + (negative ? 1 : 0);
    char digits[16];
    int count = 0;
    digits[count++] = *p++;
    for (++p; *p != 'e'; ++p)
        digits[count++] = *p;
    const int exponent = std::atoi(p + 1);
    while (count > 1 && digits[count - 1] == '0')
        --count;
    const char16_t sep = FormatSettings.DecimalSeparator.unicode();
    if (negative)
        Out.push_back(u'-');
    if (exponent >= 15 || exponent < -5) {
        Out.push_back(char16_t(digits[0]));
        if (count > 1) {
            Out.push_back(sep);
            appendLatin1(digits + 1, std::size_t(count - 1), Out);
        }
        Out.push_back(u'E');
        AppendIntegerText(exponent, Out);
    } else if (exponent < 0) {
        Out.push_back(u'0');
        Out.push_back(sep);
        Out.insert(Out.end(), std::size_t(-exponent - 1), u'0');
        appendLatin1(digits, std::size_t(count), Out);
    } else if (count <= exponent + 1) {
        appendLatin1(digits, std::size_t(count), Out);
        Out.insert(Out.end(), std::size_t(exponent + 1 - count), u'0');
    } else {
        appendLatin1(digits, std::size_t(exponent + 1), Out);
        Out.push_back(sep);
        appendLatin1(digits + exponent + 1, std::size_t(count - exponent - 1), Out);
    }
}

void TRowBatch::AppendInteger(qint64 Value)
{
    TFieldCell &c = cells.emplace_back();
    c.kind = TFieldCell::Integer;
    c.integer = Value;
}

void TRowBatch::AppendFloat(double Value)
{
    TFieldCell &c = cells.emplace_back();
    c.kind = TFieldCell::Float;
    c.real = Value;
}

void TRowBatch::AppendDateTime(const QDate &Date, const QTime &Time)
{
    TFieldCell &c = cells.emplace_back();
    c.kind = TFieldCell::DateTime;
    c.stamp = Date.toJulianDay() * msecsPerDay + Time.msecsSinceStartOfDay();
}

void TRowBatch::AppendText(const char16_t *Chars, std::size_t Length)
{
    TFieldCell &c = cells.emplace_back();
    c.kind = TFieldCell::Text;
    c.offset = text.size();
    c.length = std::uint32_t(Length);
    text.insert(text.end(), Chars, Chars + Length);
}

void TRowBatch::AppendUtf8(QByteArrayView Utf8)
{
    TFieldCell &c = cells.emplace_back();
    c.kind = TFieldCell::Text;
    c.offset = text.size();
    // A UTF-8 text never has fewer bytes than UTF-16 units.
    text.resize(text.size() + std::size_t(Utf8.size()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar *begin = reinterpret_cast<QChar *>(text.data() + c.offset);
    const QChar *end = decoder.appendToBuffer(begin, Utf8);
    c.length = std::uint32_t(end - begin);
    text.resize(c.offset + c.length);
}

void TRowBatch::AppendVariant(const QVariant &Value)
{
    if (!Value.isValid() || Value.isNull())
        return AppendNull();
    switch (Value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return AppendInteger(Value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return AppendFloat(Value.toDouble());
    case QMetaType::QDateTime: {
        const QDateTime dt = Value.toDateTime();
        return AppendDateTime(dt.date(), dt.time());
    }
    case QMetaType::QDate:
        return AppendDateTime(Value.toDate(), QTime(0, 0));
    default: {
        const QString s = Value.toString();
        return AppendText(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
    }
    }
}

void TRowBatch::dropLastText()
{
    text.resize(cells.back().offset);
}

void TRowBatch::Normalize(TFieldType Type)
{
    TFieldCell &c = cells.back();
    switch (Type) {
    case ftSmallint:
    case ftInteger:
        if (c.kind == TFieldCell::Float) {
            const double d = c.real;
            if (d >= -9.2e18 && d <= 9.2e18 && d == double(qint64(d))) {
                c.kind = TFieldCell::Integer;
                c.integer = qint64(d);
            }
        } else if (c.kind == TFieldCell::Text) {
            bool ok = false;
            const qint64 i = TextOf(c).toLongLong(&ok);
            if (ok) {
                dropLastText();
                c.kind = TFieldCell::Integer;
                c.integer = i;
            }
        }
        return;
    case ftFloat:
        if (c.kind == TFieldCell::Integer) {
            c.kind = TFieldCell::Float;
            c.real = double(c.integer);
        } else if (c.kind == TFieldCell::Text) {
            bool ok = false;
            const double d = TextOf(c).toDouble(&ok);
            if (ok) {
                dropLastText();
                c.kind = TFieldCell::Float;
                c.real = d;
            }
        }
        return;
    case ftDateTime:
        if (c.kind == TFieldCell::Text) {
            const QStringView s = TextOf(c).trimmed();
            qsizetype end = 0;
            const QDateTime dt = ReadDateTime(s, &end);
            if (dt.isValid() && end == s.size()) {
                dropLastText();
                c.kind = TFieldCell::DateTime;
                c.stamp = dt.date().toJulianDay() * msecsPerDay + dt.time().msecsSinceStartOfDay();
            }
        }
        return;
    case ftString:
        if (c.kind == TFieldCell::Integer || c.kind == TFieldCell::Float) {
            const QString s = VariantOf(c).toString();
            cells.pop_back();
            AppendText(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
        }
        return;
    case ftUnknown:
        return;
    }
}

QVariant TRowBatch::VariantOf(const TFieldCell &Cell) const
{
    switch (Cell.kind) {
    case TFieldCell::Null:
        return {};
    case TFieldCell::Integer:
        return qlonglong(Cell.integer);
    case TFieldCell::Float:
        return Cell.real;
    case TFieldCell::DateTime:
        return WallClock(QDate::fromJulianDay(Cell.stamp / msecsPerDay),
                         QTime::fromMSecsSinceStartOfDay(int(Cell.stamp % msecsPerDay)));
    case TFieldCell::Text:
        break;
    }
    return TextOf(Cell).toString();
}

void TRowBatch::AppendCellText(TFieldType Type, const TFieldCell &Cell,
                               std::vector<char16_t> &Out) const
{
    switch (Cell.kind) {
    case TFieldCell::Null:
        return;
    case TFieldCell::Integer:
        if (Type == ftSmallint || Type == ftInteger || Type == ftString)
            return AppendIntegerText(Cell.integer, Out);
        return AppendFloatText(double(Cell.integer), Out);
    case TFieldCell::Float:
        // A double in a text column reads as Qt's shortest form, as its variant would.
        if (Type == ftString)
            return AppendUtf16(VariantOf(Cell).toString(), Out);
        return AppendFloatText(Cell.real, Out);
    case TFieldCell::DateTime:
        return appendDateTime(Cell.stamp, Out);
    case TFieldCell::Text: {
        const char16_t *chars = text.data() + Cell.offset;
        Out.insert(Out.end(), chars, chars + Cell.length);
        return;
    }
    }
}
