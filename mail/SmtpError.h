#pragma once

#include <QString>

#include <stdexcept>

// Every failure of a mail submission: the server's own reply, the socket's error, a time-out,
// or a message that cannot be sent as it stands. The text is meant for the user.
class ESmtpError : public std::runtime_error {
public:
    explicit ESmtpError(const QString &message) : std::runtime_error(message.toStdString()) {}

    QString Message() const { return QString::fromUtf8(what()); }
};

// The submission was stopped on request; the text is the one the user sees.
class ESmtpStopped : public ESmtpError {
public:
    ESmtpStopped() : ESmtpError(QStringLiteral("Отправка прервана")) {}
};
