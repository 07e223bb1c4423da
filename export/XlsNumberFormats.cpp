#include "export/XlsNumberFormats.h"

namespace {

QString withPointDecimal(QString format, const QString &decimal)
{
    const qsizetype last = format.lastIndexOf(decimal);
    if (last >= 0)
        format.replace(last, decimal.size(), QStringLiteral("."));
    return format;
}

} // namespace

QStringList xlsNumberFormats(const TxlsRegional &r)
{
    const QString &t = r.FThousandSeparator;
    const QString &d = r.FDecimalSeparator;
    QString integer = u'#' + t + QStringLiteral("###") + t + QStringLiteral("##0");
    QString floating = integer + d + QStringLiteral("00");
    const QString &c = r.FCurrencyString;
    QString currency;
    switch (r.FCurrencyFormat) {
    case 0:
        currency = c + floating;
        break;
    case 1:
        currency = floating + c;
        break;
    case 2:
        currency = c + u' ' + floating;
        break;
    default:
        currency = floating + u' ' + c;
        break;
    }
    const QString comma = QStringLiteral(",");
    if (!t.isEmpty()) {
        integer.replace(t, comma);
        floating.replace(t, comma);
        currency.replace(t, comma);
    }
    return {withPointDecimal(currency, d), r.FShortDateFormat + u' ' + r.FShortTimeFormat,
            withPointDecimal(floating, d), integer, r.FShortTimeFormat};
}
