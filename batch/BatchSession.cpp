#include "batch/BatchSession.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "db/UiThread.h"
#include "login/LoginCheck.h"
#include "login/SessionVariables.h"
#include "login/UserRights.h"

#include <QTimer>

namespace {

// The reason the working server cannot be used, empty when it can.
QString connectionFailure(TFOracleBase &Base)
{
    TOracleSession *session = Base.ADatabase;
    if (!session->Connected()) {
        // The supervision drops the logon's error; a second logon gives the server's text.
        try {
            session->LogOn();
        } catch (const std::exception &e) {
            return ExceptionText(e);
        }
    }
    if (!Base.Is_Connect_)
        return QStringLiteral("no main server answers (state in SRV)");
    return {};
}

} // namespace

std::unique_ptr<TFOracleBase> OpenBatchSession(const TBatchOptions &Options,
                                               const TCommandLineLogin &login,
                                               TBatchConsole &Console)
{
    ClearTerminateRequest();
    auto base = std::make_unique<TFOracleBase>(nullptr, Options.Workspace);
    // Nobody waits at a window here: the state found at start holds for the run.
    base->TimerAutoConnect->stop();
    const QString failure = connectionFailure(*base);
    if (!failure.isEmpty()) {
        Console.Error(QStringLiteral("cannot connect to the database \"") +
                      base->ADatabase->LogonDatabase() + QStringLiteral("\" (viri.ini in ") +
                      CurrDir + QStringLiteral("): ") + failure);
        return nullptr;
    }
    UserIP = TFOracleBase::GetIPAddr();
    const TLoginAttempt attempt =
        CheckUserLogin(login.Name, login.Password, UserIP,
                       [](TOracleQuery &Query) { return ReadUserMeanings(Query); });
    if (attempt.Refused)
        Console.Error(RefusedLoginText(login.Name));
    else if (attempt.Error.IsError())
        Console.Error(attempt.Error.Text, attempt.Error.Statement);
    // A barred user is told so by the access check, which also requests the end.
    if (attempt.Result == 0 || TerminateRequested()) {
        Console.Error(QStringLiteral("login of \"") + login.Name + QStringLiteral("\" refused"));
        return nullptr;
    }
    User_Name = login.Name;
    Pass = login.Password;
    return base;
}
