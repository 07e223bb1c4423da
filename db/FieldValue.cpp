#include "db/FieldValue.h"

#include "db/FieldCells.h"

#include <QDateTime>
#include <QRegularExpression>

TFormatSettings FormatSettings;

TFormatSettings FormatSettingsOf(const QLocale &Locale)
{
    // The C locale is no choice of conventions; it keeps the defaults too.
    if (Locale.language() == QLocale::Russian || Locale.language() == QLocale::C)
        return {};
    TFormatSettings settings;
    const QString point = Locale.decimalPoint();
    if (point.size() == 1)
        settings.DecimalSeparator = point.front();
    settings.ShortDateFormat = Locale.dateFormat(QLocale::ShortFormat);
    // The zone ("t", "tttt") and the blanks around it go.
    QString time = Locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    settings.LongTimeFormat = time.trimmed();
    return settings;
}

void ReadSystemFormatSettings()
{
    FormatSettings = FormatSettingsOf(QLocale::system());
}

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
    std::vector<char16_t> text;
    AppendFloatText(Value, text);
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

QString FieldValueText(TFieldType Type, const QVariant &Value)
{
    TRowBatch batch;
    batch.AppendVariant(Value);
    std::vector<char16_t> text;
    batch.AppendCellText(Type, batch.cells.back(), text);
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
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
