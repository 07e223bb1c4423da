#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Date-times as days since 1899-12-30, the fraction being the time of day (how Val_smena is
// kept), in local time.
double DateTimeToDays(const QDateTime &Value);
QDateTime DaysToDateTime(double Days);
double NowDays();
// The date, and the time when it is not midnight, in the user's formats (05.03.2015 8:30:00).
QString DaysToText(double Days);

// The noon or midnight nearest to N (an exact half goes to the even multiple) plus eight
// hours: 20:00 for a time between 06:00 and 18:00, else 08:00 of the next morning.
double ShiftEndOf(double N);

// The shift end when shift passwords are off: ten thousand days from now.
double NoShiftEnd();

// Val_smena for a login at N: its shift end, or now + 10000 days when shift passwords are
// off. With Login/SHOWTIME set in Temp.tmp, the text a caption shows of it.
std::optional<QString> Count_Val_smena(double N);
