#include "batch/BatchMain.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "batch/BatchSession.h"
#include "batch/RunCommand.h"
#include "batch/SendCommand.h"
#include "db/OracleBase.h"

namespace {

// The checked statements report their errors only with this set; here that is the only way
// the database's own text reaches the output.
class TDebugReports {
public:
    TDebugReports() : previous_(Debug_.exchange(true)) {}
    ~TDebugReports() { Debug_ = previous_; }
    TDebugReports(const TDebugReports &) = delete;
    TDebugReports &operator=(const TDebugReports &) = delete;

private:
    bool previous_;
};

} // namespace

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
    TDebugReports debug;
    const auto base = OpenBatchSession(options, console);
    if (!base)
        return BatchUsageOrConnection;
    return options.Command == TBatchCommand::Run ? RunCommand(options, console)
                                                 : SendCommand(options, console);
}
