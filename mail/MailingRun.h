#pragma once

#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"

#include <QObject>
#include <QThread>

#include <memory>
#include <vector>

// The outcome of one message.
struct TDelivery {
    int Index = 0; // in the message list handed over
    bool Sent = false;
    // The server's reply to the message, or the error that ended it.
    QString Text;
    qint64 Bytes = 0;
};

// Submits messages in order, one connection each, on a thread of its own, so the window that
// started it keeps working. The first failure ends the pass; a stop request ends it before
// the next message and closes the current connection at once. The thread touches no database
// and no settings: the messages and the server's settings are made beforehand, and the
// outcomes reach the owner's thread through queued signals, where they are recorded.
class TMailingRun : public QObject {
    Q_OBJECT
public:
    TMailingRun(TSmtpSettings Settings, std::vector<TMailMessage> Messages,
                QObject *Parent = nullptr);
    // Stops the pass and waits for the thread.
    ~TMailingRun() override;

    void Start();
    // Any time; a pass that is over ignores it.
    void Stop();
    bool Running() const;

signals:
    // Message Index is being submitted.
    void Serving(int Index);
    void Delivered(const TDelivery &Delivery);
    // After the last Delivered; Stopped when a stop request ended the pass.
    void Finished(bool Stopped);

private:
    void Pass();

    const TSmtpSettings FSettings;
    const std::vector<TMailMessage> FMessages;
    std::unique_ptr<QThread> FThread;
};
