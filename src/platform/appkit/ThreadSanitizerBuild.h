#pragma once

// NUPO_THREAD_SANITIZER is defined where the code is built for ThreadSanitizer (GCC and Clang), for the
// few places that keep library threads out of its runs or order them for it.
#if defined(__SANITIZE_THREAD__)
#define NUPO_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define NUPO_THREAD_SANITIZER 1
#endif
#endif
