#pragma once

#include <QtGlobal>

#include <mutex>

// A request to stop a submission, made from another thread than the one sending. Request()
// shuts down the connection that is attached at that moment, so a wait for the server ends at
// once instead of at the read time-out; the sending side sees the stop when its wait returns.
class TSmtpStop {
public:
    // Any thread.
    void Request();
    bool Requested() const;

    // The sending thread: the socket of the open connection, until Detach before it closes.
    // False when the stop was requested already (the socket is then not attached).
    bool Attach(qintptr Descriptor);
    void Detach();

private:
    mutable std::mutex FLock;
    bool FRequested = false;
    qintptr FDescriptor = -1;
};
