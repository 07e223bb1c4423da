#pragma once

#include "login/LoginForm.h"

class TOracleQuery;
struct TLoginAttempt;

// What a check came to, shown as the dialog shows it: the refused message, or the database's
// error in the error window; nothing for a match.
void ShowLoginOutcome(const TLoginAttempt &Attempt, const QString &AUser);

// The login dialog that checks against USER_PSW on the working session. What a match
// loads is left to ReceiveMeanings.
class TLoginWithQuery : public TLoginForm {
    Q_OBJECT
public:
    explicit TLoginWithQuery(QWidget *Owner = nullptr);

    // 1 when the name, password and workstation are admitted (the hook's result); 0 after
    // the refused message (the password is emptied) or a database error.
    int ReceiveInput(const QString &AUser, const QString &APsw) override;
    // Called with the statement standing on the matched row; its result is the login's.
    virtual int ReceiveMeanings(TOracleQuery &Query) = 0;
};
