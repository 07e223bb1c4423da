#include "login/LoginSettings.h"

#include "common/IniFile.h"
#include "db/OracleBase.h"

namespace {
const QString section = QStringLiteral("Login");
}

QString ReadLoginName()
{
    return IniFile(TmpFile).readString(section, QStringLiteral("NAME"), QString());
}

void WriteLoginName(const QString &Name)
{
    try {
        IniFile(TmpFile).writeString(section, QStringLiteral("NAME"), Name);
    } catch (const EIniFileException &) {
        // The name is only a convenience for the next start.
    }
}

bool ReadShowTime()
{
    return IniFile(TmpFile).readBool(section, QStringLiteral("SHOWTIME"), false);
}
