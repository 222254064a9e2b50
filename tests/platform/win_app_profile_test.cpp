// CWinApp's profile: where it lives and how numbers and defaults read.
#include <tessiv/platform/win_app.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

}  // namespace
