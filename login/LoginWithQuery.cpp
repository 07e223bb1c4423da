#include "login/LoginWithQuery.h"

#include "db/OracleBase.h"
#include "login/LoginCheck.h"

TLoginWithQuery::TLoginWithQuery(QWidget *Owner) : TLoginForm(Owner) {}

int TLoginWithQuery::ReceiveInput(const QString &AUser, const QString &APsw)
{
    UserIP = TFOracleBase::GetIPAddr();
    const TLoginAttempt attempt = CheckUserLogin(
        AUser, APsw, UserIP, [this](TOracleQuery &Query) { return ReceiveMeanings(Query); });
    if (attempt.Refused)
        FormActivate();
    return attempt.Result;
}
