#include <tessiv/scene/stream_debug.h>
#include <tessiv/siblings/fendral/log.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> DebugLines()
{
    std::vector<std::string> lines;
    for (CLog::Entry const &entry : cLog.Entries()) {
        EXPECT_EQ(entry.level, 1);
        if (entry.title == "CStreamDebug")
            lines.push_back(entry.text);
    }
    return lines;
}

TEST(StreamDebugTest, WritesWholeTextLinesToTheTraceLog)
{
    cLog.Clear();
    {
        kolt::CStreamDebug debug;
        EXPECT_TRUE(debug.ascii()) << "a debug stream writes text";
        debug << "frame " << 12 << ' ' << 0.5 << " visible " << true;
        EXPECT_TRUE(DebugLines().empty()) << "an unfinished line waits";
        debug.textout("\nsecond\r\nthird");
        EXPECT_EQ(DebugLines(), (std::vector<std::string>{"frame 12 0.5 visible 1", "second"}));
        debug.flush();
        EXPECT_EQ(DebugLines().back(), "third");

        kolt::CStreamDebug other;
        other << "pending at the end";
        debug << "unrelated\n";
        EXPECT_EQ(DebugLines().back(), "unrelated") << "each stream keeps its own line";
    }
    EXPECT_EQ(DebugLines().back(), "pending at the end") << "a stream's end completes its line";
    EXPECT_EQ(DebugLines().size(), 5u);
}

}  // namespace
