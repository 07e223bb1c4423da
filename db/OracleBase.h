#pragma once

#include "common/IniFile.h"
#include "common/TempTmp.h"
#include "db/ProcessState.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

class QTimer;
class TOracleSession;
class TManualResetEvent;
class TBaseMainThread;
class TBaseReservThread;

// The one database module of the process: the working server's session ADatabase and the
// reserve's BDatabase, their logon parameters from viri.ini, the after-logon set-up, the
// access check, and commit/rollback over both servers. Construction reads viri.ini and
// starts supervision, whose first probe logs on; destruction stops it and logs both off.
// Only one may exist at a time (FOracleBase); it may be made and destroyed again.
class TFOracleBase : public QObject {
    Q_OBJECT
public:
    // Folder: where viri.ini and Temp.tmp lie; empty for the program's folder.
    explicit TFOracleBase(QObject *Owner = nullptr, const QString &Folder = QString());
    ~TFOracleBase() override;
    TFOracleBase(const TFOracleBase &) = delete;
    TFOracleBase &operator=(const TFOracleBase &) = delete;

    TOracleSession *ADatabase;
    TOracleSession *BDatabase;
    // Created disabled; supervision enables it when AutoConnect is set.
    QTimer *TimerAutoConnect;
    // The probe threads of the supervision; none until it starts them.
    TBaseMainThread *SyncObj = nullptr;
    TBaseReservThread *ReservThread = nullptr;
    std::atomic<int> IsCountServer{0};
    // Personnel number (TABNUM) of the logged-in user; 0 until the login sets it.
    std::atomic<int> UserTabNum{0};
    std::atomic<bool> Is_Connect_{false};
    bool AutoConnect = false;
    int IntervalConditionServer = 3000;
    // Names of the server state codes 0, 1, 2.
    QStringList AllStateSRV;
    // Set while no reserve probe runs; owned by the supervision.
    TManualResetEvent *CheckEndReservEvent = nullptr;
    std::atomic<bool> Is_Connect_A{false};
    std::atomic<bool> Is_Connect_B{false};
    std::atomic<bool> ResetPowerDB{false};

    // Loads one session's logon parameters: N = 0 from [Alias]/[Timer], else from
    // [Alias_N]/[Timer_N]. Logs the session off first.
    void Get_Alias(TOracleSession *Dbs, int N);
    // After-logon handler of ADatabase, run on the thread that logged on: PassCoded,
    // F_NEW_CP/Hard_CP_Off, NLS_SORT by the server's major version; an error is shown once
    // (on the user-interface thread) and ends the steps; then CheckUserAccess, whose errors
    // are shown the same way instead of leaving the logon.
    void ADatabaseAfterLogOn(TOracleSession *Sender);
    // Only while ADatabase is connected: a barred user (WENABLED = 'F' for UserTabNum) gets
    // the message and the application ends; then module and client information are
    // registered. Errors of the registration reach the caller.
    void CheckUserAccess();
    // The workstation's first IPv4 address ("%d.%d.%d.%d"), "Неизвестный" when the host
    // name does not resolve.
    static QString GetIPAddr();
    // The same for a given host name.
    static QString GetIPAddrOf(const QString &HostName);
    // Nothing in view mode; else commit (roll back) ADatabase when in a transaction, and
    // BDatabase too when mirrored and in a transaction. Errors reach the caller.
    void Commit_();
    void Rollback_();
    // Logs Dbs off when connected; errors are swallowed.
    void Dis_Connect(TOracleSession *Dbs);
    // True when connected, else whether a logon succeeds.
    bool If_Connect(TOracleSession *Dbs);
    // ADatabase->CheckConnection(true): -1 for ccError, else 0 (ReConnet is not used).
    int CheckConnection(bool ReConnet);
    // Handler of TimerAutoConnect: one supervision step without a status bar; the windows
    // that show the state hear of it through ConditionStepped.
    void TimerAutoConnectTimer();

signals:
    // After each step of TimerAutoConnect, with what SupervisionTimerStep answered.
    void ConditionStepped(std::optional<bool> Found);

private:
    void OnCreateProc();
};

// The single instance, set at the end of construction and cleared at destruction.
extern TFOracleBase *FOracleBase;

// Process-wide variables of the module and the supervision, members of ProcessState
// (db/ProcessState.h). The flags are written by the supervision (also on its probe threads)
// and read everywhere; they are atomic so that this is well defined.
extern QString &CurrDir; // folder of viri.ini, without a trailing separator
// The settings file viri.ini in CurrDir, read afresh at every call.
IniFile ViriIni();
// TmpFile (common/TempTmp.h): CurrDir + separator + "Temp.tmp", set by the module.
extern std::atomic<int> &N_SRV;
extern std::atomic<int> &N_SRV_PPD;
extern std::atomic<int> &C_SRV;
extern std::atomic<bool> &SHOW_SMENA_PASSWORD;
extern std::atomic<bool> &WriteToSRV;
extern std::atomic<bool> &WriteToRezerv;
extern std::atomic<bool> &WriteToHour;
extern std::atomic<bool> &WorkResSrv;
extern std::atomic<bool> &Debug_;
extern std::atomic<bool> &PassCoded;
extern std::atomic<bool> &F_NEW_CP;
// "0" when F_NEW_CP, else "000" (written by the after-logon steps, on any thread).
extern TSharedText &Hard_CP_Off;
// The workstation's address as GetIPAddr last gave it (the access check and the login set it).
extern TSharedText &UserIP;
