#include "tests/db/SupervisionFixture.h"

#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/ProbeThreads.h"
#include "db/ServerStatus.h"
#include "db/Supervision.h"
#include "tests/db/DbFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

std::unique_ptr<PgServer> TwoServers::a_;
std::unique_ptr<PgServer> TwoServers::b_;

QString deadServer()
{
    return QStringLiteral("postgresql://127.0.0.1:1/quorvel");
}

bool waitUntil(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the wait for events regularly, so conditions set by other threads are seen.
    QTimer tick;
    tick.start(5);
    while (!cond()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool probesQuiet()
{
    for (const TProbeThread *t : {static_cast<const TProbeThread *>(FOracleBase->SyncObj),
                                  static_cast<const TProbeThread *>(FOracleBase->ReservThread)}) {
        if (t && (t->State() != TProbeThread::Idle || t->Dummy.IsSet()))
            return false;
    }
    return true;
}

bool supervisionStep()
{
    const bool result = ConnectAllServer();
    EXPECT_TRUE(waitUntil(probesQuiet)) << "a probe did not end";
    return result;
}

void setSrv(const PgServer &server, int main, int second, int ro)
{
    server.sql(QStringLiteral("DELETE FROM SRV; INSERT INTO SRV (MAIN, SECOND, RO) VALUES "
                              "(%1, %2, %3);")
                   .arg(main)
                   .arg(second)
                   .arg(ro));
}

void clearSrv(const PgServer &server)
{
    server.sql(QStringLiteral("DELETE FROM SRV;"));
}

void TwoServers::SetUpTestSuite()
{
    a_ = std::make_unique<PgServer>();
    b_ = std::make_unique<PgServer>();
}

void TwoServers::TearDownTestSuite()
{
    a_.reset();
    b_.reset();
}

void TwoServers::SetUp()
{
    ASSERT_TRUE(a_->ok() && b_->ok());
    for (PgServer *s : {a_.get(), b_.get()}) {
        if (!s->running()) {
            ASSERT_TRUE(s->start());
        }
        s->sql(QStringLiteral("DELETE FROM SRV; DROP TABLE IF EXISTS T_MIRROR; "
                              "CREATE TABLE T_MIRROR (N INTEGER PRIMARY KEY, V VARCHAR(20));"));
    }
    ResetProcessState();
    dir_ = std::make_unique<TempDir>();
}

void TwoServers::TearDown()
{
    stop();
    ResetProcessState();
}

TFOracleBase *TwoServers::start(const QString &connA, const QString &connB, const QString &mode,
                                const QString &sections)
{
    QString text = QStringLiteral("[Mode]\nN_Server=%1\n%2[Alias]\nUSER_NAME=postgres\n"
                                  "SERVER_NAME=%3\nPASSWORD_=secret\n")
                       .arg(connB.isEmpty() ? 1 : 2)
                       .arg(mode, connA);
    if (!connB.isEmpty())
        text += QStringLiteral("[Alias_1]\nUSER_NAME=postgres\nSERVER_NAME=%1\nPASSWORD_=secret\n")
                    .arg(connB);
    text += sections;
    QFile f(dir_->file(QStringLiteral("viri.ini")));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
    f.close();
    module_ = std::make_unique<TFOracleBase>(nullptr, dir_->path());
    return module_.get();
}

void TwoServers::stop()
{
    module_.reset();
}

QString TwoServers::mirrorRows(const PgServer &server)
{
    return server.sql(QStringLiteral("SELECT N, V FROM T_MIRROR ORDER BY N;"));
}

bool TwoServers::insertRow(int n, const QString &v)
{
    TNoteQuery q;
    q.SQL =
        QStringList{QStringLiteral("INSERT INTO T_MIRROR (N, V) VALUES (%1, '%2')").arg(n).arg(v)};
    return q.NoteExecSQL(true);
}
