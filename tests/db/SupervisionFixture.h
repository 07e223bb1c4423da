#pragma once

#include "tests/support/PgServer.h"
#include "tests/support/TempDir.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class TFOracleBase;

// A connect string where nothing listens: logons are refused at once.
QString deadServer();

// Waits on the event loop until cond holds, at most ms milliseconds; true when it held.
bool waitUntil(const std::function<bool()> &cond, int ms = 20000);

// No probe thread is running a probe or about to start one.
bool probesQuiet();

// One supervision step on this thread, then waits until the probes it started are done.
bool supervisionStep();

// The SRV row of a server (MAIN, SECOND, RO), or no row.
void setSrv(const PgServer &server, int main, int second, int ro);
void clearSrv(const PgServer &server);

// Two real PostgreSQL servers shared by the tests of a suite; each test gets both running,
// without SRV rows, with an empty table T_MIRROR(N, V), and fresh process variables.
class TwoServers : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static PgServer &a() { return *a_; }
    static PgServer &b() { return *b_; }

    // viri.ini for one server (connB empty) or two, with more lines of [Mode] and more
    // sections, then the module.
    TFOracleBase *start(const QString &connA, const QString &connB = QString(),
                        const QString &mode = QString(), const QString &sections = QString());
    void stop();
    // Rows of T_MIRROR on a server, "N|V" by N.
    static QString mirrorRows(const PgServer &server);
    // A checked insert into T_MIRROR, committed; its NoteExecSQL result.
    static bool insertRow(int n, const QString &v);

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<TFOracleBase> module_;

private:
    static std::unique_ptr<PgServer> a_;
    static std::unique_ptr<PgServer> b_;
};
