#include "db/Supervision.h"

#include "common/IniFile.h"
#include "db/ManualResetEvent.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/ProbeThreads.h"
#include "db/UiThread.h"

#include <QCoreApplication>
#include <QTimer>

// Start and stop of the supervision, its steps, the timer step with its view.

namespace {
void clearFlags(TFOracleBase &base)
{
    WriteToRezerv = false;
    WriteToSRV = false;
    WriteToHour = false;
    base.Is_Connect_ = false;
    base.Is_Connect_A = false;
    base.Is_Connect_B = false;
}

TSupervisionView *supervisionView = nullptr;
} // namespace

void SetSupervisionView(TSupervisionView *View)
{
    supervisionView = View;
}

void StartWorkDB(int CountSrv)
{
    TFOracleBase &base = *FOracleBase;
    base.ResetPowerDB = true;
    clearFlags(base);
    base.IsCountServer = CountSrv;
    base.CheckEndReservEvent = new TManualResetEvent();
    base.CheckEndReservEvent->SetEvent();

    base.Is_Connect_A = SetMainReservServer();
    if (WriteToRezerv)
        base.Is_Connect_B = ConnectReservServer();
    WriteToRezerv = base.Is_Connect_B.load();
    RunAtThreadEdge([&base] { base.CheckUserAccess(); });

    base.SyncObj = new TBaseMainThread();
    base.SyncObj->StartProbing();
    if (CountSrv > 0) {
        base.ReservThread = new TBaseReservThread();
        base.ReservThread->StartProbing();
    }
    base.Is_Connect_ = base.Is_Connect_A.load();
    base.ResetPowerDB = false;

    if (base.AutoConnect) {
        if (supervisionView)
            supervisionView->Make(QString());
        base.TimerAutoConnect->setInterval(1000);
        base.TimerAutoConnect->start();
    }
}

void EndWorkDB()
{
    TFOracleBase &base = *FOracleBase;
    base.ResetPowerDB = true;
    clearFlags(base);
    for (TProbeThread *thread : {static_cast<TProbeThread *>(base.SyncObj),
                                 static_cast<TProbeThread *>(base.ReservThread)}) {
        if (thread)
            thread->TerminateThread();
    }
    // The threads use the module, its sessions and the event until they leave their loops.
    delete base.SyncObj;
    base.SyncObj = nullptr;
    delete base.ReservThread;
    base.ReservThread = nullptr;
    // A probe that ended meanwhile may have set them again.
    clearFlags(base);
    delete base.CheckEndReservEvent;
    base.CheckEndReservEvent = nullptr;
    if (supervisionView)
        supervisionView->Free();
    base.Dis_Connect(base.ADatabase);
    base.Dis_Connect(base.BDatabase);
}

bool ConnectAllServer()
{
    TFOracleBase &base = *FOracleBase;
    if (base.ResetPowerDB)
        return false;
    // A report run reads the working session: the step leaves both sessions as they are and
    // answers what the last step found; the first step after the run probes and acts.
    if (base.ADatabase->Busy())
        return base.Is_Connect_A;
    bool result = false;
    if (base.Is_Connect_A) {
        base.Is_Connect_A = SetMainReservServer();
        result = base.Is_Connect_A;
        if (WriteToRezerv) {
            if (base.Is_Connect_B)
                base.Is_Connect_B = ConnectReservServer();
            else if (base.ReservThread)
                base.ReservThread->Pulse();
            WriteToRezerv = WriteToRezerv && base.Is_Connect_B;
        }
    }
    if (!base.Is_Connect_A) {
        // The main thread's probe sets Is_Connect_A when it ends; a later step sees it.
        if (base.SyncObj)
            base.SyncObj->Pulse();
        result = false;
    }
    return result;
}

std::optional<bool> SupervisionTimerStep()
{
    if (!FOracleBase || FOracleBase->ResetPowerDB)
        return std::nullopt;
    const bool found = ConnectAllServer();
    if (supervisionView)
        supervisionView->Found(found);
    return found;
}

std::optional<bool> SupervisionState()
{
    if (!FOracleBase || FOracleBase->ResetPowerDB)
        return std::nullopt;
    return FOracleBase->Is_Connect_A.load();
}

void StartConditionSRV(QTimer *Timer1)
{
    TFOracleBase &base = *FOracleBase;
    if (supervisionView)
        supervisionView->Make(QStringLiteral("Программа \"") + QCoreApplication::applicationName() +
                              QStringLiteral("\""));
    const IniFile ini = ViriIni();
    base.IntervalConditionServer =
        ini.readInteger(QStringLiteral("Timer"), QStringLiteral("IntervalConditionServer"), 3000);
    Timer1->setInterval(base.IntervalConditionServer);
    Timer1->start();
}

void IsConnect_()
{
    WriteToRezerv = false;
    WriteToSRV = false;
    FOracleBase->Is_Connect_ = ConnectAllServer();
}

bool Test_Time_Alias()
{
    FOracleBase->Is_Connect_ = ConnectAllServer();
    return FOracleBase->Is_Connect_;
}

void DisConnect_()
{
    TFOracleBase &base = *FOracleBase;
    base.Is_Connect_ = false;
    base.Dis_Connect(base.ADatabase);
    if (base.IsCountServer > 0)
        base.Dis_Connect(base.BDatabase);
}
