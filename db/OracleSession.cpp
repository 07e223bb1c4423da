#include "db/OracleSession.h"

#include "db/OracleError.h"
#include "db/OracleStatement.h"
#include "db/SessionCore.h"

#include <mutex>

namespace {
// No two logons of the process run at the same time.
std::mutex &logonLock()
{
    static std::mutex lock;
    return lock;
}

// The banner up to the first line break or the first "-" that follows a blank.
QString cutBanner(const QString &banner)
{
    qsizetype end = banner.indexOf(u'\n');
    const qsizetype dash = banner.indexOf(QLatin1String(" -"));
    if (dash >= 0 && (end < 0 || dash + 1 < end))
        end = dash + 1;
    return end < 0 ? banner : banner.left(end);
}
} // namespace

TOracleSession::TOracleSession(QObject *Owner)
    : QObject(Owner), core_(std::make_shared<TSessionCore>())
{
}

TOracleSession::~TOracleSession() = default;

QString TOracleSession::LogonUsername() const
{
    return core_->params().user;
}

void TOracleSession::SetLogonUsername(const QString &Value)
{
    core_->setParams([&](TLogonParams &p) { p.user = Value; });
}

QString TOracleSession::LogonPassword() const
{
    return core_->params().password;
}

void TOracleSession::SetLogonPassword(const QString &Value)
{
    core_->setParams([&](TLogonParams &p) { p.password = Value; });
}

QString TOracleSession::LogonDatabase() const
{
    return core_->params().database;
}

void TOracleSession::SetLogonDatabase(const QString &Value)
{
    core_->setParams([&](TLogonParams &p) { p.database = Value; });
}

QString TOracleSession::LogonFolder() const
{
    return core_->params().folder;
}

void TOracleSession::SetLogonFolder(const QString &Value)
{
    core_->setParams([&](TLogonParams &p) { p.folder = Value; });
}

bool TOracleSession::Connected() const
{
    return core_->connected();
}

void TOracleSession::SetConnected(bool Value)
{
    if (Value)
        LogOn();
    else
        LogOff();
}

void TOracleSession::LogOn()
{
    bool opened = false;
    {
        std::lock_guard lock(logonLock());
        try {
            core_->call([&] { opened = core_->open(); });
        } catch (const EOracleError &e) {
            throw EOracleError(e.Message(), e.ErrorCode(), e.NativeCode(), this, this);
        }
    }
    if (opened && AfterLogOn)
        AfterLogOn(this);
}

void TOracleSession::LogOff()
{
    core_->call([&] { core_->close(); });
}

void TOracleSession::Commit()
{
    core_->call([&] { core_->commit(); });
}

void TOracleSession::Rollback()
{
    core_->call([&] { core_->rollback(); });
}

bool TOracleSession::InTransaction() const
{
    return core_->inTransaction();
}

QString TOracleSession::ServerVersion()
{
    try {
        TOracleQuery q;
        q.SetSession(this);
        q.SQL.append(Dialect().VersionQuery());
        q.Execute();
        if (q.Eof() || q.FieldCount() == 0)
            return {};
        return cutBanner(q.Fields(0).AsString());
    } catch (const std::exception &) {
        return {};
    }
}

TCheckConnectionResult TOracleSession::CheckConnection(bool Reconnect)
{
    if (Connected()) {
        try {
            TOracleQuery q;
            q.SetSession(this);
            q.SQL.append(Dialect().DualProbe());
            q.Execute();
            return ccOK;
        } catch (const EOracleError &e) {
            if (Dialect().ProbeErrorMeansAlive(e.ErrorCode(), e.NativeCode()))
                return ccOK;
        }
        try {
            LogOff();
        } catch (const std::exception &) {
        }
    }
    if (!Reconnect)
        return ccError;
    try {
        LogOn();
        return ccReconnected;
    } catch (const std::exception &) {
        return ccError;
    }
}

TEngine TOracleSession::Engine() const
{
    return core_->engine();
}

const TSqlDialect &TOracleSession::Dialect() const
{
    return DialectOf(Engine());
}
