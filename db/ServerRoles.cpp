#include "db/ManualResetEvent.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "db/Supervision.h"

#include <functional>
#include <utility>

// Which of the two servers is the working one, from the SRV table each server holds.

namespace {
constexpr int noState = -10;
// RO when no SRV row could be read: the working server is then read only.
constexpr int unknownRO = 2;
// The most ChangeMainServer waits for a reserve probe in flight, in milliseconds.
constexpr int reservProbeWaitMs = 90000;

bool writable(int ro)
{
    return ro == 0 || ro == 1;
}

bool mainOrReserve(int code)
{
    return code == 0 || code == 1;
}

// Runs Query on Dbs with a new plain statement, logging Dbs on first when needed; OnRow reads
// the first row. Any error logs Dbs off and gives false.
bool probe(TOracleSession *Dbs, const QString &Query,
           const std::function<void(TOracleQuery &)> &OnRow)
{
    try {
        TOracleQuery q;
        q.SetSession(Dbs);
        if (!Dbs->Connected())
            Dbs->LogOn();
        q.SQL.append(Query);
        q.Execute();
        const bool row = !q.Eof();
        if (row)
            OnRow(q);
        q.Close();
        return row;
    } catch (const std::exception &) {
        // A session a report run reads stays logged on until the run ends; a later probe
        // finds it lost again.
        if (!Dbs->Busy())
            FOracleBase->Dis_Connect(Dbs);
        return false;
    }
}

// Makes the reserve the working server by exchanging the two sessions' logon parameters.
bool ChangeMainServer()
{
    TFOracleBase &base = *FOracleBase;
    TOracleSession *a = base.ADatabase;
    TOracleSession *b = base.BDatabase;
    // Not under a report run: a probe after the run makes the exchange.
    if (a->Busy() || b->Busy())
        return false;
    base.Dis_Connect(a);
    // The reserve may still be logging on: swapping the logon parameters under it would
    // leave it connected to the server we are about to make the main one.
    if (base.CheckEndReservEvent)
        base.CheckEndReservEvent->WaitFor(reservProbeWaitMs);
    base.Dis_Connect(b);
    const QString database = a->LogonDatabase();
    const QString password = a->LogonPassword();
    const QString user = a->LogonUsername();
    a->SetLogonDatabase(b->LogonDatabase());
    a->SetLogonPassword(b->LogonPassword());
    a->SetLogonUsername(b->LogonUsername());
    b->SetLogonDatabase(database);
    b->SetLogonPassword(password);
    b->SetLogonUsername(user);
    try {
        a->LogOn();
        if (WriteToRezerv)
            b->LogOn();
    } catch (const std::exception &) {
        // The probes of the next steps find out which server answers.
    }
    return a->Connected();
}

// The write flags of one server working alone (one server, or autonomous mode).
void setAloneFlags(bool working, int ro)
{
    WriteToSRV = working && writable(ro);
    WriteToHour = WriteToSRV && ro == 0;
    WriteToRezerv = false;
}
} // namespace

bool ConditionServer(TOracleSession *Dbs, int &SA, int &SB, int &RO)
{
    SA = noState;
    SB = noState;
    int main = noState;
    int second = noState;
    int ro = RO;
    // All three are read before any is stored, so a bad value leaves no half answer.
    if (probe(Dbs, QStringLiteral("SELECT MAIN,SECOND,RO FROM SRV"), [&](TOracleQuery &q) {
            main = int(IntegerOfValue(q.Field(QStringLiteral("MAIN"))));
            second = int(IntegerOfValue(q.Field(QStringLiteral("SECOND"))));
            ro = int(IntegerOfValue(q.Field(QStringLiteral("RO"))));
        })) {
        SA = main;
        SB = second;
        if (WorkResSrv && mainOrReserve(SA) && mainOrReserve(SB))
            std::swap(SA, SB);
        RO = ro;
    }
    return !((SA < 0 && SB < 0) || SA == 2);
}

bool SetMainReservServer()
{
    TFOracleBase &base = *FOracleBase;
    int stateA = noState;
    int stateB = noState;
    int ro = unknownRO;
    bool result = ConditionServer(base.ADatabase, stateA, stateB, ro);

    if (base.IsCountServer == 0) {
        result = base.ADatabase->Connected();
        setAloneFlags(result, ro);
        return result;
    }

    if (C_SRV == 2) {
        if (stateA != 2 && ChangeMainServer())
            ConditionServer(base.ADatabase, stateA, stateB, ro);
        result = stateA == 2;
        setAloneFlags(result, ro);
        return result;
    }

    if (!result) {
        // The reserve answers for itself: its own code is StateB.
        ConditionServer(base.BDatabase, stateB, stateA, ro);
        stateA = noState;
        WriteToRezerv = false;
    }
    // The flags follow the codes as probed, before any exchange of the sessions.
    const bool mainFound = stateA == 0 || stateB == 0;
    if (stateA == 0)
        result = true;
    else if (stateB == 0)
        result = ChangeMainServer();
    else
        result = false;

    WriteToSRV = result && writable(ro) && mainFound;
    WriteToHour = WriteToSRV && ro == 0;
    WriteToRezerv = WriteToSRV && (stateA == 1 || stateB == 1 || (stateA == 0 && stateB == 0));
    if (!WriteToRezerv)
        WorkResSrv = false;
    return result;
}

bool ConnectReservServer()
{
    return probe(FOracleBase->BDatabase, QStringLiteral("SELECT MAIN,SECOND FROM SRV"),
                 [](TOracleQuery &) {});
}
