#pragma once

// ThreadSanitizer does not see some hand-overs between threads: std::future waits on a futex it
// does not intercept, and Qt, not built with the sanitizer, ends a QThread and wakes its wait()
// the same way. Without a mark, every result passed so, and every object freed after a thread's
// wait(), would read as a race. The side that hands over marks HandOver(key) before completing
// the future or leaving the thread; the side that waited marks TakeOver(key) after the wait.
// The key is any address both know. Nothing in other builds.

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
