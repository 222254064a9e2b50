// Bounds assertions for the unchecked accessors of arrays, points, matrices
// and images. Release builds keep the accessors unchecked, as hosts rely on;
// a build with TESSIV_CHECKED turns out-of-range use into an immediate abort
// naming the place, so tests and sanitizer runs catch it.
#pragma once

#if defined(TESSIV_CHECKED) && TESSIV_CHECKED
#include <cstdio>
#include <cstdlib>

namespace kolt::detail {
[[noreturn]] inline void CheckFailed(char const *condition, char const *file, int line)
{
    std::fprintf(stderr, "%s:%d: bounds check failed: %s\n", file, line, condition);
    std::abort();
}
}  // namespace kolt::detail

#define TESSIV_ASSERT_BOUNDS(condition) \
    ((condition) ? static_cast<void>(0) : ::kolt::detail::CheckFailed(#condition, __FILE__, __LINE__))
#else
#define TESSIV_ASSERT_BOUNDS(condition) static_cast<void>(0)
#endif
