#include "common/ThreadChecks.h"
#include "db/MesConnect.h"
#include "db/OracleBase.h"
#include "db/ProbeThreads.h"
#include "db/Supervision.h"
#include "tests/db/SupervisionFixture.h"
#include "tests/support/DialogScript.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <iostream>
#include <memory>

// The probe threads: their pulses, where slow logons run, and start and stop with probes in
// flight.

namespace {
// A server that accepts connections and says nothing, closing each one after delayMs: a
// logon to it hangs that long, as one to a server behind a broken network does. It lives and
// ends on a thread of its own, handing nothing over through Qt's queues, whose waits the
// thread checks of a sanitizer build do not see.
class SilentServer {
public:
    explicit SilentServer(int delayMs)
        : thread_(QThread::create([this, delayMs] {
              QTcpServer server;
              QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, delayMs] {
                  while (QTcpSocket *s = server.nextPendingConnection())
                      QTimer::singleShot(delayMs, s, [s] { s->deleteLater(); });
              });
              server.listen(QHostAddress::LocalHost);
              port_ = server.serverPort();
              QEventLoop().exec();
              HandOver(this);
          }))
    {
        thread_->start();
        QElapsedTimer waited;
        waited.start();
        while (port_ == 0 && waited.elapsed() < 10000)
            QThread::msleep(1);
    }
    ~SilentServer()
    {
        thread_->quit();
        thread_->wait();
        TakeOver(this);
    }
    QString connectString() const
    {
        return QStringLiteral("postgresql://127.0.0.1:%1/quorvel").arg(port_.load());
    }

private:
    std::atomic<quint16> port_{0};
    std::unique_ptr<QThread> thread_;
};

class ProbeThreads_Postgres : public TwoServers {};
} // namespace

TEST(ProbeThread, PulseDuringAProbeIsDropped)
{
    TManualResetEvent release;
    TManualResetEvent end(true);
    std::atomic<int> probes{0};
    TBaseReservThread t(
        [&] {
            ++probes;
            release.WaitFor(-1);
        },
        &end);
    t.StartProbing();
    EXPECT_EQ(t.State(), TProbeThread::Idle);
    EXPECT_EQ(t.priority(), QThread::LowPriority);
    t.Pulse();
    ASSERT_TRUE(waitUntil([&] { return t.State() == TProbeThread::Probing; }));
    // The reserve's probe holds the end event reset while it runs.
    EXPECT_FALSE(end.IsSet());
    t.Pulse();
    t.Pulse();
    EXPECT_FALSE(t.Dummy.IsSet());
    release.SetEvent();
    ASSERT_TRUE(waitUntil([&] { return t.State() == TProbeThread::Idle; }));
    EXPECT_TRUE(end.IsSet());
    EXPECT_EQ(probes, 1);
    t.TerminateThread();
    EXPECT_TRUE(t.wait(20000));
    EXPECT_EQ(probes, 1);
}

TEST(ProbeThread, ExceptionOfAProbeDoesNotLeaveTheThread)
{
    DialogScript script;
    script.answer(mrOk).answer(mrOk);
    std::atomic<int> probes{0};
    TBaseMainThread t([&] {
        ++probes;
        throw std::runtime_error("probe failed");
    });
    t.StartProbing();
    t.Pulse();
    ASSERT_TRUE(waitUntil([&] { return probes == 1 && t.State() == TProbeThread::Idle; }));
    // The error is shown on the user-interface thread; the next pulse probes again.
    t.Pulse();
    ASSERT_TRUE(waitUntil([&] { return probes == 2 && t.State() == TProbeThread::Idle; }));
    EXPECT_TRUE(t.isRunning());
    EXPECT_EQ(t.priority(), QThread::NormalPriority);
    ASSERT_TRUE(waitUntil([&] { return script.shown().size() == 2; }));
    EXPECT_EQ(script.shown().at(0).text, "probe failed");
}

TEST_F(ProbeThreads_Postgres, SlowLogonRunsOnTheProbeThreadNotInTheStep)
{
    SilentServer silent(300);
    TFOracleBase *base = start(silent.connectString());
    EXPECT_FALSE(base->Is_Connect_A);
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer step;
        step.start();
        EXPECT_FALSE(ConnectAllServer());
        const qint64 stepUs = step.nsecsElapsed() / 1000;
        // The step only woke the main thread, which now logs on.
        EXPECT_TRUE(base->SyncObj->State() == TProbeThread::Probing ||
                    base->SyncObj->Dummy.IsSet());
        QElapsedTimer probe;
        probe.start();
        ASSERT_TRUE(waitUntil(probesQuiet));
        std::cout << "[probe] user-interface step " << stepUs << " us, probe on its thread "
                  << probe.elapsed() << " ms" << std::endl;
    }
    EXPECT_FALSE(base->Is_Connect_A);
}

TEST_F(ProbeThreads_Postgres, StartAndStopManyTimesWithProbesInFlight)
{
    SilentServer silent(100);
    setSrv(b(), 1, 0, 0);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        // The main server is lost in every round, so each step sends the threads probing.
        const QString first = round % 3 == 0 ? silent.connectString() : deadServer();
        TFOracleBase *base = start(first, b().connectString(), QString(),
                                   QStringLiteral("[Timer_1]\nAutoConnect=1\n"));
        base->TimerAutoConnect->setInterval(1);
        for (int i = 0; i < 3; ++i)
            ConnectAllServer();
        waitUntil([] { return false; }, 5);
        stop();
        EXPECT_EQ(FOracleBase, nullptr);
        EXPECT_EQ(FMesConnect, nullptr);
        EXPECT_FALSE(WriteToSRV);
        EXPECT_FALSE(WriteToRezerv);
    }
}
