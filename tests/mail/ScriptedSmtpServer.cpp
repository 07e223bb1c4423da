#include "tests/mail/ScriptedSmtpServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {
// Bound on every wait of the server; a client that keeps it waiting this long has failed.
constexpr int Wait = 10000;
} // namespace

ScriptedSmtpServer::ScriptedSmtpServer(QStringList script, const QHostAddress &address)
    : script_(std::move(script))
{
    std::promise<quint16> listening;
    std::future<quint16> port = listening.get_future();
    thread_ =
        std::thread([this, address, p = std::move(listening)]() mutable { serve(address, p); });
    port_ = port.get();
}

ScriptedSmtpServer::~ScriptedSmtpServer()
{
    if (thread_.joinable())
        thread_.join();
}

QByteArray ScriptedSmtpServer::received()
{
    if (thread_.joinable())
        thread_.join();
    return received_;
}

void ScriptedSmtpServer::serve(const QHostAddress &address, std::promise<quint16> &listening)
{
    QTcpServer server;
    if (!server.listen(address, 0)) {
        listening.set_value(0);
        return;
    }
    listening.set_value(server.serverPort());
    if (!server.waitForNewConnection(Wait))
        return;
    std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
    qsizetype consumed = 0;
    auto readUntil = [&](const QByteArray &end, qsizetype from) {
        for (;;) {
            const qsizetype at = received_.indexOf(end, from);
            if (at >= 0) {
                consumed = at + end.size();
                return true;
            }
            if (!socket->waitForReadyRead(Wait))
                return false;
            received_ += socket->readAll();
        }
    };
    bool data = false;
    for (qsizetype i = 0; i < script_.size(); ++i) {
        const bool read =
            i == 0 || (data ? readUntil("\r\n.\r\n", std::max<qsizetype>(0, consumed - 2))
                            : readUntil("\n", consumed));
        if (!read)
            return;
        const QString &step = script_[i];
        if (step == QLatin1String("<drop>")) {
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(Wait);
            return;
        }
        if (step == QLatin1String("<silent>"))
            break;
        socket->write(step.toUtf8().replace("\n", "\r\n") + "\r\n");
        socket->waitForBytesWritten(Wait);
        data = step.startsWith(QLatin1String("354"));
    }
    while (socket->waitForReadyRead(Wait))
        received_ += socket->readAll();
    received_ += socket->readAll();
}
