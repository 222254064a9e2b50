#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/zt_base/text_agent.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Points the agent at another font file for one test.
class FontOverride {
public:
    explicit FontOverride(std::string const &path) { setenv("TESSIV_LABEL_FONT", path.c_str(), 1); }
    ~FontOverride() { unsetenv("TESSIV_LABEL_FONT"); }
};

std::string init_trace(CTextAgent &agent)
{
    cLog.Clear();
    agent.Init();
    std::string text;
    for (CLog::Entry const &entry : cLog.Entries()) {
        EXPECT_EQ(entry.title, "CTextAgent::Init");
        text += entry.text;
    }
    cLog.Clear();
    return text;
}

TEST(TextAgent, LoadsTheLabelFontOnceAndRefusesMissingOrCorruptFonts)
{
    CTextAgent agent;
    EXPECT_FALSE(agent.IsReady());
    EXPECT_EQ(init_trace(agent), "");
    ASSERT_TRUE(agent.IsReady()) << "the default font " << CTextAgent::kDefaultFontPath;

    std::filesystem::path const folder = std::filesystem::temp_directory_path();
    std::filesystem::path const missing = folder / "tessiv-no-such-font.ttf";
    std::filesystem::path const corrupt = folder / ("tessiv-corrupt-font-" + std::to_string(getpid()) + ".ttf");
    {
        // A TrueType signature followed by a table directory that points nowhere.
        std::ofstream(corrupt, std::ios::binary)
            << std::string("\0\1\0\0\0\x7f\0\0\0\0\0\0", 12) << std::string(64, '\xff');
    }
    {
        FontOverride font(missing.string());
        EXPECT_EQ(init_trace(agent), "") << "a ready agent does not load again";
        CTextAgent without;
        std::string const text = init_trace(without);
        EXPECT_NE(text.find(missing.string()), std::string::npos) << text;
        EXPECT_NE(text.find("labels will not be drawn"), std::string::npos) << text;
        EXPECT_FALSE(without.IsReady());
    }
    {
        FontOverride font(corrupt.string());
        CTextAgent damaged;
        std::string const text = init_trace(damaged);
        EXPECT_NE(text.find(corrupt.string()), std::string::npos) << text;
        EXPECT_FALSE(damaged.IsReady());
    }
    std::filesystem::remove(corrupt);
}

}  // namespace
