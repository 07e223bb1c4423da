#pragma once

#include "tests/support/ChildProcess.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// A real SMTP server for a test: python3-aiosmtpd on a free loopback port, started here and
// stopped by the destructor. It saves every message it accepts.
class SmtpServer {
public:
    // With a user name, the server offers and requires AUTH LOGIN with that user and password;
    // without one it offers no AUTH.
    explicit SmtpServer(const QString &user = QString(), const QString &password = QString());
    // With further options of smtp_server.py (--plain, --password-encoding, --cert, --key,
    // --tls); a user name in Login ("USER:PASSWORD") as with the other constructor.
    SmtpServer(const QString &login, const QStringList &options);
    ~SmtpServer();

    bool isRunning() const { return port_ != 0; }
    quint16 port() const { return port_; }
    // "127.0.0.1:port", as IP_POP_SERVER would hold it.
    QString address() const;

    struct Received {
        QString file;         // the message as received
        QJsonObject envelope; // mail_from, rcpt_tos, login, connection
    };
    // The messages accepted so far, in order.
    QList<Received> messages() const;

private:
    void start(QStringList options);

    QTemporaryDir dir_;
    ChildProcess process_;
    quint16 port_ = 0;
};

// The path of one of the helper scripts beside these tests (smtp_server.py, read_message.py).
QString mailTestScript(const QString &name);
