// CWinApp's profile: where it lives and how numbers and defaults read.
#include <tessiv/platform/win_app.h>
#include <tessiv/tests/file_size_limit.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

char *owned(char const *text) { return strcpy(static_cast<char *>(std::malloc(std::strlen(text) + 1)), text); }

TEST(WinAppProfileTest, ValuesRoundTripInTheApplicationsProfile)
{
    fs::path config = fs::temp_directory_path() / ("profile_test_" + std::to_string(::getpid()));
    fs::remove_all(config);
    char const *saved = std::getenv("XDG_CONFIG_HOME");
    std::string saved_value = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    {
        CWinApp app("Viewer");
        EXPECT_STREQ(app.GetProfilePath().GetString(), (config / "Viewer/profile.ini").c_str());
        EXPECT_STREQ(app.GetProfileString("Panes", "Layout", "none").GetString(), "none");
        EXPECT_STREQ(app.GetProfileString("Panes", "Layout").GetString(), "");
        EXPECT_EQ(app.GetProfileInt("Panes", "Rows", 7), 7u);

        EXPECT_TRUE(app.WriteProfileString("Panes", "Layout", "split"));
        EXPECT_TRUE(app.WriteProfileInt("Panes", "Rows", -3));
        EXPECT_STREQ(app.GetProfileString("Panes", "Layout", "none").GetString(), "split");
        EXPECT_EQ(static_cast<int>(app.GetProfileInt("Panes", "Rows", 7)), -3);
        EXPECT_TRUE(app.WriteProfileString("Panes", "Rows", "12px"));
        EXPECT_EQ(app.GetProfileInt("Panes", "Rows", 7), 12u) << "the leading number counts";
        EXPECT_TRUE(app.WriteProfileString("Panes", "Rows", "wide"));
        EXPECT_EQ(app.GetProfileInt("Panes", "Rows", 7), 0u) << "text without a number reads 0";
        EXPECT_TRUE(app.WriteProfileString("Panes", "Rows", "99999999999"));
        EXPECT_EQ(app.GetProfileInt("Panes", "Rows", 7), 7u) << "out of range reads the default";

        // A bare profile name stays in the application's folder; a path is taken as it is.
        app.m_pszProfileName = owned("layout.ini");
        EXPECT_STREQ(app.GetProfilePath().GetString(), (config / "Viewer/layout.ini").c_str());
        EXPECT_STREQ(app.GetProfileString("Panes", "Layout", "none").GetString(), "none");
        std::free(const_cast<char *>(app.m_pszProfileName));
        app.m_pszProfileName = owned((config / "elsewhere/host.ini").c_str());
        EXPECT_TRUE(app.WriteProfileInt("Bars", "Count", 4));
        EXPECT_TRUE(fs::exists(config / "elsewhere/host.ini"));
    }
    saved ? setenv("XDG_CONFIG_HOME", saved_value.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config);
}

std::string text_of(fs::path const &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A dock-state-like save of several sections and a removal.
void save_layout(CWinApp &app)
{
    app.WriteProfileInt("Layout-Bar0", "BarID", 101);
    app.WriteProfileString("Layout-Bar0", "MRUDockRect", "1 2 3 4");
    app.WriteProfileString("Layout-Bar1", nullptr, nullptr);
    app.WriteProfileInt("Layout-Summary", "Bars", 1);
}

TEST(WinAppProfileTest, BatchWritesTheProfileOnceWhenTheOutermostEnds)
{
    fs::path folder = fs::temp_directory_path() / ("profile_batch_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    CWinApp app("Viewer");
    app.m_pszProfileName = owned((folder / "single.ini").c_str());
    ASSERT_TRUE(app.WriteProfileInt("Layout-Bar1", "BarID", 102));
    save_layout(app);
    std::string expected = text_of(folder / "single.ini");

    std::free(const_cast<char *>(app.m_pszProfileName));
    app.m_pszProfileName = owned((folder / "batch.ini").c_str());
    ASSERT_TRUE(app.WriteProfileInt("Layout-Bar1", "BarID", 102));
    std::string before = text_of(folder / "batch.ini");
    {
        TessivProfileBatch outer(&app);
        {
            TessivProfileBatch inner(&app);
            save_layout(app);
            EXPECT_TRUE(inner.End());
        }
        EXPECT_EQ(text_of(folder / "batch.ini"), before) << "nothing is written before the outermost batch ends";
        EXPECT_EQ(app.GetProfileInt("Layout-Bar0", "BarID", 0), 101u) << "reads see the batched values";
        EXPECT_STREQ(app.GetProfileString("Layout-Bar1", "BarID", "gone").GetString(), "gone");
    }
    EXPECT_EQ(text_of(folder / "batch.ini"), expected) << "the same text as entry-by-entry writes";

    // A write that fails at the end of a batch reports it and keeps the old profile.
    BOOL written = TRUE;
    {
        TessivProfileBatch batch(&app);
        EXPECT_TRUE(app.WriteProfileString("Layout-Bar0", "Big", std::string(100000, 'x').c_str()));
        FileSizeLimit limit;
        ASSERT_TRUE(limit.Active());
        written = batch.End();
        EXPECT_TRUE(batch.End()) << "a batch ends once";
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(text_of(folder / "batch.ini"), expected);
    EXPECT_STREQ(app.GetProfileString("Layout-Bar0", "Big", "none").GetString(), "none");
    fs::remove_all(folder);
}

}  // namespace
