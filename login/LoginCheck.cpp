#include "login/LoginCheck.h"

#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/OracleStatement.h"
#include "login/PasswordForm.h"

namespace {
// A bound empty text must stay an empty text: a null one would be bound as NULL and change
// which rows "NAME = ''" selects on engines that tell the two apart.
QString notNull(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

void bindText(TOracleStatement &Q, const QString &Name, const QString &Value)
{
    Q.DeclareVariable(Name, otString);
    Q.SetVariable(Name, notNull(Value));
}

// The user's address as the last one used; then the access check.
void recordLoginAddress(TOracleQuery &Q, const QString &Address)
{
    TOracleSession *session = Q.Session();
    try {
        Q.Close();
        Q.SQL.clear();
        Q.DeleteVariables();
        Q.SQL = QStringList{QStringLiteral("UPDATE USER_PSW SET IP=:IP"),
                            QStringLiteral("WHERE TABNUM = :TABNUM")};
        bindText(Q, QStringLiteral("IP"), Address);
        Q.DeclareVariable(QStringLiteral("TABNUM"), otInteger);
        Q.SetVariable(QStringLiteral("TABNUM"), int(FOracleBase->UserTabNum));
        Q.Execute();
        session->Commit();
        FOracleBase->CheckUserAccess();
    } catch (const std::exception &) {
        // The address is only a record; the user is logged in all the same.
        session->Rollback();
    }
}
} // namespace

void PrepareLoginStatement(TOracleStatement &Q, const QString &AUser, const QString &APsw,
                           const QString &UserIP)
{
    Q.Close();
    Q.DeleteVariables();
    QStringList sql{QStringLiteral("SELECT * FROM USER_PSW WHERE ((NAME = :NAME)")};
    if (AUser.isEmpty())
        sql << QStringLiteral(" or (NAME IS NULL)");
    sql << QStringLiteral(") AND ((PWD = :PWD)");
    if (APsw.isEmpty())
        sql << QStringLiteral(" or (PWD IS NULL)");
    sql << QStringLiteral(") AND ((IPADR LIKE '%' || :USERIP || '%')")
        << QStringLiteral(" OR (IPADR ='') OR (IPADR IS NULL)) AND (WENABLED='T')");
    Q.SQL = sql;
    bindText(Q, QStringLiteral("NAME"), AUser);
    bindText(Q, QStringLiteral("PWD"), StoredPasswordForm(APsw));
    bindText(Q, QStringLiteral("USERIP"), UserIP);
}

QString RefusedLoginText(const QString &AUser)
{
    return QStringLiteral("Пользователь \"") + AUser +
           QStringLiteral("\" не существует, Вы ввели неправильный пароль или ") +
           QStringLiteral("Ваш доступ в систему запрещен!");
}

TLoginAttempt CheckUserLogin(const QString &AUser, const QString &APsw, const QString &UserIP,
                             const std::function<int(TOracleQuery &)> &ReceiveMeanings)
{
    TLoginAttempt out;
    TOracleSession *session = FOracleBase->ADatabase;
    TOracleQuery q;
    q.SetSession(session);
    try {
        if (!session->Connected())
            session->LogOn();
        PrepareLoginStatement(q, AUser, APsw, UserIP);
        q.Execute();
        if (q.Eof()) {
            out.Refused = true;
            return out;
        }
        out.Result = ReceiveMeanings(q);
        FOracleBase->UserTabNum = int(q.FieldByName(QStringLiteral("TABNUM")).AsInteger());
        recordLoginAddress(q, UserIP);
    } catch (const std::exception &e) {
        out.Error = DbErrorOf(QString(), e, q.SQLText());
    }
    return out;
}
