#pragma once

#include <QString>

// The Login section of the user-interface state file Temp.tmp (TmpFile).

// NAME: the last name typed, empty when none.
QString ReadLoginName();
// Writes NAME; a file that cannot be written is left as it is.
void WriteLoginName(const QString &Name);
// SHOWTIME: show the shift end in the caption; false when absent.
bool ReadShowTime();
