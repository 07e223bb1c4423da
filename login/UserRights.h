#pragma once

class TOracleStatement;

// The user's properties and rights, read at login from the matched USER_PSW row and the
// user's group (USER_G_P, USER_GROUP).

// Property codes run from 0 to 56; 27 and 28 carry no flag.
constexpr int PropertyCodeCount = 57;

// The right flag a property code grants; null for 27, 28 and any code outside 0..56.
bool *RightFlagOfCode(int Code);

// Every right flag false.
void ClearRightFlags();

// The fixed profile of a remote user: BMControl_Visible, SHADOW_ and SMViewPowerDis true;
// Admin, Connect_User, UpdateSrvPPD, CanSelServer and FarUser as they are; all else false.
void ApplyFarUserProfile();

// From the row Query stands on: Tab_Num, User_Name, User_Psw, User_All_Name, User_GroupID,
// Shema and the six preference flags (a missing column or a value that is not a number where
// one is needed raises, which refuses the login; NULL reads as empty text or 0). Then the
// rights: all flags false, then the group's codes and the group row on Query's session. The
// group's statements fail silently, keeping what was set up to the failure; a group
// identifier that is not a number names no group. Returns 1.
int ReadUserMeanings(TOracleStatement &Query);
