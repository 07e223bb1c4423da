#pragma once

class TOracleSession;

// Supervision of the working and the reserve server. Called by TFOracleBase at its start
// and end; the probes set the connection flags and the process-wide WriteToSRV,
// WriteToRezerv and WriteToHour.

// Start: flags reset, CheckEndReservEvent made (set), the first probe of the working server
// (its logon runs the after-logon steps), the access check, then the supervision is live
// (ResetPowerDB false).
void StartWorkDB(int CountSrv);
// Stop: flags cleared, CheckEndReservEvent freed, both sessions logged off.
void EndWorkDB();

// Probe of one server: logs Dbs on when needed and reads "SELECT MAIN,SECOND,RO FROM SRV".
// SA, SB := -10 first (RO keeps its value); any error logs Dbs off and is dropped. False
// when both codes are negative or SA is 2.
bool ConditionServer(TOracleSession *Dbs, int &SA, int &SB, int &RO);
// Decides the working server and computes the write flags.
bool SetMainReservServer();
// One supervision step; false while the working server is not usable.
bool ConnectAllServer();
