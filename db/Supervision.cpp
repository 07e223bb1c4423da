#include "db/Supervision.h"

#include "db/ManualResetEvent.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "db/UiThread.h"

// The first probe's logon of the working server and the one-server rules. The decision
// between two servers, the probe threads and the waiting window build on these.

namespace {
// RO when no SRV row could be read: the working server is then read only.
constexpr int unknownRO = 2;

void clearFlags(TFOracleBase &base)
{
    base.ResetPowerDB = true;
    WriteToRezerv = false;
    WriteToSRV = false;
    WriteToHour = false;
    base.Is_Connect_ = false;
    base.Is_Connect_A = false;
    base.Is_Connect_B = false;
}
} // namespace

bool ConditionServer(TOracleSession *Dbs, int &SA, int &SB, int &RO)
{
    SA = -10;
    SB = -10;
    try {
        TOracleQuery q;
        q.SetSession(Dbs);
        if (!Dbs->Connected())
            Dbs->LogOn();
        q.SQL.append(QStringLiteral("SELECT MAIN,SECOND,RO FROM SRV"));
        q.Execute();
        if (!q.Eof()) {
            const int main = int(q.FieldByName(QStringLiteral("MAIN")).AsInteger());
            const int second = int(q.FieldByName(QStringLiteral("SECOND")).AsInteger());
            const int ro = int(q.FieldByName(QStringLiteral("RO")).AsInteger());
            SA = main;
            SB = second;
            if (WorkResSrv && SA >= 0 && SA <= 1 && SB >= 0 && SB <= 1)
                std::swap(SA, SB);
            RO = ro;
        }
        q.Close();
    } catch (const std::exception &) {
        FOracleBase->Dis_Connect(Dbs);
    }
    return !((SA < 0 && SB < 0) || SA == 2);
}

bool SetMainReservServer()
{
    TFOracleBase &base = *FOracleBase;
    int stateA = -10;
    int stateB = -10;
    int ro = unknownRO;
    ConditionServer(base.ADatabase, stateA, stateB, ro);
    const bool result = base.ADatabase->Connected();
    WriteToSRV = result && (ro == 0 || ro == 1);
    WriteToHour = WriteToSRV && ro == 0;
    WriteToRezerv = false;
    return result;
}

bool ConnectAllServer()
{
    TFOracleBase &base = *FOracleBase;
    if (base.ResetPowerDB)
        return false;
    base.Is_Connect_A = SetMainReservServer();
    return base.Is_Connect_A;
}

void StartWorkDB(int CountSrv)
{
    TFOracleBase &base = *FOracleBase;
    clearFlags(base);
    base.IsCountServer = CountSrv;
    base.CheckEndReservEvent = new TManualResetEvent(true);
    base.Is_Connect_A = SetMainReservServer();
    WriteToRezerv = base.Is_Connect_B.load();
    RunAtThreadEdge([&base] { base.CheckUserAccess(); });
    base.Is_Connect_ = base.Is_Connect_A.load();
    base.ResetPowerDB = false;
}

void EndWorkDB()
{
    TFOracleBase &base = *FOracleBase;
    clearFlags(base);
    delete base.CheckEndReservEvent;
    base.CheckEndReservEvent = nullptr;
    base.Dis_Connect(base.ADatabase);
    base.Dis_Connect(base.BDatabase);
}
