#include "db/DbWindows.h"

#include "common/MessageDialogs.h"
#include "db/DbError.h"
#include "db/MesConnect.h"
#include "db/Supervision.h"

void InstallDbWindows()
{
    SetErrorSink([](const QString &First, const QString &Last) { ErrorMessage(First, Last); });
    SetSupervisionView(&WaitingWindowView());
}
