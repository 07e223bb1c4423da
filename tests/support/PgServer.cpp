#include "tests/support/PgServer.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const QString binDir = QStringLiteral("/usr/lib/postgresql/15/bin");

int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

// The server refuses to run as root: as root, its programs run as the system user postgres.
// Each runs in a session of its own, so that an abrupt stop takes every backend with it.
// setsid and setpriv replace themselves by the program, so the process is the program.
bool startAsServerUser(ChildProcess &p, const QString &program, const QStringList &args,
                       const ChildProcess::Options &options)
{
    QStringList full;
    if (::geteuid() == 0)
        full << QStringLiteral("/usr/bin/setpriv") << QStringLiteral("--reuid=postgres")
             << QStringLiteral("--regid=postgres") << QStringLiteral("--clear-groups");
    full << program << args;
    return p.Start(QStringLiteral("/usr/bin/setsid"), full, options);
}

bool chownTree(const QString &path)
{
    if (::geteuid() != 0)
        return true;
    return runProgram(QStringLiteral("chown"),
                      {QStringLiteral("-R"), QStringLiteral("postgres:postgres"), path}) == 0;
}
} // namespace

PgServer::PgServer(bool withSchema, const QString &dbName) : dbName_(dbName)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quorvel-pg-XXXXXX"));
    dir.setAutoRemove(false);
    root_ = dir.path();
    data_ = root_ + QStringLiteral("/data");
    if (!initCluster())
        return;
    for (int attempt = 0; attempt < 5 && !running(); ++attempt) {
        port_ = freeLoopbackPort();
        start();
    }
    if (!running()) {
        ADD_FAILURE() << "PostgreSQL did not start in " << root_.toStdString();
        return;
    }
    QString error;
    const QString psql = binDir + QStringLiteral("/psql");
    if (runProgram(psql,
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"),
                    QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
                    QStringLiteral("-U"), user(), QStringLiteral("-d"), QStringLiteral("postgres"),
                    QStringLiteral("-c"), QStringLiteral("CREATE DATABASE ") + dbName_},
                   nullptr, &error) != 0) {
        ADD_FAILURE() << "CREATE DATABASE failed: " << error.toStdString();
        return;
    }
    if (withSchema) {
        QFile schema(sourceDir() + QStringLiteral("/schema/postgresql.sql"));
        if (!schema.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no schema/postgresql.sql";
            return;
        }
        sql(QString::fromUtf8(schema.readAll()));
    }
    ok_ = true;
}

PgServer::~PgServer()
{
    kill();
    QDir(root_).removeRecursively();
}

// initdb takes a second or two; every server starts from a copy of one cluster made once per
// machine (made aside and renamed into place, so parallel tests never see half of it).
bool PgServer::initCluster()
{
    const QString base =
        QDir::tempPath() + QStringLiteral("/quorvel-pg15-template-%1").arg(::geteuid());
    const QString templ = base + QStringLiteral("/data");
    if (!QFile::exists(templ + QStringLiteral("/PG_VERSION"))) {
        const QString scratch = root_ + QStringLiteral("/template");
        const QString scratchData = scratch + QStringLiteral("/data");
        if (!QDir().mkpath(scratchData) || !chownTree(root_)) {
            ADD_FAILURE() << "cannot prepare " << root_.toStdString();
            return false;
        }
        ChildProcess p;
        ChildProcess::Options merged;
        merged.Capture = true;
        merged.MergeError = true;
        if (!startAsServerUser(p, binDir + QStringLiteral("/initdb"),
                               {QStringLiteral("-D"), scratchData, QStringLiteral("-A"),
                                QStringLiteral("trust"), QStringLiteral("-U"), user(),
                                QStringLiteral("-E"), QStringLiteral("UTF8"),
                                QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                               merged) ||
            !p.WaitForFinished(120000) || p.ExitCode() != 0) {
            ADD_FAILURE() << "initdb failed: " << p.ErrorText().toStdString()
                          << p.Output().toStdString();
            return false;
        }
        if (::rename(scratch.toLocal8Bit().constData(), base.toLocal8Bit().constData()) != 0)
            QDir(scratch).removeRecursively(); // another test made it first
    }
    if (runProgram(QStringLiteral("cp"), {QStringLiteral("-a"), templ, data_}) != 0 ||
        !chownTree(root_)) {
        ADD_FAILURE() << "cannot copy the cluster into " << root_.toStdString();
        return false;
    }
    return true;
}

bool PgServer::running() const
{
    return postgres_ && postgres_->Running();
}

QString PgServer::connectString() const
{
    return QStringLiteral("postgresql://127.0.0.1:%1/%2").arg(port_).arg(dbName_);
}

bool PgServer::start()
{
    if (running())
        return true;
    postgres_ = std::make_unique<ChildProcess>();
    ChildProcess::Options log;
    log.OutputFile = root_ + QStringLiteral("/server.log");
    const bool started = startAsServerUser(
        *postgres_, binDir + QStringLiteral("/postgres"),
        {QStringLiteral("-D"), data_, QStringLiteral("-p"), QString::number(port_),
         QStringLiteral("-c"), QStringLiteral("listen_addresses=127.0.0.1"), QStringLiteral("-c"),
         QStringLiteral("unix_socket_directories="), QStringLiteral("-c"),
         QStringLiteral("fsync=off"), QStringLiteral("-c"),
         QStringLiteral("synchronous_commit=off"), QStringLiteral("-c"),
         QStringLiteral("full_page_writes=off"), QStringLiteral("-c"),
         QStringLiteral("max_connections=30"), QStringLiteral("-c"),
         QStringLiteral("shared_buffers=16MB")},
        log);
    if (!started || !waitReady()) {
        kill();
        return false;
    }
    return true;
}

// The server writes "ready" into the last line of postmaster.pid once it accepts connections.
bool PgServer::waitReady() const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        if (!running())
            return false;
        QFile pid(data_ + QStringLiteral("/postmaster.pid"));
        if (pid.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> lines = pid.readAll().split('\n');
            if (lines.size() >= 8 && lines.at(7).trimmed() == "ready")
                return true;
        }
        QThread::msleep(5);
    }
    return false;
}

void PgServer::stop()
{
    if (!running())
        return;
    postgres_->Signal(SIGINT);
    if (!postgres_->WaitForFinished(60000))
        kill();
    postgres_.reset();
}

void PgServer::kill()
{
    if (!postgres_)
        return;
    if (running()) {
        postgres_->Signal(SIGKILL, true);
        postgres_->WaitForFinished(30000);
        // The killed server leaves its postmaster.pid saying "ready"; a restart must not
        // read that as its own readiness.
        QFile::remove(data_ + QStringLiteral("/postmaster.pid"));
    }
    postgres_.reset();
}

QString PgServer::sql(const QString &statements, bool expectFailure, QString *error) const
{
    QString out;
    QString err;
    const int rc = runProgram(
        binDir + QStringLiteral("/psql"),
        {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"), QStringLiteral("-t"),
         QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
         QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
         QStringLiteral("-P"), QStringLiteral("null=NULL"), QStringLiteral("-U"), user(),
         QStringLiteral("-d"), dbName_, QStringLiteral("-c"), statements},
        &out, &err);
    if (rc != 0 && !expectFailure)
        ADD_FAILURE() << "psql failed: " << err.toStdString();
    if (error)
        *error = err;
    if (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}
