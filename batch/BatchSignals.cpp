#include "batch/BatchSignals.h"

#include "mail/SmtpStop.h"

#include <atomic>
#include <csignal>
#include <pthread.h>

namespace {

std::atomic<bool> closing{false};

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

std::shared_ptr<TSmtpStop> TBatchSignals::SmtpStop()
{
    static const auto stop = std::make_shared<TSmtpStop>();
    return stop;
}

bool TBatchSignals::Stopped()
{
    return SmtpStop()->Requested();
}

TBatchSignals::TBatchSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    const std::shared_ptr<TSmtpStop> stop = SmtpStop();
    watcher_ = std::thread([set, stop] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0 || closing)
                return;
            if (stop->Requested()) {
                // Asked twice: the default action, now.
                std::signal(signal, SIG_DFL);
                pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
                std::raise(signal);
                return;
            }
            stop->Request();
        }
    });
}

TBatchSignals::~TBatchSignals()
{
    closing = true;
    pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
}
