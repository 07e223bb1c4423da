#pragma once

#include "db/DbError.h"

#include <QString>
#include <QStringList>

#include <vector>

// The mail tables apart from any window: the recipients (QUORVEL_MAIL) with the reports
// assigned to each, and the one outgoing server row (QUORVEL_POP).

// One mail recipient. A new record has every field zero or empty.
struct TSend {
    int ID_MAIL = 0;
    QString ADR_MAIL; // one address or several separated by commas
    QString ADR_NAME;
    QString ID_REPORT; // catalog identifiers in decimal, "," between them, empty for none

    bool operator==(const TSend &) const = default;
};

// The outgoing mail server and its credentials; an empty user means no authentication.
struct TPopServer {
    QString IP_POP_SERVER;
    QString POP_USER;
    QString POP_PASSWORD;

    bool operator==(const TPopServer &) const = default;
};

// Every recipient in database order. A failing read ends the list with the rows read so far,
// and its error goes to Outcome (when given).
std::vector<TSend> LoadRecipients(TDbResult *Outcome = nullptr);

// The first QUORVEL_POP row; every field empty when there is none or the read fails (its
// error to Outcome).
TPopServer LoadPopServer(TDbResult *Outcome = nullptr);

// Replaces the recipient list and the server row in one transaction. The error when a
// statement or the commit fails: then everything is rolled back and the stored settings are
// unchanged.
TDbResult SaveMailSettings(const std::vector<const TSend *> &Recipients, const TPopServer &Server);

// The identifiers of an ID_REPORT text: commas and blanks separate them, quotes around an
// item are removed, empty items are dropped ("12, 15" gives 12 and 15).
QStringList ReportIdList(const QString &Ids);
