#pragma once

#include <QString>
#include <QStringList>

// The regional settings that shape the five number formats every sheet registers. The
// defaults are the Russian conventions the program follows (1 234,56 ₽, 05.03.2015, 8:30);
// dates and times are given in the workbook's own format codes.
struct TxlsRegional {
    QString FThousandSeparator = QStringLiteral("\u00A0");
    QString FDecimalSeparator = QStringLiteral(",");
    QString FCurrencyString = QStringLiteral("\u20BD");
    int FCurrencyFormat = 3; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    QString FShortDateFormat = QStringLiteral("dd.mm.yyyy");
    QString FShortTimeFormat = QStringLiteral("h:mm");
};

// Currency, date-time, float, integer and time, in the order they are registered, with the
// separators the workbook expects (comma for thousands, point for decimals).
QStringList xlsNumberFormats(const TxlsRegional &regional);
