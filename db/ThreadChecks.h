#pragma once

// ThreadSanitizer does not see a hand-over through std::future: the standard library waits on a
// futex the sanitizer does not intercept, so every result passed that way would read as a race.
// The side that completes a future marks HandOver(key) before completing it, the side that took
// the result marks TakeOver(key); the key is any address both know. Nothing in other builds.

#if defined(__SANITIZE_THREAD__)
#define QUORVEL_THREAD_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUORVEL_THREAD_CHECKS 1
#endif
#endif

#ifdef QUORVEL_THREAD_CHECKS
#include <sanitizer/tsan_interface.h>
inline void HandOver(const void *Key)
{
    __tsan_release(const_cast<void *>(Key));
}
inline void TakeOver(const void *Key)
{
    __tsan_acquire(const_cast<void *>(Key));
}
#else
inline void HandOver(const void *) {}
inline void TakeOver(const void *) {}
#endif
