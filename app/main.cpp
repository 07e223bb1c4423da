#include "app/F_Quorvel.h"
#include "db/OracleBase.h"
#include "db/UiThread.h"
#include "login/NoteLogin.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Универсальный генератор отчетов"));

    TFOracleBase base;
    {
        // Credentials on the command line are checked without showing the dialog; giving up
        // at the login requests termination, which ends the program below.
        TNoteLogin login;
        login.SetOnlyParamStr(true);
        login.ShowModal();
    }
    TF_Quorvel F_Quorvel;
    if (TerminateRequested())
        return 0;
    F_Quorvel.show();
    return QApplication::exec();
}
