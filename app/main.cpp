#include "app/F_Quorvel.h"
#include "app/SelfTest.h"
#include "catalog/SetSQLTable.h"
#include "db/FieldValue.h"
#include "db/OracleBase.h"
#include "db/UiThread.h"
#include "login/NoteLogin.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Универсальный генератор отчетов"));
    ReadSystemFormatSettings();

    TFOracleBase base;
    {
        // Credentials on the command line are checked without showing the dialog; giving up
        // at the login requests termination, which ends the program below.
        TNoteLogin login;
        login.SetOnlyParamStr(true);
        login.ShowModal();
    }
    TF_Quorvel F_Quorvel;
    // The editor stays hidden; each opening replaces it. The mail windows are made afresh at
    // each opening, so none of them is made here.
    CreateSetSQLTable(&F_Quorvel);
    if (TerminateRequested())
        return 0;
    F_Quorvel.show();
    ScheduleSelfTest(F_Quorvel);
    return QApplication::exec();
}
