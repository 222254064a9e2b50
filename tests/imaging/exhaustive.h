// The stride of the costliest exhaustive colour check (the pixel loop
// against the colour class). The plain build visits all 2^24 colours; a
// sanitizer build, several times slower per colour, visits every 5th (a
// stride prime to 256, so every value of every channel still occurs, in
// every combination of the other two's low bits).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define TESSIV_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSIV_TEST_SANITIZED 1
#endif
#endif

#if defined(TESSIV_TEST_SANITIZED)
inline constexpr unsigned int kColourStride = 5;
#else
inline constexpr unsigned int kColourStride = 1;
#endif
