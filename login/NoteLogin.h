#pragma once

#include "login/LoginWithQuery.h"

// The login dialog of the program: a match loads the user's properties and rights, and
// Cancel asks whether to end the program.
class TNoteLogin : public TLoginWithQuery {
    Q_OBJECT
public:
    explicit TNoteLogin(QWidget *Owner = nullptr);

    int ReceiveMeanings(TOracleQuery &Query) override;
    // Yes: the application is told to end and the dialog closes with Cancel. No: the dialog
    // stays.
    void CancelBtnClick();
};
