#pragma once
// Assertions for programmer errors: an index the program itself computed that is out
// of range, an element that cannot exist, a tag the engine wrote that does not parse.
// They stop debug and sanitizer builds at the fault; release builds go on with the
// safe answer the code gives next to the check. Input from the player and values read
// from the store are never checked this way: they are handled.
#include <cstdio>
#include <cstdlib>

#if defined(NDEBUG) && !defined(KARVELO_CHECKS)
#define KARVELO_CHECKS_ON 0
#define KARVELO_ASSERT(condition) ((void)0)
#else
#define KARVELO_CHECKS_ON 1
#define KARVELO_ASSERT(condition)                                                         \
    ((condition) ? (void)0                                                                \
                 : ::karvelo::AssertionFailed(#condition, __FILE__, __LINE__))
#endif

namespace karvelo {

[[noreturn]] inline void AssertionFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: programmer error: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace karvelo
