#include "login/ShiftEnd.h"

#include "db/FieldValue.h"
#include "db/OracleBase.h"
#include "login/LoginSettings.h"
#include "login/SessionVariables.h"

#include <cmath>

namespace {
constexpr qint64 msecsPerDay = 86400000;
const QDate dayZero(1899, 12, 30);
} // namespace

double DateTimeToDays(const QDateTime &Value)
{
    return double(dayZero.daysTo(Value.date())) +
           double(Value.time().msecsSinceStartOfDay()) / double(msecsPerDay);
}

QDateTime DaysToDateTime(double Days)
{
    const qint64 msecs = std::llround(Days * double(msecsPerDay));
    const qint64 days =
        msecs >= 0 ? msecs / msecsPerDay : -((-msecs + msecsPerDay - 1) / msecsPerDay);
    return QDateTime(dayZero.addDays(days),
                     QTime::fromMSecsSinceStartOfDay(int(msecs - days * msecsPerDay)));
}

double NowDays()
{
    return DateTimeToDays(QDateTime::currentDateTime());
}

QString DaysToText(double Days)
{
    const QDateTime t = DaysToDateTime(Days);
    QString text = t.date().toString(FormatSettings.ShortDateFormat);
    if (t.time() != QTime(0, 0))
        text += u' ' + t.time().toString(FormatSettings.LongTimeFormat);
    return text;
}

double ShiftEndOf(double N)
{
    // nearbyint rounds in the default mode, to nearest with ties to even.
    return std::nearbyint(N / 0.5) * 0.5 + 1.0 / 3.0;
}

double NoShiftEnd()
{
    return NowDays() + 10000;
}

std::optional<QString> Count_Val_smena(double N)
{
    Val_smena = ShiftEndOf(N);
    if (!SHOW_SMENA_PASSWORD)
        Val_smena = NoShiftEnd();
    if (ReadShowTime())
        return DaysToText(Val_smena);
    return std::nullopt;
}
