#pragma once

#include "db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

// The delivery log QUORVEL_MAIL_LOG: one row per recipient and report for every attempt to
// mail it, from the mailing window and from the unattended program. Times and dates are
// stored as sortable text ("YYYY-MM-DD HH:MM:SS", "YYYY-MM-DD") so that all three engines
// compare them alike.

struct TDeliveryLogRow {
    QDateTime At;
    QString Address; // the recipient's ADR_MAIL
    int ReportId = 0;
    // The period the report ran for; invalid when the window mailed a result on screen.
    QDate From;
    QDate To;
    QString Format;
    bool Delivered = false;
    // The server's reply to the message, or the error that ended it.
    QString Reply;
    qint64 Bytes = 0;

    bool operator==(const TDeliveryLogRow &) const = default;
};

// Whether the table can be read; its error when not (an older database without it).
TDbResult ProbeDeliveryLog();
// The one line that tells the user the deliveries are not recorded, for that error.
QString DeliveryLogWarning(const TDbError &Error);

// One row through the checked write path (committed, repeated on the reserve when mirrored).
TDbResult WriteDeliveryLog(const TDeliveryLogRow &Row);

// The rows from the day Since on (every row for an invalid date), oldest first.
std::vector<TDeliveryLogRow> ReadDeliveryLog(const QDate &Since, TDbResult *Outcome = nullptr);
