#include "tests/mail/SmtpServer.h"

#include "tests/support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

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
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"), args);
    if (!process_.waitForStarted()) {
        ADD_FAILURE() << "cannot start /usr/bin/python3: " << process_.errorString().toStdString();
        return;
    }
    const QDeadlineTimer deadline(30000);
    while (!process_.canReadLine() && !deadline.hasExpired() &&
           process_.state() == QProcess::Running)
        process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
    if (port_ == 0)
        ADD_FAILURE() << "the aiosmtpd server did not start (is python3-aiosmtpd installed?)";
}

SmtpServer::~SmtpServer()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished();
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
