#pragma once

#include <QString>

#include <stdexcept>

class QObject;
class TOracleSession;

// The error of the session layer. Its message is the server's or the client library's own
// text; ErrorCode is the server's error number where it has one (the "ORA-nnnnn" number on
// Oracle, the SQLite result code, 0 on PostgreSQL, whose code is the SQLSTATE in NativeCode).
class EOracleError : public std::runtime_error {
public:
    EOracleError(const QString &Message, int ErrorCode = 0, const QString &NativeCode = QString(),
                 const QObject *Instance = nullptr, const TOracleSession *Session = nullptr);

    QString Message() const { return message_; }
    int ErrorCode() const { return errorCode_; }
    QString NativeCode() const { return nativeCode_; }
    // The statement, dataset or session that raised it, and its session; only for identity.
    const QObject *Instance() const { return instance_; }
    const TOracleSession *Session() const { return session_; }

private:
    QString message_;
    int errorCode_;
    QString nativeCode_;
    const QObject *instance_;
    const TOracleSession *session_;
};

// The message text of any exception as the system shows it (callers catch failures as
// generic exceptions and use only the text).
QString ExceptionText(const std::exception &e);
