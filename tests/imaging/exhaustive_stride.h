// Step through the 2^24 colours of the exhaustive checks. The plain build
// visits every colour; a sanitizer build, many times slower per colour,
// visits every 7th (a stride prime to 256, so every value of every channel
// still occurs).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define TESSIV_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSIV_TEST_SANITIZED 1
#endif
#endif

#if defined(TESSIV_TEST_SANITIZED)
inline constexpr unsigned int kExhaustiveStride = 7;
#else
inline constexpr unsigned int kExhaustiveStride = 1;
#endif
