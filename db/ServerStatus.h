#pragma once

#include "db/OracleBase.h"

#include <QString>

// The full name of the logged-in user; the login sets it, the status texts show it.
extern TSharedText &User_All_Name;

// The server and user description of the status bar's first panel: with two servers
// "   Два сервера. Основной: "<alias>"   " (mirrored) or "   Нет горячего резерва. Работаю с:
// "<alias>"   ", with one server "   user@alias   "; then the user part when a user is known.
QString ServerStatusText();
// The form offered to other windows: with two servers always the "Два сервера. Основной"
// form, and the user part always appended.
QString ServerStatusTextFull();
