#pragma once

#include "db/DbError.h"

#include <QString>

#include <functional>

class TOracleStatement;
class TOracleQuery;

// The check of a name and password against USER_PSW on the working session.

// The login statement: the enabled users with that name (or a NULL name when the name is
// empty), that password in its stored form (or a NULL one when the password is empty) and an
// IPADR that contains UserIP, is empty or is NULL. The typed values are bound, never pasted.
void PrepareLoginStatement(TOracleStatement &Q, const QString &AUser, const QString &APsw,
                           const QString &UserIP);

// The text every refused login shows, whatever the reason.
QString RefusedLoginText(const QString &AUser);

// What one check came to: Result is the hook's result on a match, else 0.
struct TLoginAttempt {
    int Result = 0;
    bool Refused = false; // no row: the caller shows RefusedLoginText
    TDbError Error;       // a database error of the check, for the caller to show
};

// Connects FOracleBase->ADatabase when needed and runs the login statement. No row: Refused.
// A row: ReceiveMeanings on it gives the result, UserTabNum takes its TABNUM, UserIP becomes
// the user's last address (IP), committed, and the access check runs; a failure of these last
// three is rolled back silently. Any other database error comes back in Error, with the
// statement text, and leaves the result as it was.
TLoginAttempt CheckUserLogin(const QString &AUser, const QString &APsw, const QString &UserIP,
                             const std::function<int(TOracleQuery &)> &ReceiveMeanings);
