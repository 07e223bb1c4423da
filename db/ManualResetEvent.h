#pragma once

#include <condition_variable>
#include <mutex>

// An event that stays set until it is reset; waiters are released while it is set.
class TManualResetEvent {
public:
    explicit TManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}

    void SetEvent();
    void ResetEvent();
    bool IsSet() const;
    // Waits until the event is set, at most timeoutMs milliseconds (negative: no limit);
    // true when it is set.
    bool WaitFor(int timeoutMs);

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool set_;
};
