#pragma once

#include "db/SqlDialect.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class TSessionCore;

enum TCheckConnectionResult { ccOK = 0, ccError = 1, ccReconnected = 2 };
enum TConvertUTF { cuNone, cuUTF8ToUTF16 };
enum TSessionCursor { crDefault };

struct TOraclePreferences {
    // Text crosses the layer as UTF-16 strings; the drivers convert from the client's UTF-8.
    TConvertUTF ConvertUTF = cuUTF8ToUTF16;
};

// One logon to one server. The connection lives on the session's own worker thread: every
// call, from any thread, is carried out there and waited for, so calls from several threads
// are serialised by the session itself. Logons of all sessions hold one process-wide lock.
//
// Transactions follow the Oracle model: a changing statement opens a transaction that lasts
// until Commit or Rollback (InTransaction is true meanwhile); a failed statement undoes only
// itself; a definition statement (CREATE, DROP, ALTER other than ALTER SESSION, ...) commits.
class TOracleSession : public QObject {
    Q_OBJECT
public:
    explicit TOracleSession(QObject *Owner = nullptr);
    ~TOracleSession() override;
    TOracleSession(const TOracleSession &) = delete;
    TOracleSession &operator=(const TOracleSession &) = delete;

    // Logon properties, set before LogOn; they may be read and set from any thread.
    QString LogonUsername() const;
    void SetLogonUsername(const QString &Value);
    QString LogonPassword() const;
    void SetLogonPassword(const QString &Value);
    QString LogonDatabase() const;
    void SetLogonDatabase(const QString &Value);
    // The workspace folder, from which a relative "sqlite:PATH" is taken (the program's
    // folder while it is empty).
    QString LogonFolder() const;
    void SetLogonFolder(const QString &Value);

    bool Connected() const;
    // Setting true is LogOn when not connected; setting false is LogOff.
    void SetConnected(bool Value);

    // Calls are always serialised; the flag is kept for the settings the system makes.
    bool ThreadSafe = true;
    TOraclePreferences Preferences;
    // The layer never changes the mouse pointer.
    TSessionCursor Cursor = crDefault;

    // Runs on the thread that called LogOn, after the logon lock is released, before LogOn
    // returns. Whatever it throws leaves LogOn.
    std::function<void(TOracleSession *Sender)> AfterLogOn;

    // Logs on with the three properties; raises EOracleError on any failure (wrong
    // credentials, unknown or unreachable server, no Oracle client). Does nothing when
    // already connected.
    void LogOn();
    // Ends the logon; uncommitted changes are rolled back. Open cursors are released.
    void LogOff();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The version banner cut at the first line break or at the first "-" after a blank;
    // empty when it cannot be read.
    QString ServerVersion();
    // The liveness test; see TCheckConnectionResult.
    TCheckConnectionResult CheckConnection(bool Reconnect);

    // The engine of the current LogonDatabase and its dialect.
    TEngine Engine() const;
    const TSqlDialect &Dialect() const;

    // The shared state the statements of this session work through (internal to db/).
    std::shared_ptr<TSessionCore> Core() const { return core_; }

    // While a report run reads the session (TSessionBusy), the supervision neither logs it
    // off nor exchanges its logon parameters: that would close the cursor under the run.
    bool Busy() const { return busy_ > 0; }

private:
    friend class TSessionBusy;
    std::shared_ptr<TSessionCore> core_;
    std::atomic<int> busy_{0};
};

// Holds a session busy for as long as it lives.
class TSessionBusy {
public:
    explicit TSessionBusy(TOracleSession *Session) : session_(Session)
    {
        if (session_)
            ++session_->busy_;
    }
    ~TSessionBusy()
    {
        if (session_)
            --session_->busy_;
    }
    TSessionBusy(const TSessionBusy &) = delete;
    TSessionBusy &operator=(const TSessionBusy &) = delete;

private:
    TOracleSession *session_;
};
