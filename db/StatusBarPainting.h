#pragma once

#include <QString>

#include <optional>

class QLabel;
class QStatusBar;

// The supervision's state in a status bar: the server and user description in its first panel,
// the state's text and colour.

// Writes the description (ServerStatusText) into panel 0 of Sb and fits the panel to its text.
void NameSRVToSB(QStatusBar *Sb);
// As above with ServerStatusTextFull; pUser_All_Name is not used (User_All_Name is).
void NameSRVToSB(QStatusBar *Sb, const QString &pUser_All_Name);

// Panel 0 of a status bar: a label named "Panel0", made on first use.
QLabel *StatusPanel0(QStatusBar *Sb);

// The state of a supervision step in Sb: nothing found yet (the module restarting), no main
// server, view mode, or working (the search and view texts cleared, the button-face colour).
void ShowConditionSRV(QStatusBar *Sb, std::optional<bool> Found);

// The timer step: status text of Sb (when given), one supervision step (the waiting window
// shown while no main server is found and closed when one is), and the state's text and
// colour in Sb.
void TimerConditionSRV(QStatusBar *Sb);
