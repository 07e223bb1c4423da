#include "login/NoteLogin.h"

#include "common/MessageDialogs.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "db/UiThread.h"
#include "login/UserRights.h"

TNoteLogin::TNoteLogin(QWidget *Owner) : TLoginWithQuery(Owner)
{
    connect(this, &TLoginForm::CancelClick, this, &TNoteLogin::CancelBtnClick);
}

int TNoteLogin::ReceiveMeanings(TOracleQuery &Query)
{
    return ReadUserMeanings(Query);
}

void TNoteLogin::CancelBtnClick()
{
    const int answer = MyMessageDlg(
        QStringLiteral("Вы нажали кнопку ОТМЕНА. В Данном режиме можно только прекратить "
                       "работу.\r\n              Вы действительно хотите выйти из программы?"),
        TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0);
    if (answer == mrYes)
        TerminateApplication();
    else
        setResult(mrNone);
}
