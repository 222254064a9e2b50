// The example viewer on the X display, as a desktop user runs it: started
// without --headless it shows the whole frame; a real drag floats its tool
// bar; the window manager's close saves the layout, and the next start
// restores it from the profile.
#include <tessiv/tests/x11/x11_session.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

#if defined(TESSIV_VIEWER_PATH)

struct TopLevel {
    ::Window id = 0;
    XWindowAttributes attributes{};
};

std::vector<TopLevel> ViewableTopLevels(::Display *probe)
{
    ::Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::vector<TopLevel> found;
    if (!XQueryTree(probe, DefaultRootWindow(probe), &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        TopLevel top{children[i], {}};
        if (XGetWindowAttributes(probe, children[i], &top.attributes) && top.attributes.map_state == IsViewable)
            found.push_back(top);
    }
    XFree(children);
    return found;
}

// The tool bar docked at the top: the first child of the frame's uppermost
// wide child (the top dock bar).
::Window DockedToolBar(::Display *probe, TopLevel const &frame)
{
    ::Window root, parent, *children = nullptr;
    unsigned count = 0;
    ::Window dock = 0;
    int dock_y = frame.attributes.height;
    if (!XQueryTree(probe, frame.id, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(probe, children[i], &a) && a.map_state == IsViewable &&
            a.width > frame.attributes.width / 2 && a.height > 10 && a.height < 80 && a.y < dock_y) {
            dock = children[i];
            dock_y = a.y;
        }
    }
    XFree(children);
    if (!dock || !XQueryTree(probe, dock, &root, &parent, &children, &count))
        return 0;
    ::Window bar = count ? children[0] : 0;
    XFree(children);
    return bar;
}

std::string ReadUntil(RoleProcess &viewer, char const *prefix)
{
    std::string line;
    while (viewer.ReadLine(&line, 30000))
        if (line.rfind(prefix, 0) == 0)
            return line;
    return {};
}

TEST(X11ViewerTest, AFloatedToolBarIsSavedOnCloseAndRestoredOnTheNextStart)
{
    SKIP_WITHOUT_X11();
    X11Session &session = X11Session::Get();
    ::Display *probe = session.probe();
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("tessiv-x11-viewer-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::remove_all(folder);
    std::vector<std::string> arguments{"--triangles", "2000", "--out", folder.string()};
    std::vector<std::string> environment{std::string("DISPLAY=") + DisplayString(probe)};

    RoleProcess first;
    ASSERT_TRUE(first.StartProgram(TESSIV_VIEWER_PATH, arguments, environment));
    std::string opened = ReadUntil(first, "opened ");
    ASSERT_NE(opened, "") << "the viewer shows its frame";
    EXPECT_NE(opened.find("tool bar docked"), std::string::npos) << opened;
    std::vector<TopLevel> tops = ViewableTopLevels(probe);
    ASSERT_EQ(tops.size(), 1u) << "one top-level window: the main frame";
    TopLevel frame = tops[0];
    EXPECT_GT(frame.attributes.width, 400);

    ::Window bar = DockedToolBar(probe, frame);
    ASSERT_NE(bar, 0u);
    XWindowAttributes bar_attributes;
    ASSERT_TRUE(XGetWindowAttributes(probe, bar, &bar_attributes));
    int grip_x = 0, grip_y = 0;
    ::Window ignored;
    XTranslateCoordinates(probe, bar, DefaultRootWindow(probe), 2, bar_attributes.height / 2, &grip_x, &grip_y,
                          &ignored);
    int to_x = frame.attributes.x + frame.attributes.width / 2;
    int to_y = frame.attributes.y + frame.attributes.height / 2;
    XTestFakeMotionEvent(probe, -1, grip_x, grip_y, CurrentTime);
    XTestFakeButtonEvent(probe, 1, True, CurrentTime);
    for (int step = 1; step <= 6; ++step)
        XTestFakeMotionEvent(probe, -1, grip_x + (to_x - grip_x) * step / 6, grip_y + (to_y - grip_y) * step / 6,
                             CurrentTime);
    XTestFakeButtonEvent(probe, 1, False, CurrentTime);
    XSync(probe, False);
    // The floating frame is a second top-level X window once the viewer has taken the drag.
    for (int tries = 0; tries < 200 && ViewableTopLevels(probe).size() < 2; ++tries)
        usleep(20000);
    tops = ViewableTopLevels(probe);
    ASSERT_EQ(tops.size(), 2u) << "the tool bar floats in its own top-level window";

    session.CloseByManager(frame.id);
    std::string saved = ReadUntil(first, "saved ");
    EXPECT_EQ(first.Wait(30000), 0) << "closing ends the viewer";
    ASSERT_NE(saved.find("tool bar floating at"), std::string::npos) << saved;

    RoleProcess second;
    ASSERT_TRUE(second.StartProgram(TESSIV_VIEWER_PATH, arguments, environment));
    std::string restored = ReadUntil(second, "restored ");
    // "saved <layout> to <profile>" and "restored <layout> from <profile>".
    std::string saved_layout = saved.substr(6, saved.rfind(" to ") - 6);
    std::string restored_layout = restored.substr(9, restored.rfind(" from ") - 9);
    EXPECT_EQ(restored_layout, saved_layout) << "the profile gives back the split and the floating bar";
    EXPECT_EQ(ViewableTopLevels(probe).size(), 2u);
    for (TopLevel const &top : ViewableTopLevels(probe))
        if (top.attributes.width > 400)
            session.CloseByManager(top.id);
    EXPECT_EQ(second.Wait(30000), 0);
    std::filesystem::remove_all(folder);
}

#else

TEST(X11ViewerTest, AFloatedToolBarIsSavedOnCloseAndRestoredOnTheNextStart)
{
    GTEST_SKIP() << "the example viewer is not built (TESSIV_BUILD_EXAMPLES=OFF)";
}

#endif

}  // namespace
