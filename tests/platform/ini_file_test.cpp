// The profile file: round trips, damaged files read as far as they are
// sound, and writes that fail leave the old file as it was.
#include <tessiv/platform/ini_file.h>
#include <tessiv/tests/file_size_limit.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("ini_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(char const *name = "app/profile.ini") const { return (folder_ / name).string(); }

    void put(std::string const &file, std::string const &content) const
    {
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }

    static std::string content(std::string const &file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::size_t files_in_folder() const
    {
        auto entries = fs::directory_iterator(fs::path(path()).parent_path());
        return static_cast<std::size_t>(std::distance(fs::begin(entries), fs::end(entries)));
    }

    fs::path folder_;
};

TEST_F(IniFileTest, WritesReadBackAndRemove)
{
    TessivIniFile ini(path());
    EXPECT_FALSE(ini.Get("Panes", "Rows").has_value()) << "no file yet";
    EXPECT_TRUE(ini.Write("Panes", "Rows", "2"));
    EXPECT_TRUE(ini.Write("Panes", "Size", "a=b c"));
    EXPECT_TRUE(ini.Write("Bars", "Visible", "1"));
    EXPECT_TRUE(ini.Write("panes", "ROWS", "3")) << "names compare without case";
    EXPECT_EQ(ini.Get("PANES", "rows").value_or(""), "3");
    EXPECT_EQ(ini.Get("Panes", "Size").value_or(""), "a=b c") << "only the first '=' splits";
    EXPECT_EQ(content(path()), "[Panes]\nRows=3\nSize=a=b c\n\n[Bars]\nVisible=1\n");
    EXPECT_EQ(files_in_folder(), 1u) << "no temporary file is left behind";

    EXPECT_TRUE(ini.Write("Panes", "Size", nullptr));
    EXPECT_FALSE(ini.Get("Panes", "Size").has_value());
    EXPECT_TRUE(ini.Write("Panes", nullptr, nullptr));
    EXPECT_FALSE(ini.Get("Panes", "Rows").has_value());
    EXPECT_EQ(ini.Get("Bars", "Visible").value_or(""), "1");

    // What the format cannot hold is refused and changes nothing.
    std::string before = content(path());
    EXPECT_FALSE(ini.Write("Bars", "Two\nLines", "x"));
    EXPECT_FALSE(ini.Write("Bars", "Visible", "1\n[Injected]"));
    EXPECT_FALSE(ini.Write("Bars", "a=b", "x"));
    EXPECT_FALSE(ini.Write(nullptr, "Visible", "x"));
    EXPECT_EQ(content(path()), before);
}

TEST_F(IniFileTest, AFailingWriteLeavesTheOldFileIntact)
{
    TessivIniFile ini(path());
    ASSERT_TRUE(ini.Write("Panes", "Rows", "2"));
    std::string before = content(path());

    bool written = true;
    {
        FileSizeLimit limit;
        ASSERT_TRUE(limit.Active());
        written = ini.Write("Panes", "Big", std::string(100000, 'x').c_str());
    }

    EXPECT_FALSE(written);
    EXPECT_EQ(content(path()), before);
    EXPECT_EQ(files_in_folder(), 1u) << "the half-written temporary file is removed";

    // A folder that cannot exist (a file stands in its way) fails the same way.
    put(path("blocker"), "");
    EXPECT_FALSE(TessivIniFile(path("blocker/profile.ini")).Write("A", "b", "c"));
}

TEST_F(IniFileTest, DamagedFilesReadAsFarAsTheyAreSound)
{
    std::string damaged = "orphan=before any section\n"
                          "[Good]\r\nName = spaced value \r\n"
                          "junk\x01\x02\xff=binary\n" +
                          std::string("[Good]\nHuge=") + std::string(200000, 'h') + "\n" +
                          "no equals sign\n"
                          "[Broken\n"
                          "Lost=still in Good\n"
                          "[Good]\nName=second copy\nLater=found\n"
                          "[Other]\nLast=truncated without newline";
    damaged += std::string("\0\0\0", 3);
    put(path(), damaged);
    TessivIniFile ini(path());
    EXPECT_EQ(ini.Get("Good", "Name").value_or(""), "spaced value") << "the first of duplicate sections wins";
    EXPECT_EQ(ini.Get("Good", "Later").value_or(""), "found") << "later copies of a section still count";
    EXPECT_EQ(ini.Get("Good", "Lost").value_or(""), "still in Good") << "a broken header starts no section";
    EXPECT_FALSE(ini.Get("Good", "Huge").has_value());
    EXPECT_FALSE(ini.Get("Good", "orphan").has_value());
    EXPECT_FALSE(ini.Get("Other", "Last").has_value()) << "the line ending in binary zeros is damaged";

    // Writing keeps what was sound and drops the damage.
    ASSERT_TRUE(ini.Write("Other", "Last", "mended"));
    EXPECT_EQ(ini.Get("Good", "Later").value_or(""), "found");
    EXPECT_EQ(ini.Get("Other", "Last").value_or(""), "mended");
    EXPECT_EQ(content(path()).find('h' + std::string(100, 'h')), std::string::npos);

    put(path(), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_FALSE(TessivIniFile(path()).Get("PNG", "IHDR").has_value());
}

TEST_F(IniFileTest, DefaultPathFollowsTheConfigFolder)
{
    char const *saved_config = std::getenv("XDG_CONFIG_HOME");
    std::string saved = saved_config ? saved_config : "";
    std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(TessivIniFile::DefaultPath("Viewer"), "/cfg/Viewer/profile.ini");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    setenv("HOME", "/home/user", 1);
    EXPECT_EQ(TessivIniFile::DefaultPath("Viewer"), "/home/user/.config/Viewer/profile.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TessivIniFile::DefaultPath(nullptr), "/home/user/.config/platform_tests/profile.ini")
        << "without a name the executable names the folder";
    if (saved_config)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    setenv("HOME", saved_home.c_str(), 1);
}

}  // namespace
