#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QStringList>

#include <future>
#include <thread>

// An SMTP server inside the test that answers one connection from a script and records every
// byte the client sent. It runs on its own thread, so the client under test may block.
//
// Each script step is the server's answer to the next thing the client sends (the first step
// is the greeting): reply lines joined by "\n", or "<drop>" to close the connection at that
// point, or "<silent>" to answer nothing more and wait for the client to give up. After a
// "354" reply the next thing read is the message text up to its "." line. Once the script
// is used up the server reads on until the client closes.
class ScriptedSmtpServer {
public:
    explicit ScriptedSmtpServer(QStringList script,
                                const QHostAddress &address = QHostAddress::LocalHost);
    ~ScriptedSmtpServer();

    quint16 port() const { return port_; }

    // Waits until the client has closed (bounded) and returns everything it sent.
    QByteArray received();

private:
    void serve(const QHostAddress &address, std::promise<quint16> &listening);

    QStringList script_;
    quint16 port_ = 0;
    QByteArray received_;
    std::thread thread_;
};
