#include "db/DbWindows.h"

#include "common/MessageDialogs.h"
#include "db/MesConnect.h"
#include "db/Supervision.h"
#include "db/UiThread.h"

void InstallDbWindows()
{
    SetErrorSink([](const QString &First, const QString &Last) { ErrorMessage(First, Last); });
    SetSupervisionView(&WaitingWindowView());
}
