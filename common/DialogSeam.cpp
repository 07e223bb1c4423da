#include "common/DialogSeam.h"

#include <atomic>

namespace {
std::atomic<DialogInterceptor *> gInterceptor{nullptr};
}

DialogInterceptor *setDialogInterceptor(DialogInterceptor *interceptor)
{
    return gInterceptor.exchange(interceptor);
}

DialogInterceptor *dialogInterceptor()
{
    return gInterceptor.load();
}
