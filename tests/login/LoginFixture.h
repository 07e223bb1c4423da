#pragma once

#include "login/LoginCheck.h"

#include "tests/db/DbFixture.h"
#include "tests/support/TempDir.h"

#include <QString>

#include <memory>

class TFOracleBase;

// One check of a name, password and address as the login dialog makes it: the user's
// properties loaded on a match, the refused message or the database's error shown otherwise.
TLoginAttempt attemptLogin(const QString &name, const QString &password, const QString &address);

// A database with the schema, a viri.ini naming it, and the database module logged on to it,
// as the program has them when the login dialog is made. Temp.tmp lies in folder().
class LoginWorld {
public:
    // A server shared by several worlds (PostgreSQL started once per suite) may be given;
    // its user tables are then emptied. With coded, the database is marked as holding MD5
    // digests of the passwords (PassCoded after the logon).
    explicit LoginWorld(TestEngine engine, TestDb *shared = nullptr, bool coded = false);
    ~LoginWorld();

    TestDb &db() { return *db_; }
    QString folder() const { return dir_.path(); }
    TFOracleBase &base() { return *base_; }

    // A USER_PSW row; the values are SQL literals ("NULL", "'T'").
    void addUser(int tabNum, const QString &name, const QString &pwd,
                 const QString &ipadr = QStringLiteral("NULL"),
                 const QString &wenabled = QStringLiteral("'T'"),
                 const QString &groupId = QStringLiteral("NULL"));
    // The rows of USER_PSW as "TABNUM|NAME|IP", ordered by TABNUM.
    QString users() const;

private:
    TempDir dir_;
    std::unique_ptr<TestDb> own_;
    TestDb *db_;
    std::unique_ptr<TFOracleBase> base_;
};
