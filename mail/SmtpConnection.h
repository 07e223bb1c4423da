#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSslSocket;
class QTcpSocket;
class TSmtpStop;

// How the connection is secured: not at all (the plain dialogue), by STARTTLS after the
// greeting, or by TLS from the first byte.
enum class TSmtpSecurity { None, StartTls, Tls };

// One reply of the server: its code and its lines as received.
struct TSmtpReply {
    int Code = 0;
    QStringList Lines;

    QString Text() const { return Lines.join(QLatin1Char('\n')); }
};

// Replies read from the bytes received. The first whole line of Buffer (ending in LF, a CR
// before it dropped) is taken out of it; nothing while no line is whole.
std::optional<QByteArray> TakeReplyLine(QByteArray &Buffer);
// Adds Line to Reply; false when it is not a reply line (three digits, then the end, a blank or
// "-"). Last is true when the line ends the reply.
bool AddReplyLine(TSmtpReply &Reply, const QByteArray &Line, bool &Last);

// The line-level side of an SMTP session over one TCP connection, used synchronously. Every
// wait is bounded: connecting by the connect time-out, each reply and each stall in writing by
// the read time-out (in milliseconds; 0 or less waits without limit). Any failure closes the
// connection and throws ESmtpError, since the session's state is unknown afterwards.
//
// With TLS the server's certificate must be valid for the host name given here and issued by
// one of the system's certificate authorities or of those in the CA file (PEM); otherwise the
// handshake fails with the TLS library's reason and nothing is sent.
class TSmtpConnection {
public:
    TSmtpConnection(QString host, quint16 port, int connectTimeout, int readTimeout);
    ~TSmtpConnection();

    // Before Open.
    void SetSecurity(TSmtpSecurity security, QString caFile);
    void SetStop(std::shared_ptr<TSmtpStop> stop);

    // Connects; with TSmtpSecurity::Tls also completes the handshake.
    void Open();
    bool IsOpen() const;
    void Close();
    // The handshake after the server accepted STARTTLS.
    void StartTls();

    // Sends one command line; CR LF is added.
    void WriteLine(const QByteArray &line);
    // Sends a message text ending in CR LF, dot-stuffed, and the closing "." line.
    void WriteData(const QByteArray &text);
    TSmtpReply ReadReply();

private:
    [[noreturn]] void Fail(const QString &message);
    [[noreturn]] void FailWaiting(const QDeadlineTimer &deadline);
    QDeadlineTimer Deadline(int timeout) const;
    [[noreturn]] void FailStopped();
    std::unique_ptr<QSslSocket> NewTlsSocket();
    void AttachStop();
    void WaitEncrypted(QSslSocket &socket);
    void Write(const char *data, qsizetype size);
    void Flush();
    QByteArray ReadLine(const QDeadlineTimer &deadline);

    QString FHost;
    quint16 FPort;
    int FConnectTimeout;
    int FReadTimeout;
    TSmtpSecurity FSecurity = TSmtpSecurity::None;
    QString FCaFile;
    std::shared_ptr<TSmtpStop> FStop;
    std::unique_ptr<QTcpSocket> FSocket;
    QByteArray FBuffer;
};
