#include "tests/mail/SmtpServer.h"

#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <csignal>

QString mailTestScript(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/mail/") + name;
}

SmtpServer::SmtpServer(const QString &user, const QString &password)
{
    start(user.isEmpty()
              ? QStringList()
              : QStringList{QStringLiteral("--login"), user + QLatin1Char(':') + password});
}

SmtpServer::SmtpServer(const QString &login, const QStringList &options)
{
    start((login.isEmpty() ? QStringList() : QStringList{QStringLiteral("--login"), login}) +
          options);
}

void SmtpServer::start(QStringList options)
{
    const QStringList args =
        QStringList{mailTestScript(QStringLiteral("smtp_server.py")), dir_.path()} + options;
    // The server prints its port on standard output; its errors go to the test's output.
    ChildProcess::Options io;
    io.Capture = true;
    io.KeepError = true;
    io.PipeInput = true;
    if (!process_.Start(QStringLiteral("/usr/bin/python3"), args, io)) {
        ADD_FAILURE() << "cannot start " << process_.ErrorText().toStdString();
        return;
    }
    port_ = static_cast<quint16>(process_.ReadLine(30000).trimmed().toUInt());
    if (port_ == 0)
        ADD_FAILURE() << "the aiosmtpd server did not start (is python3-aiosmtpd installed?)";
}

// The server ends when its standard input closes.
SmtpServer::~SmtpServer()
{
    if (!process_.Running())
        return;
    process_.CloseInput();
    if (!process_.WaitForFinished(10000)) {
        process_.Signal(SIGKILL);
        process_.WaitForFinished();
    }
}

QString SmtpServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port_);
}

QList<SmtpServer::Received> SmtpServer::messages() const
{
    QList<Received> result;
    const QStringList names =
        QDir(dir_.path()).entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        Received r;
        r.file = dir_.filePath(name);
        QFile meta(dir_.filePath(name.chopped(4) + QStringLiteral(".json")));
        if (meta.open(QIODevice::ReadOnly))
            r.envelope = QJsonDocument::fromJson(meta.readAll()).object();
        result << r;
    }
    return result;
}
