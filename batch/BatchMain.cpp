#include "batch/BatchMain.h"

#include "batch/BatchConsole.h"
#include "batch/BatchLogin.h"
#include "batch/BatchOptions.h"
#include "batch/BatchSession.h"
#include "batch/LogCommand.h"
#include "batch/RunCommand.h"
#include "batch/SendCommand.h"
#include "db/OracleBase.h"

int BatchMain(const QStringList &Args, QTextStream &Out, QTextStream &Err, bool Progress,
              const QDate &Today)
{
    TBatchOptions options;
    try {
        options = ParseBatchArguments(Args, Today);
    } catch (const EBatchUsage &e) {
        Err << "quorvel-batch: " << e.what() << "\n" << BatchUsageText();
        Err.flush();
        return BatchUsageOrConnection;
    }
    const char *const passwordVariable = "QUORVEL_PASSWORD";
    TCommandLineLogin login;
    QString warning;
    try {
        login = BatchLogin(options,
                           qEnvironmentVariableIsSet(passwordVariable)
                               ? qEnvironmentVariable(passwordVariable)
                               : QString(),
                           &warning);
    } catch (const EBatchUsage &e) {
        Err << "quorvel-batch: " << e.what() << "\n";
        Err.flush();
        return BatchUsageOrConnection;
    }
    TBatchConsole console(Out, Err, Progress);
    if (!warning.isEmpty())
        console.Error(warning);
    const auto base = OpenBatchSession(options, login, console);
    if (!base)
        return BatchUsageOrConnection;
    switch (options.Command) {
    case TBatchCommand::Run:
        return RunCommand(options, console);
    case TBatchCommand::Send:
        return SendCommand(options, console);
    case TBatchCommand::Log:
        break;
    }
    return LogCommand(options, console);
}
