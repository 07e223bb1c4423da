#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QTcpSocket;

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
class TSmtpConnection {
public:
    TSmtpConnection(QString host, quint16 port, int connectTimeout, int readTimeout);
    ~TSmtpConnection();

    void Open();
    bool IsOpen() const;
    void Close();

    // Sends one command line; CR LF is added.
    void WriteLine(const QByteArray &line);
    // Sends a message text ending in CR LF, dot-stuffed, and the closing "." line.
    void WriteData(const QByteArray &text);
    TSmtpReply ReadReply();

private:
    [[noreturn]] void Fail(const QString &message);
    [[noreturn]] void FailWaiting(const QDeadlineTimer &deadline);
    QDeadlineTimer Deadline(int timeout) const;
    void Write(const char *data, qsizetype size);
    void Flush();
    QByteArray ReadLine(const QDeadlineTimer &deadline);

    QString FHost;
    quint16 FPort;
    int FConnectTimeout;
    int FReadTimeout;
    std::unique_ptr<QTcpSocket> FSocket;
    QByteArray FBuffer;
};
