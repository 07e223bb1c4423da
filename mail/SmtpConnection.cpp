#include "mail/SmtpConnection.h"

#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"
#include "mail/SmtpStop.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>

#include <cctype>

namespace {
// Far more than any reply line (RFC 5321 allows 512): a server that never ends its line must
// not fill the memory.
constexpr qsizetype MaxReplyLine = 64 * 1024;
// A large message goes out in pieces so the socket's buffer does not hold a second copy of it.
constexpr qint64 WriteChunk = 1024 * 1024;

QString Seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0);
}
} // namespace

TSmtpConnection::TSmtpConnection(QString host, quint16 port, int connectTimeout, int readTimeout)
    : FHost(std::move(host)), FPort(port), FConnectTimeout(connectTimeout),
      FReadTimeout(readTimeout)
{
}

TSmtpConnection::~TSmtpConnection()
{
    Close();
}

void TSmtpConnection::SetSecurity(TSmtpSecurity security, QString caFile)
{
    FSecurity = security;
    FCaFile = std::move(caFile);
}

void TSmtpConnection::SetStop(std::shared_ptr<TSmtpStop> stop)
{
    FStop = std::move(stop);
}

QDeadlineTimer TSmtpConnection::Deadline(int timeout) const
{
    return timeout > 0 ? QDeadlineTimer(timeout) : QDeadlineTimer(QDeadlineTimer::Forever);
}

std::unique_ptr<QSslSocket> TSmtpConnection::NewTlsSocket()
{
    if (!QSslSocket::supportsSsl())
        Fail(QStringLiteral("TLS недоступен: нет библиотеки %1")
                 .arg(QSslSocket::sslLibraryBuildVersionString()));
    QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
    if (!FCaFile.isEmpty()) {
        const QList<QSslCertificate> own = QSslCertificate::fromPath(FCaFile, QSsl::Pem);
        if (own.isEmpty())
            Fail(QStringLiteral("Нет сертификатов центра сертификации в файле %1").arg(FCaFile));
        authorities += own;
    }
    auto socket = std::make_unique<QSslSocket>();
    QSslConfiguration config = socket->sslConfiguration();
    config.setCaCertificates(authorities);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket->setSslConfiguration(config);
    socket->setPeerVerifyName(FHost);
    return socket;
}

void TSmtpConnection::AttachStop()
{
    if (FStop && !FStop->Attach(FSocket->socketDescriptor()))
        FailStopped();
}

void TSmtpConnection::Open()
{
    Close();
    if (FStop && FStop->Requested())
        FailStopped();
    if (FSecurity == TSmtpSecurity::None)
        FSocket = std::make_unique<QTcpSocket>();
    else
        FSocket = NewTlsSocket();
    FSocket->connectToHost(FHost, FPort);
    if (FSocket->waitForConnected(Deadline(FConnectTimeout).remainingTime())) {
        AttachStop();
        if (FSecurity == TSmtpSecurity::Tls) {
            auto &tls = static_cast<QSslSocket &>(*FSocket);
            tls.startClientEncryption();
            WaitEncrypted(tls);
        }
        return;
    }
    const QString where = ServerAddressText(FHost, FPort);
    if (FSocket->error() == QAbstractSocket::SocketTimeoutError)
        Fail(QStringLiteral("Сервер %1 не ответил на соединение за %2 с")
                 .arg(where, Seconds(FConnectTimeout)));
    Fail(QStringLiteral("Нет соединения с сервером %1: %2").arg(where, FSocket->errorString()));
}

void TSmtpConnection::StartTls()
{
    auto *tls = qobject_cast<QSslSocket *>(FSocket.get());
    if (!tls || !IsOpen())
        Fail(QStringLiteral("Нет соединения с сервером %1").arg(ServerAddressText(FHost, FPort)));
    // Anything the server sent after its STARTTLS reply would pass as protected text.
    if (!FBuffer.isEmpty() || tls->bytesAvailable() > 0)
        Fail(QStringLiteral("Неверный ответ сервера %1: данные после согласия на STARTTLS")
                 .arg(ServerAddressText(FHost, FPort)));
    tls->startClientEncryption();
    WaitEncrypted(*tls);
}

void TSmtpConnection::WaitEncrypted(QSslSocket &socket)
{
    const QDeadlineTimer deadline = Deadline(FReadTimeout);
    if (socket.waitForEncrypted(deadline.remainingTime()))
        return;
    if (FStop && FStop->Requested())
        FailStopped();
    QStringList reasons;
    for (const QSslError &error : socket.sslHandshakeErrors())
        reasons << error.errorString();
    if (!reasons.isEmpty())
        Fail(QStringLiteral("Ошибка проверки сертификата сервера: ") +
             reasons.join(QStringLiteral("; ")));
    if (socket.error() == QAbstractSocket::SslHandshakeFailedError)
        Fail(QStringLiteral("Ошибка TLS с сервером %1: %2")
                 .arg(ServerAddressText(FHost, FPort), socket.errorString()));
    FailWaiting(deadline);
}

bool TSmtpConnection::IsOpen() const
{
    return FSocket && FSocket->state() == QAbstractSocket::ConnectedState;
}

void TSmtpConnection::Close()
{
    // Before the descriptor is closed, so a late stop request cannot reach a reused one.
    if (FStop)
        FStop->Detach();
    if (FSocket)
        FSocket->abort();
    FSocket.reset();
    FBuffer.clear();
}

void TSmtpConnection::Fail(const QString &message)
{
    Close();
    throw ESmtpError(message);
}

void TSmtpConnection::FailStopped()
{
    Close();
    throw ESmtpStopped();
}

void TSmtpConnection::FailWaiting(const QDeadlineTimer &deadline)
{
    if (FStop && FStop->Requested())
        FailStopped();
    const QString where = ServerAddressText(FHost, FPort);
    if (!FSocket)
        Fail(QStringLiteral("Нет соединения с сервером %1").arg(where));
    const QAbstractSocket::SocketError error = FSocket->error();
    if (deadline.hasExpired() || error == QAbstractSocket::SocketTimeoutError)
        Fail(QStringLiteral("Сервер %1 не ответил за %2 с").arg(where, Seconds(FReadTimeout)));
    if (error == QAbstractSocket::RemoteHostClosedError ||
        error == QAbstractSocket::UnknownSocketError)
        Fail(QStringLiteral("Сервер %1 разорвал соединение").arg(where));
    Fail(QStringLiteral("Ошибка соединения с сервером %1: %2").arg(where, FSocket->errorString()));
}

void TSmtpConnection::Write(const char *data, qsizetype size)
{
    if (!IsOpen() || FSocket->write(data, size) != size)
        FailWaiting(Deadline(FReadTimeout));
    if (FSocket->bytesToWrite() >= WriteChunk)
        Flush();
}

void TSmtpConnection::Flush()
{
    while (FSocket->bytesToWrite() > 0) {
        // The time-out bounds a stall, not the whole message: each piece written restarts it.
        const QDeadlineTimer deadline = Deadline(FReadTimeout);
        if (!FSocket->waitForBytesWritten(deadline.remainingTime()))
            FailWaiting(deadline);
    }
}

void TSmtpConnection::WriteLine(const QByteArray &line)
{
    Write(line.constData(), line.size());
    Write("\r\n", 2);
    Flush();
}

void TSmtpConnection::WriteData(const QByteArray &text)
{
    qsizetype from = 0;
    if (text.startsWith('.'))
        Write(".", 1);
    for (qsizetype dot = text.indexOf("\n."); dot >= 0; dot = text.indexOf("\n.", from)) {
        Write(text.constData() + from, dot + 1 - from);
        Write(".", 1);
        from = dot + 1;
    }
    Write(text.constData() + from, text.size() - from);
    Write(".\r\n", 3);
    Flush();
}

QByteArray TSmtpConnection::ReadLine(const QDeadlineTimer &deadline)
{
    for (;;) {
        if (std::optional<QByteArray> line = TakeReplyLine(FBuffer))
            return *line;
        if (FBuffer.size() > MaxReplyLine)
            Fail(QStringLiteral("Неверный ответ сервера %1: строка длиннее %2 байт")
                     .arg(ServerAddressText(FHost, FPort))
                     .arg(MaxReplyLine));
        const bool ready =
            FSocket->bytesAvailable() > 0 || FSocket->waitForReadyRead(deadline.remainingTime());
        // A reply the server sent just before closing is still in the buffer.
        FBuffer += FSocket->readAll();
        if (!ready && !FBuffer.contains('\n'))
            FailWaiting(deadline);
    }
}

TSmtpReply TSmtpConnection::ReadReply()
{
    const QDeadlineTimer deadline = Deadline(FReadTimeout);
    TSmtpReply reply;
    for (;;) {
        const QByteArray line = ReadLine(deadline);
        bool last = false;
        if (!AddReplyLine(reply, line, last))
            Fail(QStringLiteral("Неверный ответ сервера %1: %2")
                     .arg(ServerAddressText(FHost, FPort), QString::fromUtf8(line)));
        if (last)
            return reply;
    }
}

std::optional<QByteArray> TakeReplyLine(QByteArray &Buffer)
{
    const qsizetype end = Buffer.indexOf('\n');
    if (end < 0)
        return std::nullopt;
    QByteArray line = Buffer.left(end);
    Buffer.remove(0, end + 1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool AddReplyLine(TSmtpReply &Reply, const QByteArray &Line, bool &Last)
{
    const bool ok = Line.size() >= 3 && std::isdigit(uchar(Line[0])) &&
                    std::isdigit(uchar(Line[1])) && std::isdigit(uchar(Line[2])) &&
                    (Line.size() == 3 || Line[3] == ' ' || Line[3] == '-');
    if (!ok)
        return false;
    Reply.Code = Line.left(3).toInt();
    Reply.Lines << QString::fromUtf8(Line);
    Last = Line.size() == 3 || Line[3] == ' ';
    return true;
}
