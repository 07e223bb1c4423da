#include "batch/BatchMain.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "batch/BatchSession.h"
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
    TBatchConsole console(Out, Err, Progress);
    const auto base = OpenBatchSession(options, console);
    if (!base)
        return BatchUsageOrConnection;
    return options.Command == TBatchCommand::Run ? RunCommand(options, console)
                                                 : SendCommand(options, console);
}
