#pragma once
// Whether this test program runs under ThreadSanitizer, which makes every instruction tens of
// times slower. The longest single-threaded renders then take a shorter variant that still
// runs all of their threads: every instance still starts and ends its update thread, loads
// its state and is automated, only fewer of the renders' combinations or blocks are heard.
namespace KivSanitizer {

#if defined(__SANITIZE_THREAD__)
inline constexpr bool kThreads = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool kThreads = true;
#else
inline constexpr bool kThreads = false;
#endif
#else
inline constexpr bool kThreads = false;
#endif

}  // namespace KivSanitizer
