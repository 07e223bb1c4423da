#pragma once

#include <QString>

class TOracleSession;

// The server's record of what a session is doing (module, action and client information).
// On Oracle the package DBMS_APPLICATION_INFO; on PostgreSQL the application name and a
// session setting; SQLite keeps no such record and the calls do nothing.
class TDBMS_Application_Info {
public:
    TDBMS_Application_Info(TOracleSession *Session, const QString &PackageName);

    QString PackageName() const { return packageName_; }

    // Each runs on the server and raises EOracleError on error.
    void Set_Module(const QString &Module, const QString &Action);
    void Set_Client_Info(const QString &Info);

private:
    TOracleSession *session_;
    QString packageName_;
};
