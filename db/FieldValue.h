#pragma once

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// Kinds of a result column, as the Oracle layer gives them: a NUMBER with a declared
// precision from 1 to 9 and a scale of 0 or below is an integer (small integer up to
// precision 4); every other number is a double; DATE and timestamps are date-times;
// character columns are text.
enum TFieldType { ftUnknown, ftString, ftSmallint, ftInteger, ftFloat, ftDateTime };

// The user's number and date conventions used for value texts. The defaults are those of
// the locale the system is made for (05.03.2015 8:30:00, decimal comma).
struct TFormatSettings {
    QChar DecimalSeparator = QChar(u',');
    QString ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    QString LongTimeFormat = QStringLiteral("H:mm:ss");
};

// The conventions of a locale: its decimal separator, short date format and long time format
// without a time zone (the values are wall-clock readings). A Russian locale (and the C
// locale) gives the defaults, the texts the system has always shown, whose hour has no leading
// zero.
TFormatSettings FormatSettingsOf(const QLocale &Locale);

// Process-wide, set on the user-interface thread before any report runs: the programs read
// the system locale into it at start-up (ReadSystemFormatSettings).
extern TFormatSettings FormatSettings;
void ReadSystemFormatSettings();

// The kind of a column from its declared type name (as a CREATE TABLE states it, e.g.
// "NUMBER(9)", "NUMERIC(12,2)", "VARCHAR2(100)", "DATE", "INTEGER"), with the precision and
// scale given separately when the type name carries none (-1: not declared). An empty type
// name (a computed expression) gives ftUnknown: its values are texts or doubles by value.
TFieldType FieldTypeOfDeclared(const QString &TypeName, int Precision = -1, int Scale = -1);

// A double in the general format: at most 15 significant digits, no thousands separator,
// the decimal separator of FormatSettings, no trailing zeros; from 10^15 up, and below
// 0.00001, as mantissa, "E" and exponent (1E15, 1,5E-6).
QString FloatText(double Value);

// The text of one value of a column of the given kind (empty for NULL).
QString FieldValueText(TFieldType Type, const QVariant &Value);

// Date-time values are the server's wall-clock readings, without a zone: they are kept with
// the UTC spec, so that no local time-zone rule shifts them (a time inside a daylight-saving
// gap stays as stored) and none is looked up per value.
QDateTime WallClock(const QDate &Date, const QTime &Time);

// Reads "yyyy-MM-dd", optionally followed by a blank (or "T") and "HH:mm[:ss[.fraction]]",
// from the start of Text as a wall-clock value; *End is the position after what was read.
// Invalid when Text does not start with a valid date.
QDateTime ReadDateTime(QStringView Text, qsizetype *End = nullptr);
