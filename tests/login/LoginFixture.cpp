#include "tests/login/LoginFixture.h"

#include "db/OracleBase.h"
#include "db/OracleStatement.h"
#include "db/ProcessState.h"
#include "login/LoginWithQuery.h"
#include "login/UserRights.h"

LoginWorld::LoginWorld(TestEngine engine, TestDb *shared, bool coded)
{
    ResetProcessState();
    if (!shared) {
        own_ = std::make_unique<TestDb>(engine, QStringLiteral("users"));
        shared = own_.get();
    }
    db_ = shared;
    db_->exec(QStringLiteral("DELETE FROM USER_PSW; DELETE FROM USER_G_P; DELETE FROM USER_GROUP;"
                             "DELETE FROM SRV; DELETE FROM SCRIPT_HISTORY;"
                             "INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0)"));
    if (coded)
        db_->exec(
            QStringLiteral("INSERT INTO SCRIPT_HISTORY (SCRIPT_VERSION) VALUES ('SHIFRPSWMD5')"));
    writeViriIni(dir_.path(), *db_);
    base_ = std::make_unique<TFOracleBase>(nullptr, dir_.path());
}

LoginWorld::~LoginWorld() = default;

void LoginWorld::addUser(int tabNum, const QString &name, const QString &pwd, const QString &ipadr,
                         const QString &wenabled, const QString &groupId)
{
    db_->exec(QStringLiteral("INSERT INTO USER_PSW (TABNUM, NAME, PWD, IPADR, WENABLED, ALLNAME, "
                             "GROUPID, SHEMA) VALUES (%1, %2, %3, %4, %5, 'Full %1', %6, 1)")
                  .arg(tabNum)
                  .arg(name, pwd, ipadr, wenabled, groupId));
}

QString LoginWorld::users() const
{
    return db_->query(QStringLiteral("SELECT TABNUM, NAME, IP FROM USER_PSW ORDER BY TABNUM"));
}

TLoginAttempt attemptLogin(const QString &name, const QString &password, const QString &address)
{
    const TLoginAttempt a = CheckUserLogin(name, password, address,
                                           [](TOracleQuery &q) { return ReadUserMeanings(q); });
    ShowLoginOutcome(a, name);
    return a;
}
