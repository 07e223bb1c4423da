#include "db/ProbeThreads.h"

#include "common/ThreadChecks.h"
#include "db/OracleBase.h"
#include "db/Supervision.h"
#include "db/UiThread.h"

TProbeThread::TProbeThread(Priority Priority, std::function<void()> Probe,
                           std::function<void()> Before, std::function<void()> After)
    : priority_(Priority), probe_(std::move(Probe)), before_(std::move(Before)),
      after_(std::move(After))
{
}

TProbeThread::~TProbeThread()
{
    TerminateThread();
    wait();
    TakeOver(this);
}

void TProbeThread::StartProbing()
{
    state_ = Idle;
    start(priority_);
}

void TProbeThread::Pulse()
{
    if (state_ == Idle)
        Dummy.SetEvent();
}

void TProbeThread::TerminateThread()
{
    terminated_ = true;
    Dummy.SetEvent();
}

void TProbeThread::run()
{
    while (!terminated_) {
        Dummy.WaitFor(-1);
        // Probing before the reset: a pulse from here on is dropped, so "idle and not
        // pulsed" means no probe is running or about to run.
        state_ = Probing;
        Dummy.ResetEvent();
        if (before_)
            before_();
        if (!terminated_)
            RunAtThreadEdge(probe_);
        if (after_)
            after_();
        state_ = Idle;
    }
    HandOver(this);
}

TBaseMainThread::TBaseMainThread()
    : TBaseMainThread([] { FOracleBase->Is_Connect_A = SetMainReservServer(); })
{
}

TBaseMainThread::TBaseMainThread(std::function<void()> Probe)
    : TProbeThread(NormalPriority, std::move(Probe))
{
}

TBaseReservThread::TBaseReservThread()
    : TBaseReservThread([] { FOracleBase->Is_Connect_B = ConnectReservServer(); },
                        FOracleBase->CheckEndReservEvent)
{
}

TBaseReservThread::TBaseReservThread(std::function<void()> Probe, TManualResetEvent *EndEvent)
    : TProbeThread(
          LowPriority, std::move(Probe), [EndEvent] { EndEvent->ResetEvent(); },
          [EndEvent] { EndEvent->SetEvent(); })
{
}
