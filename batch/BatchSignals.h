#pragma once

#include <memory>
#include <thread>

class TSmtpStop;

// SIGTERM, SIGINT and SIGHUP as a request to stop: instead of ending the process where it
// stands (leaving its working folder behind and a message half sent), the mailing closes the
// connection it is waiting on, serves no further recipient and ends as usual. Made at the start
// of main, before any other thread, since the signals are blocked in every thread and taken by
// one watching thread. A second signal ends the process at once.
class TBatchSignals {
public:
    TBatchSignals();
    ~TBatchSignals();
    TBatchSignals(const TBatchSignals &) = delete;
    TBatchSignals &operator=(const TBatchSignals &) = delete;

    // Whether a stop signal came.
    static bool Stopped();
    // The stop the mailing's connections attach to; the same for the whole process.
    static std::shared_ptr<TSmtpStop> SmtpStop();

private:
    std::thread watcher_;
};
