#pragma once

#include <QString>

// The logged-in user, process-wide: set at login and kept for the run. Each name is bound to
// its member of ProcessState.login (db/ProcessState.h), where the start values are. The full
// name User_All_Name is the one the status bars show; it is declared beside them in
// db/ServerStatus.h.

// The typed name (when OK is pressed or command-line credentials succeed), then the row's NAME.
extern QString &User_Name;
// The password exactly as typed.
extern QString &Pass;
// The row's PWD as stored (plain or digest form).
extern QString &User_Psw;
// End of the shift as days since 1899-12-30 (the fraction is the time of day): 08:00 or 20:00
// after the time of the OK press, or far ahead when shift passwords are off.
extern double &Val_smena;

extern int &Tab_Num;
// GROUPID as text; NULL reads as empty.
extern QString &User_GroupID;
extern int &Shema;

// Preference flags: the column holds exactly "T".
extern bool &BMMessage;
extern bool &BMGoToMessage;
extern bool &BMRegl;
extern bool &BMSound;
extern bool &BMChWind;
extern bool &BMZklTop;

// From the user's group row. QualityMask starts with the low thirty bits set.
extern int &QualityMask;
extern int &ActionID;

// The right flags, one per property code (see UserRights.h).
extern bool &Prop_Vis;
extern bool &Prop_Edit;
extern bool &Act_Edit;
extern bool &OutForm_Edit;
extern bool &Graph_Edit;
extern bool &TU_Edit;
extern bool &Instr_Edit;
extern bool &TM_Control;
extern bool &Fiction_TS;
extern bool &Hand_Input;
extern bool &Hand_Update;
extern bool &Hand_Update_TS;
extern bool &BMControl_Visible;
extern bool &SHADOW_;
extern bool &Admin;
extern bool &Kvit;
extern bool &Connect_User;
extern bool &Kvit_Enable;
extern bool &Change_Hand;
extern bool &SetAlterChange;
extern bool &GraphHandEdit;
extern bool &EditTIT;
extern bool &ChangeSetForm;
extern bool &ChangeDayRep;
extern bool &FarUser;
extern bool &EditAllHour_Rep;
extern bool &SaveSetPrint;
extern bool &Prop_Create;
extern bool &EditDayRep;
extern bool &Hand_Input_TS;
extern bool &ChangeStateSrv;
extern bool &ChangeWorkPrg;
extern bool &Alarm_Edit;
extern bool &Alarm_Work;
extern bool &Addtemplate;
extern bool &HandCP_Update;
extern bool &HandPR_Update;
extern bool &ControlTU;
extern bool &PasspPropManager;
extern bool &PasspPropEdit;
extern bool &UpdateSrvPPD;
extern bool &BMEditMessage;
extern bool &BMEditGoToMessage;
extern bool &BMEditSound;
extern bool &TU_Password;
extern bool &SMViewPowerDis;
extern bool &TU_ViewOneRow;
extern bool &ChShieldIndBr;
extern bool &SwitchingLock;
extern bool &SwitchBlankCreate;
extern bool &SwitchBlankView;
extern bool &ValidStatesDefine;
extern bool &NeedPsTsComment;
extern bool &TU_ALL;
extern bool &CanSelServer;
