#include "db/FieldValue.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>

TFormatSettings FormatSettings;

TFieldType FieldTypeOfDeclared(const QString &TypeName, int Precision, int Scale)
{
    const QString upper = TypeName.trimmed().toUpper();
    if (upper.isEmpty())
        return ftUnknown;
    const qsizetype paren = upper.indexOf(u'(');
    const QString base = (paren < 0 ? upper : upper.left(paren)).simplified();
    if (paren >= 0 && Precision < 0) {
        const qsizetype close = upper.indexOf(u')', paren);
        const QStringList args =
            upper.mid(paren + 1, close < 0 ? -1 : close - paren - 1).split(u',');
        bool ok = false;
        Precision = args.value(0).trimmed().toInt(&ok);
        if (!ok)
            Precision = -1;
        Scale = args.size() > 1 ? args.value(1).trimmed().toInt(&ok) : 0;
        if (!ok)
            Scale = 0;
    }
    if (base == QLatin1String("NUMBER") || base == QLatin1String("NUMERIC") ||
        base == QLatin1String("DECIMAL") || base == QLatin1String("DEC")) {
        if (Precision >= 1 && Precision <= 9 && Scale <= 0)
            return Precision <= 4 ? ftSmallint : ftInteger;
        return ftFloat;
    }
    if (base == QLatin1String("SMALLINT") || base == QLatin1String("INT2") ||
        base == QLatin1String("TINYINT"))
        return ftSmallint;
    if (base == QLatin1String("INTEGER") || base == QLatin1String("INT") ||
        base == QLatin1String("INT4") || base == QLatin1String("MEDIUMINT"))
        return ftInteger;
    if (base.startsWith(QLatin1String("DATE")) || base.startsWith(QLatin1String("TIMESTAMP")))
        return ftDateTime;
    static const QStringList doubles = {
        QStringLiteral("BIGINT"), QStringLiteral("INT8"),         QStringLiteral("FLOAT"),
        QStringLiteral("REAL"),   QStringLiteral("BINARY_FLOAT"), QStringLiteral("BINARY_DOUBLE"),
        QStringLiteral("FLOAT4"), QStringLiteral("FLOAT8")};
    if (doubles.contains(base) || base.startsWith(QLatin1String("DOUBLE")))
        return ftFloat;
    return ftString;
}

QString FloatText(double Value)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (Value == 0)
        return QStringLiteral("0");
    // 15 significant digits with their decimal exponent, as printf rounds them.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", Value);
    const QString s = QString::fromLatin1(buf);
    const bool negative = s.startsWith(u'-');
    const qsizetype e = s.indexOf(u'e');
    QString digits = s.mid(negative ? 1 : 0, e - (negative ? 1 : 0)).remove(u'.');
    const int exponent = s.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const QChar sep = FormatSettings.DecimalSeparator;
    QString out;
    if (exponent >= 15 || exponent < -5) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += u'E' + QString::number(exponent);
    } else if (exponent < 0) {
        out = u'0' + QString(sep) + QString(-exponent - 1, u'0') + digits;
    } else if (digits.size() <= exponent + 1) {
        out = digits + QString(exponent + 1 - digits.size(), u'0');
    } else {
        out = digits.left(exponent + 1) + sep + digits.mid(exponent + 1);
    }
    return negative ? u'-' + out : out;
}

bool IsIntegerValue(const QVariant &Value)
{
    switch (Value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool IsNumericValue(const QVariant &Value)
{
    const int id = Value.metaType().id();
    return IsIntegerValue(Value) || id == QMetaType::Double || id == QMetaType::Float;
}

namespace {
QString dateTimeText(const QDateTime &dt)
{
    const QString date = dt.date().toString(FormatSettings.ShortDateFormat);
    if (dt.time() == QTime(0, 0))
        return date;
    return date + u' ' + dt.time().toString(FormatSettings.LongTimeFormat);
}
} // namespace

QString FieldValueText(TFieldType Type, const QVariant &Value)
{
    if (!Value.isValid() || Value.isNull())
        return {};
    const int id = Value.metaType().id();
    switch (Type) {
    case ftSmallint:
    case ftInteger:
        if (IsIntegerValue(Value))
            return QString::number(Value.toLongLong());
        break;
    case ftDateTime:
        if (id == QMetaType::QDateTime)
            return dateTimeText(Value.toDateTime());
        break;
    case ftFloat:
    case ftUnknown:
    case ftString:
        break;
    }
    if (Type != ftString && (id == QMetaType::Double || id == QMetaType::Float))
        return FloatText(Value.toDouble());
    if (Type != ftString && IsIntegerValue(Value))
        return FloatText(double(Value.toLongLong()));
    return Value.toString();
}

QDateTime WallClock(const QDate &Date, const QTime &Time)
{
    return QDateTime(Date, Time, Qt::UTC);
}

QDateTime ReadDateTime(QStringView Text, qsizetype *End)
{
    qsizetype i = 0;
    // A number of exactly n digits followed by the separator sep (none when sep is 0).
    const auto number = [&](int n, char16_t sep, int &out) {
        if (i + n > Text.size())
            return false;
        out = 0;
        for (int k = 0; k < n; ++k, ++i) {
            const char16_t c = Text[i].unicode();
            if (c < u'0' || c > u'9')
                return false;
            out = out * 10 + (c - u'0');
        }
        if (sep == 0)
            return true;
        if (i >= Text.size() || Text[i] != sep)
            return false;
        ++i;
        return true;
    };
    int y, mo, d, h = 0, mi = 0, s = 0, ms = 0;
    if (!number(4, u'-', y) || !number(2, u'-', mo) || !number(2, 0, d))
        return {};
    const QDate date(y, mo, d);
    qsizetype end = i;
    if (i + 1 < Text.size() && (Text[i] == u' ' || Text[i] == u'T')) {
        ++i;
        if (number(2, u':', h) && number(2, 0, mi)) {
            end = i;
            if (i < Text.size() && Text[i] == u':' && (++i, number(2, 0, s))) {
                end = i;
                if (i < Text.size() && Text[i] == u'.') {
                    int scale = 100;
                    for (++i; i < Text.size() && Text[i].isDigit(); ++i, scale /= 10)
                        ms += (Text[i].unicode() - u'0') * scale;
                    end = i;
                }
            }
        } else {
            h = mi = 0;
        }
    }
    const QTime time(h, mi, s, ms);
    if (!date.isValid() || !time.isValid())
        return {};
    if (End)
        *End = end;
    return WallClock(date, time);
}

QVariant NormalizedValue(QVariant v, TFieldType type)
{
    if (v.isNull())
        return {};
    switch (type) {
    case ftSmallint:
    case ftInteger: {
        if (v.metaType().id() == QMetaType::Double) {
            const double d = v.toDouble();
            if (d == double(qlonglong(d)))
                return qlonglong(d);
            return d;
        }
        bool ok = false;
        const qlonglong i = v.toLongLong(&ok);
        return ok ? QVariant(i) : v;
    }
    case ftFloat: {
        if (IsNumericValue(v))
            return v.toDouble();
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? QVariant(d) : v;
    }
    case ftDateTime: {
        if (v.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            return WallClock(dt.date(), dt.time());
        }
        if (v.metaType().id() == QMetaType::QDate)
            return WallClock(v.toDate(), QTime(0, 0));
        const QString text = v.toString().trimmed();
        qsizetype end = 0;
        const QDateTime dt = ReadDateTime(text, &end);
        return dt.isValid() && end == text.size() ? QVariant(dt) : v;
    }
    case ftString:
        return v.metaType().id() == QMetaType::QString ? v : QVariant(v.toString());
    case ftUnknown:
        break;
    }
    return v;
}
