#include "login/LoginWithQuery.h"

#include "common/MessageDialogs.h"
#include "db/DbErrorWindow.h"
#include "db/OracleBase.h"
#include "login/LoginCheck.h"

void ShowLoginOutcome(const TLoginAttempt &Attempt, const QString &AUser)
{
    if (Attempt.Refused)
        MyMessageDlg(RefusedLoginText(AUser), TMsgDlgType::mtError, {TMsgDlgBtn::mbCancel}, 0);
    else if (Attempt.Error.IsError())
        ShowDbError(Attempt.Error);
}

TLoginWithQuery::TLoginWithQuery(QWidget *Owner) : TLoginForm(Owner) {}

int TLoginWithQuery::ReceiveInput(const QString &AUser, const QString &APsw)
{
    UserIP = TFOracleBase::GetIPAddr();
    const TLoginAttempt attempt = CheckUserLogin(
        AUser, APsw, UserIP, [this](TOracleQuery &Query) { return ReceiveMeanings(Query); });
    ShowLoginOutcome(attempt, AUser);
    if (attempt.Refused)
        FormActivate();
    return attempt.Result;
}
