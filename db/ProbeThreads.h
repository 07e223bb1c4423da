#pragma once

#include "db/ManualResetEvent.h"

#include <QThread>

#include <atomic>
#include <functional>

// A watch thread of the supervision: it sleeps on Dummy and, each time a supervision step
// pulses it, runs one probe. State: 1 idle (waiting), 2 probing. Exceptions never leave it.
class TProbeThread : public QThread {
    Q_OBJECT
public:
    enum { Idle = 1, Probing = 2 };

    ~TProbeThread() override;

    // Starts the loop with state 1.
    void StartProbing();
    // Wakes an idle thread for one probe; a pulse during a probe is dropped.
    void Pulse();
    // Marks the thread terminated and wakes it, so that it leaves its loop.
    void TerminateThread();
    int State() const { return state_; }
    bool Terminated() const { return terminated_; }

    TManualResetEvent Dummy;

protected:
    // Before and After run around every probe, After also when the probe failed.
    TProbeThread(Priority Priority, std::function<void()> Probe, std::function<void()> Before = {},
                 std::function<void()> After = {});
    void run() override;

private:
    Priority priority_;
    std::function<void()> probe_;
    std::function<void()> before_;
    std::function<void()> after_;
    std::atomic<int> state_{Idle};
    std::atomic<bool> terminated_{false};
};

// Retries the working server: FOracleBase->Is_Connect_A := SetMainReservServer. Normal
// priority.
class TBaseMainThread : public TProbeThread {
    Q_OBJECT
public:
    TBaseMainThread();
    // For tests: any probe in place of the working server's.
    explicit TBaseMainThread(std::function<void()> Probe);
};

// Retries the reserve server: FOracleBase->Is_Connect_B := ConnectReservServer, with
// CheckEndReservEvent reset while it probes. One step below normal priority.
class TBaseReservThread : public TProbeThread {
    Q_OBJECT
public:
    TBaseReservThread();
    // For tests: any probe, with the event to hold reset while it runs.
    TBaseReservThread(std::function<void()> Probe, TManualResetEvent *EndEvent);
};
