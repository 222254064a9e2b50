// Build versions of the five libraries, for hosts that check them against the
// headers' TESSIV_VERSION_STRING to detect a mixed install.
#pragma once

#if defined(__GNUC__)
#define TESSIV_EXPORT __attribute__((visibility("default")))
#else
#define TESSIV_EXPORT
#endif

extern "C" {
TESSIV_EXPORT char const *TessivPlatformVersion();
TESSIV_EXPORT char const *KoltVersion();
TESSIV_EXPORT char const *ZtBaseVersion();
TESSIV_EXPORT char const *FendralVersion();
TESSIV_EXPORT char const *TessivVersion();
}
