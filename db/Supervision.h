#pragma once

#include <QString>

#include <optional>

class QTimer;
class TOracleSession;

// Supervision of the working and the reserve server. Called by TFOracleBase at its start
// and end; the probes set the connection flags and the process-wide WriteToSRV,
// WriteToRezerv and WriteToHour.

// Start: flags reset, CheckEndReservEvent made (set), the first probe of the working server
// (its logon runs the after-logon steps), the reserve's probe when mirrored, the access
// check, the probe threads; then the supervision is live (ResetPowerDB false). With
// AutoConnect the waiting window is made and TimerAutoConnect runs a step each second.
void StartWorkDB(int CountSrv);
// Stop: flags cleared, both probe threads ended and waited for (every step a probe can be
// in is bounded by a logon time-out), then CheckEndReservEvent and the waiting window
// freed and both sessions logged off.
void EndWorkDB();

// Probe of one server: logs Dbs on when needed and reads "SELECT MAIN,SECOND,RO FROM SRV".
// SA, SB := -10 first (RO keeps its value); any error logs Dbs off and is dropped. False
// when both codes are negative or SA is 2.
bool ConditionServer(TOracleSession *Dbs, int &SA, int &SB, int &RO);
// Decides the working server, exchanging the sessions' logon parameters when the reserve
// has become the main server, and computes the write flags.
bool SetMainReservServer();
// Probe of the reserve: true when its SRV table answers with a row.
bool ConnectReservServer();
// One supervision step; false while the working server is not usable. A lost server is
// retried on a probe thread, so the step itself stays short. While a report run holds the
// working session busy the step answers the last finding and touches nothing.
bool ConnectAllServer();

// What the supervision shows while it works: in the windows program, the waiting window. The
// program installs it; without one the supervision runs unseen (the unattended program).
class TSupervisionView {
public:
    virtual ~TSupervisionView() = default;
    // Makes the view when there is none; Title, when not empty, captions the one it makes.
    virtual void Make(const QString &Title) = 0;
    // After each timer step: whether a main server is found.
    virtual void Found(bool Found) = 0;
    virtual void Free() = 0;
};
void SetSupervisionView(TSupervisionView *View);

// The timer step: one supervision step, then the view told whether a main server is found.
// Nothing while the module is missing or restarting.
std::optional<bool> SupervisionTimerStep();
// What the last step answered, as the connection flags still hold it: for a window that
// shows the state before any step has run.
std::optional<bool> SupervisionState();
// For a window that runs supervision on its own timer: makes the view (captioned with the
// program's name) and starts Timer1 with [Timer] IntervalConditionServer of viri.ini (3000 ms).
void StartConditionSRV(QTimer *Timer1);

// WriteToRezerv and WriteToSRV cleared, then Is_Connect_ := one supervision step.
void IsConnect_();
// Is_Connect_ := one supervision step; returns it.
bool Test_Time_Alias();
// Is_Connect_ := false; both sessions logged off.
void DisConnect_();
