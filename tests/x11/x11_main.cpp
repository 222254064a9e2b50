// The suite's main: the tests, or the helper role a test started this
// program for (TESSIV_X11_ROLE).
#include <tessiv/tests/x11/x11_session.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (char const *role = std::getenv("TESSIV_X11_ROLE")) {
        if (std::strcmp(role, "headless-reference") == 0)
            return HeadlessReferenceRole();
        if (std::strcmp(role, "lose-display") == 0)
            return LoseDisplayRole();
        if (std::strcmp(role, "no-display") == 0)
            return NoDisplayRole();
        return 64;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
