#pragma once

#include "mail/MailMessage.h"
#include "mail/SmtpConnection.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>

class TSmtpStop;

// How the client reaches and greets the server. No pipelining, no mailer header.
struct TSmtpSettings {
    QString Host;
    quint16 Port = 25;
    // An empty user name: no authentication.
    QString Username;
    QString Password;
    // EHLO first (with HELO when it is refused), or HELO alone.
    bool UseEhlo = true;
    // Empty: the host name the system reports.
    QString HeloName;
    // Milliseconds; 0 or less waits without limit.
    int ConnectTimeout = 60000;
    int ReadTimeout = 60000;
    // None: the plain dialogue. StartTls: the server must offer STARTTLS, there is no falling
    // back to plain text. With either TLS mode AUTH PLAIN is used when offered, else LOGIN.
    TSmtpSecurity Security = TSmtpSecurity::None;
    // PEM certificate authorities trusted beside the system's; empty for none.
    QString CaFile;
    // Shared with the thread that may stop the submission; null when nobody can.
    std::shared_ptr<TSmtpStop> Stop;
};

// What the server said to an accepted message, and the size of the message text.
struct TSmtpSent {
    QString Reply;
    qint64 Bytes = 0;
};

// A synchronous SMTP client: Connect, then Send one message or more, then Disconnect. Every
// failure throws ESmtpError with the server's reply or the socket's error.
class TSmtpClient {
public:
    explicit TSmtpClient(TSmtpSettings settings);
    ~TSmtpClient();

    // Opens the connection and greets; on any failure the connection is closed.
    void Connect();
    // Authenticates when a user name is set and the server offers a mechanism the settings
    // allow, then runs one mail transaction. A refusal is answered with RSET before it is
    // thrown.
    TSmtpSent Send(const TMailMessage &message);
    // QUIT and close. Never throws: the messages sent are already accepted, and a server that
    // does not answer QUIT is dropped after the read time-out.
    void Disconnect();

    bool Connected() const;
    // The EHLO reply's lines after the first; empty after HELO.
    const QStringList &Capabilities() const { return FCapabilities; }

    // Where multipart boundaries come from; NewBoundary on the global generator by default.
    void SetBoundarySource(std::function<QString()> source);

private:
    TSmtpReply Command(const QByteArray &line);
    TSmtpReply Expect(const TSmtpReply &reply, std::initializer_list<int> accepted);
    // A refused transaction step: RSET, then the refusal is thrown.
    void ExpectInTransaction(const TSmtpReply &reply, std::initializer_list<int> accepted);
    void Hello();
    void StartTls();
    bool Offers(const QString &extension, const QString &parameter = QString()) const;
    // "PLAIN", "LOGIN" or empty for no authentication.
    QByteArray AuthMechanism() const;
    void Authenticate(const QByteArray &mechanism);

    TSmtpSettings FSettings;
    std::unique_ptr<TSmtpConnection> FConnection;
    QStringList FCapabilities;
    std::function<QString()> FBoundarySource;
};
