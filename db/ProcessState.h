#pragma once

#include <QString>

#include <atomic>
#include <mutex>
#include <utility>

// A text variable written on one thread and read on another.
class TSharedText {
public:
    explicit TSharedText(QString initial) : value_(std::move(initial)) {}
    QString Value() const;
    operator QString() const { return Value(); }
    TSharedText &operator=(const QString &value);

private:
    mutable std::mutex mutex_;
    QString value_;
};

// Every process-wide variable of the database module, the supervision and the login in one
// place, each with its start value. The headers that name them (db/OracleBase.h,
// db/ServerStatus.h, login/SessionVariables.h) bind their names to these members, so callers
// use the names as ever; ResetProcessState brings them all back at once. The login's part
// lives here because the login builds on db/, not the other way round.
struct TProcessState {
    // The database module (viri.ini and the after-logon steps). The flags may be written on a
    // probe thread, so they are atomic.
    struct TModule {
        QString CurrDir; // folder of viri.ini, without a trailing separator
        std::atomic<int> N_SRV{0};
        std::atomic<int> N_SRV_PPD{0};
        std::atomic<int> C_SRV{0};
        std::atomic<bool> SHOW_SMENA_PASSWORD{false};
        std::atomic<bool> Debug_{false};
        std::atomic<bool> PassCoded{false};
        std::atomic<bool> F_NEW_CP{false};
        TSharedText Hard_CP_Off{QStringLiteral("000")};
        TSharedText UserIP{QString()};
        // The application was told to end (db/UiThread.h).
        std::atomic<bool> terminateRequested{false};
    } module;

    // The connection-state flags the supervision computes, also on its probe threads.
    struct TSupervision {
        std::atomic<bool> WriteToSRV{false};
        std::atomic<bool> WriteToRezerv{false};
        std::atomic<bool> WriteToHour{false};
        std::atomic<bool> WorkResSrv{false};
    } supervision;

    // The logged-in user, set at login and kept for the run.
    struct TLogin {
        TSharedText User_All_Name{QString()};
        QString User_Name;
        QString Pass;
        QString User_Psw;
        double Val_smena = 0;
        int Tab_Num = 0;
        QString User_GroupID;
        int Shema = 0;
        // Preference flags.
        bool BMMessage = false;
        bool BMGoToMessage = false;
        bool BMRegl = false;
        bool BMSound = false;
        bool BMChWind = false;
        bool BMZklTop = false;
        // Every quality bit the system knows, until a group says otherwise.
        int QualityMask = 0x3FFFFFFF;
        int ActionID = 0;
        // The right flags, one per property code (login/UserRights.h).
        bool Prop_Vis = false;
        bool Prop_Edit = false;
        bool Act_Edit = false;
        bool OutForm_Edit = false;
        bool Graph_Edit = false;
        bool TU_Edit = false;
        bool Instr_Edit = false;
        bool TM_Control = false;
        bool Fiction_TS = false;
        bool Hand_Input = false;
        bool Hand_Update = false;
        bool Hand_Update_TS = false;
        bool BMControl_Visible = false;
        bool SHADOW_ = false;
        bool Admin = false;
        bool Kvit = false;
        bool Connect_User = false;
        bool Kvit_Enable = false;
        bool Change_Hand = false;
        bool SetAlterChange = false;
        bool GraphHandEdit = false;
        bool EditTIT = false;
        bool ChangeSetForm = false;
        bool ChangeDayRep = false;
        bool FarUser = false;
        bool EditAllHour_Rep = false;
        bool SaveSetPrint = false;
        bool Prop_Create = false;
        bool EditDayRep = false;
        bool Hand_Input_TS = false;
        bool ChangeStateSrv = false;
        bool ChangeWorkPrg = false;
        bool Alarm_Edit = false;
        bool Alarm_Work = false;
        bool Addtemplate = false;
        bool HandCP_Update = false;
        bool HandPR_Update = false;
        bool ControlTU = false;
        bool PasspPropManager = false;
        bool PasspPropEdit = false;
        bool UpdateSrvPPD = false;
        bool BMEditMessage = false;
        bool BMEditGoToMessage = false;
        bool BMEditSound = false;
        bool TU_Password = false;
        bool SMViewPowerDis = false;
        bool TU_ViewOneRow = false;
        bool ChShieldIndBr = false;
        bool SwitchingLock = false;
        bool SwitchBlankCreate = false;
        bool SwitchBlankView = false;
        bool ValidStatesDefine = false;
        bool NeedPsTsComment = false;
        bool TU_ALL = false;
        bool CanSelServer = false;
    } login;
};

extern TProcessState ProcessState;

// Every variable of ProcessState, and the state file name TmpFile (common/TempTmp.h), back
// to its start value, as at a fresh start of the program. Only while no database module
// exists: its probe threads use the state.
void ResetProcessState();
