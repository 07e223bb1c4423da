#pragma once

#include "tests/support/PgServer.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <QStringList>

// A workspace for the batch program: an SQLite database from schema/sqlite.sql with this
// server writable in SRV, the user "dispatcher" with password "secret", a table DATA with
// three days of values, a folder and three titled reports over DATA, and viri.ini naming the
// database. No database module is made here: the program under test makes its own.
class BatchDb {
public:
    BatchDb();

    void exec(const QString &sql) const;
    // Fields joined by "|", rows by line breaks.
    QString rows(const QString &sql) const;
    QString folder() const { return dir_.path(); }
    QString file() const { return dir_.file(QStringLiteral("catalog.db")); }

    // The login argument of the user, with the password in it.
    static QString login() { return QStringLiteral("dispatcher/secret@ZUD"); }
    // The login without the password, and a private file holding it.
    QStringList loginArgs() const;

private:
    TempDir dir_;
};

// The same workspace on a PostgreSQL server of its own.
class BatchPgDb {
public:
    BatchPgDb();

    bool ok() const { return pg_.ok(); }
    void exec(const QString &sql) const;
    QString rows(const QString &sql) const { return pg_.sql(sql); }
    QString folder() const { return dir_.path(); }
    // The server ended abruptly (SIGKILL), as a crash or a power cut ends it.
    void kill() { pg_.kill(); }

private:
    PgServer pg_;
    TempDir dir_;
};

// Runs the batch program in this process; the output and error text go to the strings.
int runBatch(const QStringList &Args, QString *Out = nullptr, QString *Err = nullptr);
