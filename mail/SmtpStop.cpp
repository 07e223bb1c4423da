#include "mail/SmtpStop.h"

#include <sys/socket.h>

void TSmtpStop::Request()
{
    const std::lock_guard lock(FLock);
    FRequested = true;
    // Only the kernel's side of the socket is touched here; the socket object belongs to the
    // sending thread, whose wait returns with the connection closed.
    if (FDescriptor >= 0)
        ::shutdown(int(FDescriptor), SHUT_RDWR);
}

bool TSmtpStop::Requested() const
{
    const std::lock_guard lock(FLock);
    return FRequested;
}

bool TSmtpStop::Attach(qintptr Descriptor)
{
    const std::lock_guard lock(FLock);
    if (FRequested)
        return false;
    FDescriptor = Descriptor;
    return true;
}

void TSmtpStop::Detach()
{
    const std::lock_guard lock(FLock);
    FDescriptor = -1;
}
