#include "db/DbErrorWindow.h"

#include "common/MessageDialogs.h"

void ShowDbError(const TDbError &Error)
{
    ErrorMessage(Error.Summary(), Error.Statement);
}

void ShowWriteError(const QString &Name, const TDbError &Error)
{
    const QString text = Name.isEmpty()
                             ? QStringLiteral("Ошибка записи в БД")
                             : QStringLiteral("Ошибка записи в БД ") + Name + QStringLiteral(" !");
    QString detail = Error.Summary();
    if (!Error.Statement.isEmpty())
        detail += QStringLiteral("\r\n\r\n") + Error.Statement;
    MyMessageDlg(text, detail, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
}
