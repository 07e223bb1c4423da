#include "db/ApplicationInfo.h"

#include "db/OracleSession.h"
#include "db/OracleStatement.h"

namespace {
void runCall(TOracleSession *session, const QString &text,
             std::initializer_list<std::pair<QString, QString>> values)
{
    if (text.isEmpty())
        return;
    TOracleQuery q;
    q.SetSession(session);
    q.SQL.append(text);
    for (const auto &[name, value] : values) {
        q.DeclareVariable(name, otString);
        q.SetVariable(name, value);
    }
    q.Execute();
}
} // namespace

TDBMS_Application_Info::TDBMS_Application_Info(TOracleSession *Session, const QString &PackageName)
    : session_(Session), packageName_(PackageName)
{
}

void TDBMS_Application_Info::Set_Module(const QString &Module, const QString &Action)
{
    runCall(session_, session_->Dialect().SetModuleStatement(),
            {{QStringLiteral("MODULE"), Module}, {QStringLiteral("ACTION"), Action}});
}

void TDBMS_Application_Info::Set_Client_Info(const QString &Info)
{
    runCall(session_, session_->Dialect().SetClientInfoStatement(),
            {{QStringLiteral("INFO"), Info}});
}
