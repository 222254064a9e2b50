// The viewer program run as a user runs it: its scripted session, checked
// through the snapshots it writes (with tolerances, never byte for byte),
// and its handling of bad command lines and bad mesh files.
#include <tessiv/imaging/image_io.h>
#include <tessiv/imaging/pixel_image.h>
#include <tessiv/scene/stream_file.h>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Channels of a pixel: memory order blue, green, red, alpha.
int Red(kolt::ColorI const &c) { return c[2]; }
int Green(kolt::ColorI const &c) { return c[1]; }
int Blue(kolt::ColorI const &c) { return c[0]; }

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadText(fs::path const &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("viewer_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    ProgramRun Viewer(std::string const &arguments)
    {
        std::string command = std::string("'") + VIEWER_PROGRAM + "' " + arguments + " > '" +
                              (dir / "out.txt").string() + "' 2> '" + (dir / "err.txt").string() + "'";
        ProgramRun run;
        int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadText(dir / "out.txt");
        run.err = ReadText(dir / "err.txt");
        return run;
    }

    fs::path dir;
};

bool LoadPng(fs::path const &path, kolt::PixelImage &image)
{
    kolt::CStreamFile file;
    if (!file.open(path.string().c_str(), kolt::CStreamFile::modeRead))
        return false;
    kolt::PNGImage png(image, false);
    return png.Read(file);
}

// What a snapshot shows of the model: the share of pixels that are not the
// background, and their centre.
struct Coverage {
    double share = 0;
    double x = 0;
    double y = 0;
};

bool IsBackground(kolt::ColorI const &c)
{
    // The viewer clears to (26, 31, 41); lighting never gives the model that colour.
    return std::abs(Red(c) - 26) + std::abs(Green(c) - 31) + std::abs(Blue(c) - 41) < 12;
}

Coverage Measure(kolt::PixelImage const &image)
{
    Coverage coverage;
    double count = 0;
    for (unsigned int y = 0; y < image.Height(); ++y)
        for (unsigned int x = 0; x < image.Width(); ++x)
            if (!IsBackground(image(x, y))) {
                ++count;
                coverage.x += x;
                coverage.y += y;
            }
    if (count > 0) {
        coverage.x /= count;
        coverage.y /= count;
    }
    coverage.share = count / (static_cast<double>(image.Width()) * image.Height());
    return coverage;
}

double ChangedShare(kolt::PixelImage const &a, kolt::PixelImage const &b)
{
    double changed = 0;
    for (unsigned int y = 0; y < a.Height(); ++y)
        for (unsigned int x = 0; x < a.Width(); ++x) {
            kolt::ColorI const &p = a(x, y), &q = b(x, y);
            changed += std::abs(Red(p) - Red(q)) + std::abs(Green(p) - Green(q)) +
                           std::abs(Blue(p) - Blue(q)) > 24;
        }
    return changed / (static_cast<double>(a.Width()) * a.Height());
}

TEST_F(ViewerTest, ScriptedSessionNavigatesPicksAndWritesASnapshotPerStep)
{
    ProgramRun run =
        Viewer("--headless --triangles 20000 --size 320x240 --unit-scale 10 --decimals 1 --out '" + dir.string() + "'");
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    char const *steps[] = {"00-initial", "01-rotate", "02-pan", "03-zoom", "04-pick", "05-zoomall", "06-resize"};
    kolt::PixelImage shots[7];
    for (int i = 0; i < 7; ++i) {
        fs::path path = dir / (std::string(steps[i]) + ".png");
        ASSERT_TRUE(LoadPng(path, shots[i])) << path;
        EXPECT_NE(run.out.find(path.string()), std::string::npos) << "the session says where " << steps[i] << " is";
        unsigned int width = i == 6 ? 240 : 320, height = i == 6 ? 180 : 240;
        EXPECT_EQ(shots[i].Width(), width) << steps[i];
        EXPECT_EQ(shots[i].Height(), height) << steps[i];
    }

    Coverage initial = Measure(shots[0]);
    EXPECT_GT(initial.share, 0.15) << "the model fills a good part of the first frame";
    EXPECT_LT(initial.share, 0.9);
    EXPECT_NEAR(initial.x, 160, 30) << "and sits near the middle";

    EXPECT_GT(ChangedShare(shots[0], shots[1]), 0.05) << "an Alt+left drag turns the model";

    Coverage rotated = Measure(shots[1]), panned = Measure(shots[2]);
    EXPECT_LT(panned.x - rotated.x, -40) << "an Alt+right drag to the left moves the model left";
    // Part of the posed model leaves the view at the bottom, so its centre moves less than the 40 pixels.
    EXPECT_GT(panned.y - rotated.y, 15) << "and down";

    Coverage zoomed = Measure(shots[3]);
    EXPECT_GT(zoomed.share, panned.share * 1.02) << "the wheel forward zooms in";

    // The pick hits the model where the pan left its centre; the marker is
    // drawn in yellow around the face.
    std::smatch face;
    ASSERT_TRUE(std::regex_search(run.out, face, std::regex("pick at \\(80, 160\\): face ([0-9]+)"))) << run.out;
    int yellow = 0;
    for (unsigned int y = 140; y < 180; ++y)
        for (unsigned int x = 60; x < 100; ++x) {
            kolt::ColorI const &c = shots[4](x, y);
            yellow += Red(c) > 200 && Green(c) > 170 && Blue(c) < 90;
        }
    EXPECT_GT(yellow, 3) << "the picked face is outlined near the click";
    EXPECT_NE(run.out.find("[picked face " + face[1].str() + "]"), std::string::npos) << run.out;

    EXPECT_GT(ChangedShare(shots[4], shots[5]), 0.02) << "a middle double click refits the model";

    // Status panes carry the coordinates in the unit and precision asked.
    EXPECT_TRUE(std::regex_search(run.out, std::regex("\\[x:-?[0-9]+\\.[0-9]\\] \\[y:-?[0-9]+\\.[0-9]\\] "
                                                      "\\[z:-?[0-9]+\\.[0-9]\\]")))
        << run.out;
}

// Pixels of a picture near a colour (each channel within tolerance).
int CountNear(kolt::PixelImage const &image, int red, int green, int blue, int tolerance)
{
    int count = 0;
    for (unsigned int y = 0; y < image.Height(); ++y)
        for (unsigned int x = 0; x < image.Width(); ++x) {
            kolt::ColorI const &c = image(x, y);
            count += std::abs(Red(c) - red) <= tolerance && std::abs(Green(c) - green) <= tolerance &&
                     std::abs(Blue(c) - blue) <= tolerance;
        }
    return count;
}

TEST_F(ViewerTest, FrameStepsAndASecondRunRestoringTheLayout)
{
    std::string arguments = "--triangles 20000 --size 240x180 --out '" + dir.string() + "'";
    ProgramRun first = Viewer(arguments);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_EQ(first.out.find("restored"), std::string::npos) << "a fresh profile restores nothing";
    for (char const *line : {"hides the right pane: hidden", "shows it again: shown", "to view 1", "mouse mode 1",
                             "dragged into the frame: floating", "back to the top edge: docked"})
        EXPECT_NE(first.out.find(line), std::string::npos) << line << "\n" << first.out;

    char const *steps[] = {"07-frame", "08-hide", "09-show", "10-switch", "11-mode", "12-float", "13-dock",
                           "14-layout"};
    kolt::PixelImage shots[8];
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(LoadPng(dir / (std::string(steps[i]) + ".png"), shots[i])) << steps[i];
    // The tool bar paints its 24-bit buttons (a little lighter than drawn)
    // and the magenta of the strip stays transparent.
    EXPECT_GT(CountNear(shots[0], 30, 90, 200, 40), 20) << "the blue rotate arrow";
    EXPECT_GT(CountNear(shots[0], 20, 150, 60, 40), 20) << "the green pan cross";
    for (kolt::PixelImage const &shot : shots)
        EXPECT_EQ(CountNear(shot, 255, 0, 255, 30), 0) << "no mask colour on screen";
    EXPECT_GT(shots[0].Width(), 2 * 180u) << "the whole frame holds both views, fitted to three quarters";
    EXPECT_GT(ChangedShare(shots[0], shots[1]), 0.1) << "hiding the right pane changes the frame";
    EXPECT_LT(ChangedShare(shots[0], shots[2]), ChangedShare(shots[0], shots[1])) << "showing it brings it back";
    EXPECT_GT(ChangedShare(shots[2], shots[3]), 0.05) << "the right pane shows another view";
    EXPECT_GT(ChangedShare(shots[5], shots[6]), 0.01) << "the bar left its floating place";

    std::smatch saved;
    ASSERT_TRUE(std::regex_search(first.out, saved, std::regex("saved (split at [0-9]+; tool bar floating at "
                                                               "\\(-?[0-9]+, -?[0-9]+\\)) to (.*)\n")))
        << first.out;
    EXPECT_TRUE(fs::exists(dir / "viewer-profile.ini"));
    EXPECT_EQ(saved[2].str(), fs::absolute(dir / "viewer-profile.ini").string());

    // The second run starts from what the first one kept.
    ProgramRun second = Viewer(arguments);
    ASSERT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_NE(second.out.find("restored " + saved[1].str() + " from "), std::string::npos)
        << saved[1] << "\n" << second.out;
    kolt::PixelImage restored;
    ASSERT_TRUE(LoadPng(dir / "restored.png", restored));
    EXPECT_GT(CountNear(restored, 30, 90, 200, 40), 20) << "the floating tool bar is in the picture";

    // Another profile starts afresh.
    ProgramRun other = Viewer(arguments + " --profile '" + (dir / "other.ini").string() + "'");
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.out.find("restored"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "other.ini"));
}

TEST_F(ViewerTest, BadCommandLinesAndHelp)
{
    ProgramRun help = Viewer("--help");
    EXPECT_EQ(help.status, 0);
    for (char const *option : {"--headless", "--out", "--profile", "--triangles", "--size", "--unit-scale", "--decimals", "MESH"})
        EXPECT_NE(help.out.find(option), std::string::npos) << "--help explains " << option;

    for (char const *arguments : {"--bogus", "--size 10", "--size 0x100", "--triangles many", "--out",
                                  "--decimals 16", "a.obj b.obj"}) {
        ProgramRun run = Viewer(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("viewer: "), std::string::npos) << arguments;
    }
}

TEST_F(ViewerTest, MeshFilesThatFailToLoadExitWithTheReadersMessage)
{
    auto write = [&](char const *name, std::string const &bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return "'" + (dir / name).string() + "' --out '" + (dir / "shots").string() + "'";
    };
    std::string truncated_stl(80, ' ');
    truncated_stl += std::string("\x10\x00\x00\x00", 4) + std::string(60, '\1');
    struct Case {
        std::string arguments;
        char const *message;
    } cases[] = {
        {write("empty.obj", ""), "no faces"},
        {write("empty.stl", ""), "STL"},
        {write("truncated.stl", truncated_stl), "STL"},
        {write("text.ply", "this is not a mesh\n"), "PLY"},
        {write("faces.obj", "v 0 0 0\nv 1 0 0\nf 1 2 9\n"), "OBJ"},
        {write("model.dxf", "0\nSECTION\n"), "unknown mesh format"},
        {"'" + (dir / "missing.obj").string() + "'", "missing.obj"},
    };
    for (Case const &c : cases) {
        ProgramRun run = Viewer(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_FALSE(fs::exists(dir / "shots" / "00-initial.png")) << "no session for " << c.arguments;
    }

    // A good file loads and runs the session.
    ProgramRun good = Viewer("--headless " + write("quad.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nf 1 2 3 4\n"));
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_NE(good.out.find("2 triangles"), std::string::npos) << good.out;
}

}  // namespace
