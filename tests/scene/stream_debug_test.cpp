#include <tessiv/scene/stream_debug.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StreamDebugTest, WritesTextToStandardError)
{
    kolt::CStreamDebug debug;
    EXPECT_TRUE(debug.ascii()) << "a debug stream writes text";
    EXPECT_FALSE(debug.fail());

    testing::internal::CaptureStderr();
    debug << "frame " << 12 << ' ' << 0.5 << " visible " << true;
    debug.textout("\n");
    debug.flush();
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "frame 12 0.5 visible 1\n");

    kolt::CStreamDebug copy(debug);
    EXPECT_TRUE(copy.ascii());
}

}  // namespace
