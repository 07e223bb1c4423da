#pragma once

#include <QDate>
#include <QString>

// Small texts of the output lines.

// "01.03.2015-31.03.2015".
QString PeriodText(const QDate &From, const QDate &To);

// "1 row", "3 rows".
QString RowsText(int Rows);

// A file name made of a text: characters no file name may hold become "_"; Fallback when
// nothing is left.
QString FileNameOf(const QString &Text, const QString &Fallback);
