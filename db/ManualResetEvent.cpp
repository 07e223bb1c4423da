#include "db/ManualResetEvent.h"

#include <chrono>

void TManualResetEvent::SetEvent()
{
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    cv_.notify_all();
}

void TManualResetEvent::ResetEvent()
{
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool TManualResetEvent::IsSet() const
{
    std::lock_guard lock(mutex_);
    return set_;
}

bool TManualResetEvent::WaitFor(int timeoutMs)
{
    std::unique_lock lock(mutex_);
    if (timeoutMs < 0) {
        cv_.wait(lock, [this] { return set_; });
        return true;
    }
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_; });
}
