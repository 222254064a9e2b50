#include <tessiv/platform/headless.h>
#include <tessiv/siblings/fendral/log.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

TEST(CLogTest, KeepsLinesInOrderAndDropsTheOldestWhenFull)
{
    CLog log(3);
    log.PutLog(1, "Cgl::Flip()", "-----1");
    log.PutLog(2, nullptr, nullptr);
    auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].level, 1);
    EXPECT_EQ(entries[0].title, "Cgl::Flip()");
    EXPECT_EQ(entries[0].text, "-----1");
    EXPECT_EQ(entries[1].title, "") << "null strings are recorded as empty";
    EXPECT_LE(entries[0].time, entries[1].time);

    for (int i = 0; i < 5; ++i)
        log.PutLog(1, "t", std::to_string(i).c_str());
    entries = log.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.front().text, "2");
    EXPECT_EQ(log.Dropped(), 4u);
    log.SetCapacity(1);
    EXPECT_EQ(log.Entries().front().text, "4");
    log.Clear();
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(log.Dropped(), 0u);
}

TEST(CLogTest, MirrorsLinesToTheFileAndTakesPlatformDiagnostics)
{
    std::string path = ::testing::TempDir() + "clog_test_" + std::to_string(getpid()) + ".log";
    std::remove(path.c_str());
    CLog log;
    ASSERT_TRUE(log.SetFile(path.c_str()));
    log.PutLog(1, "###Cgl::Create()", "width = 5, height = 7");
    EXPECT_TRUE(log.SetFile(nullptr));
    log.PutLog(1, "after", "closing");
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_NE(content.str().find("[1] ###Cgl::Create(): width = 5, height = 7\n"), std::string::npos);
    EXPECT_EQ(content.str().find("closing"), std::string::npos);
    std::remove(path.c_str());
    EXPECT_FALSE(log.SetFile("/nonexistent-dir/x.log"));

    cLog.Clear();
    TessivReportDiagnostic("wglMakeCurrent", "eglMakeCurrent failed: EGL_BAD_MATCH (0x3009)");
    auto entries = cLog.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].title, "wglMakeCurrent");
    EXPECT_EQ(entries[0].level, 1);
}

// Run as a child process with TESSIV_LOG set, this test writes one line
// through the global log; run normally, it starts that child and reads the file.
TEST(CLogTest, TessivLogNamesTheFileOfTheGlobalLog)
{
    if (std::getenv("TESSIV_LOG_TEST_CHILD")) {
        cLog.PutLog(1, "child", "written through TESSIV_LOG");
        return;
    }
    std::string path = ::testing::TempDir() + "clog_env_" + std::to_string(getpid()) + ".log";
    std::remove(path.c_str());
    std::string command = "TESSIV_LOG='" + path + "' TESSIV_LOG_TEST_CHILD=1 /proc/" +
                          std::to_string(getpid()) +
                          "/exe --gtest_filter=CLogTest.TessivLogNamesTheFileOfTheGlobalLog > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_NE(content.str().find("[1] child: written through TESSIV_LOG\n"), std::string::npos) << content.str();
    std::remove(path.c_str());
}

}  // namespace
