// The X11 backend's windows, GDI pixels, input, capture, cursors and faults,
// seen from the X server: a private Xvfb, queried through a second
// connection and driven with XTest.
#include <tessiv/tests/x11/x11_session.h>

#include <tessiv/platform/display_backend.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/shell/resource.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

namespace {

struct Received {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
std::map<HWND, std::vector<Received>> &Log()
{
    static std::map<HWND, std::vector<Received>> log;
    return log;
}
int paints = 0;

LRESULT Recorder(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_MOUSEWHEEL: case WM_KEYDOWN: case WM_KEYUP:
    case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CLOSE: case WM_SIZE: case WM_MOVE:
        Log()[window].push_back({message, wparam, lparam});
        break;
    case WM_PAINT:
        ++paints;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

char const *Class()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA info{};
        info.style = CS_DBLCLKS;
        info.lpfnWndProc = Recorder;
        info.hbrBackground = CreateSolidBrush(RGB(200, 30, 10));
        info.lpszClassName = "x11 test window";
        registered = RegisterClassA(&info) != 0;
    }
    return "x11 test window";
}

std::vector<UINT> Messages(HWND window, std::initializer_list<UINT> wanted)
{
    std::vector<UINT> seen;
    for (Received const &r : Log()[window])
        for (UINT w : wanted)
            if (r.message == w)
                seen.push_back(r.message);
    return seen;
}

struct Geometry {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    bool viewable = false;
};
Geometry Query(::Display *probe, ::Window id)
{
    Geometry g;
    XWindowAttributes attributes;
    if (id && XGetWindowAttributes(probe, id, &attributes)) {
        g = Geometry{attributes.x, attributes.y, static_cast<unsigned>(attributes.width),
                     static_cast<unsigned>(attributes.height), attributes.map_state == IsViewable};
    }
    return g;
}

std::vector<::Window> Children(::Display *probe, ::Window id)
{
    ::Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::vector<::Window> result;
    if (XQueryTree(probe, id, &root, &parent, &children, &count)) {
        result.assign(children, children + count);  // bottom to top
        XFree(children);
    }
    return result;
}

class X11DisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_X11();
        session = &X11Session::Get();
        probe = session->probe();
        Log().clear();
        top = CreateWindowExA(0, Class(), "x11 top", WS_POPUP | WS_VISIBLE, 100, 80, 320, 240, nullptr,
                              nullptr, nullptr, nullptr);
        ASSERT_NE(top, nullptr);
        session->Settle();
        top_id = session->FindTopLevel("x11 top");
        ASSERT_NE(top_id, 0u) << "the top-level window is an X window with its title";
    }
    void TearDown() override
    {
        if (IsWindow(top))
            DestroyWindow(top);
        if (session)
            session->Settle(20);
    }
    X11Session *session = nullptr;
    ::Display *probe = nullptr;
    HWND top = nullptr;
    ::Window top_id = 0;
};

TEST(X11Backend, SelectionIsFixedOnceChosen)
{
    SKIP_WITHOUT_X11();
    EXPECT_STREQ(TessivDisplayBackendName(), "x11");
    EXPECT_TRUE(TessivSelectDisplayBackend("x11")) << "naming the running backend again is fine";
    EXPECT_FALSE(TessivSelectDisplayBackend("headless")) << "too late to switch";
    EXPECT_FALSE(TessivSelectDisplayBackend("no such display"));
}

TEST_F(X11DisplayTest, WindowsMirrorTheTreeGeometryZOrderAndShowState)
{
    Geometry g = Query(probe, top_id);
    EXPECT_EQ(g.x, 100);
    EXPECT_EQ(g.y, 80);
    EXPECT_EQ(g.width, 320u);
    EXPECT_EQ(g.height, 240u);
    EXPECT_TRUE(g.viewable);

    HWND first = CreateWindowExA(0, Class(), "a", WS_CHILD | WS_VISIBLE, 10, 20, 120, 90, top, nullptr, nullptr, nullptr);
    HWND second = CreateWindowExA(0, Class(), "b", WS_CHILD | WS_VISIBLE | WS_BORDER, 50, 40, 100, 60, top, nullptr,
                                  nullptr, nullptr);
    HWND inner = CreateWindowExA(0, Class(), "c", WS_CHILD | WS_VISIBLE, 5, 6, 30, 20, second, nullptr, nullptr, nullptr);
    session->Settle();
    std::vector<::Window> children = Children(probe, top_id);
    ASSERT_EQ(children.size(), 2u);
    // New children go to the bottom, as in the tree.
    ::Window first_id = children[1], second_id = children[0];
    g = Query(probe, first_id);
    EXPECT_EQ(g.x, 10);
    EXPECT_EQ(g.y, 20);
    EXPECT_EQ(g.width, 120u);
    EXPECT_EQ(g.height, 90u);
    std::vector<::Window> grandchildren = Children(probe, second_id);
    ASSERT_EQ(grandchildren.size(), 1u);
    g = Query(probe, grandchildren[0]);
    EXPECT_EQ(g.x, 5 + 1) << "a child sits in its parent's client area, inside the border";
    EXPECT_EQ(g.y, 6 + 1);

    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MoveWindow(first, 30, 35, 140, 70, TRUE);
    ShowWindow(inner, SW_HIDE);
    session->Settle();
    children = Children(probe, top_id);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[1], second_id) << "raised to the top";
    g = Query(probe, first_id);
    EXPECT_EQ(g.x, 30);
    EXPECT_EQ(g.width, 140u);
    EXPECT_FALSE(Query(probe, grandchildren[0]).viewable);

    MoveWindow(first, 30, 35, 0, 70, TRUE);
    session->Settle();
    EXPECT_FALSE(Query(probe, first_id).viewable) << "a window without area is unmapped";
    MoveWindow(first, 30, 35, 10, 10, TRUE);
    session->Settle();
    EXPECT_TRUE(Query(probe, first_id).viewable);

    SetWindowTextA(top, "renamed top");
    session->Settle();
    EXPECT_EQ(session->FindTopLevel("renamed top"), top_id);
    DestroyWindow(second);
    session->Settle();
    EXPECT_EQ(Children(probe, top_id).size(), 1u);
}

TEST_F(X11DisplayTest, GdiPaintingReachesTheScreenAndExposeStormsPaintOnce)
{
    UpdateWindow(top);
    session->Settle();
    XImage *image = XGetImage(probe, top_id, 0, 0, 320, 240, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 5, 5) & 0xFFFFFF, 0xC81E0Au) << "the class brush, 0x00RRGGBB";
    EXPECT_EQ(XGetPixel(image, 319, 239) & 0xFFFFFF, 0xC81E0Au);
    XDestroyImage(image);

    session->Settle();
    int const before = paints;
    for (int i = 0; i < 50; ++i)
        XClearArea(probe, top_id, i, i, 10, 10, True);
    session->Settle();
    EXPECT_EQ(paints, before + 1) << "fifty exposures, one WM_PAINT";
}

TEST_F(X11DisplayTest, PointerAndKeysBecomeMessages)
{
    HWND child = CreateWindowExA(0, Class(), "c", WS_CHILD | WS_VISIBLE, 20, 10, 200, 150, top, nullptr, nullptr, nullptr);
    SetFocus(child);
    session->Settle();
    session->MoveTo(100 + 20 + 50, 80 + 10 + 40);
    session->Button(1, true);
    session->Button(1, false);
    session->Button(1, true);
    session->Button(1, false);
    session->Button(4, true);
    session->Button(4, false);
    session->Button(5, true);
    session->Button(5, false);
    auto const &log = Log()[child];
    std::vector<UINT> buttons = Messages(child, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL});
    std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_MOUSEWHEEL,
                                  WM_MOUSEWHEEL};
    EXPECT_EQ(buttons, expected) << "a quick second press is a double click";
    std::vector<short> wheel;
    for (Received const &r : log) {
        if (r.message == WM_LBUTTONDOWN) {
            EXPECT_EQ(GET_X_LPARAM(r.lparam), 50);
            EXPECT_EQ(GET_Y_LPARAM(r.lparam), 40);
        }
        if (r.message == WM_MOUSEWHEEL)
            wheel.push_back(GET_WHEEL_DELTA_WPARAM(r.wparam));
    }
    EXPECT_EQ(wheel, (std::vector<short>{120, -120}));

    XSetInputFocus(probe, top_id, RevertToParent, CurrentTime);
    session->Settle();
    SetFocus(child);
    session->Key(XK_Shift_L, true);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0) << "the server's key state";
    session->Key(XK_a, true);
    session->Key(XK_a, false);
    session->Key(XK_Shift_L, false);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
    session->Button(3, true);
    EXPECT_LT(GetAsyncKeyState(VK_RBUTTON), 0);
    session->Button(3, false);
    std::vector<WPARAM> keys;
    for (Received const &r : Log()[child])
        if (r.message == WM_KEYDOWN)
            keys.push_back(r.wparam);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_SHIFT, 'A'}));
}

TEST_F(X11DisplayTest, KeysKeepTheirPlaceAmongButtons)
{
    SetFocus(top);
    session->MoveTo(200, 200);
    Log()[top].clear();
    // All of it reaches the server before the application pumps once.
    XTestFakeButtonEvent(probe, 1, True, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Escape), True, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Escape), False, CurrentTime);
    XTestFakeButtonEvent(probe, 1, False, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Alt_L), True, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_x), True, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_x), False, CurrentTime);
    XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Alt_L), False, CurrentTime);
    session->Settle();
    std::vector<UINT> order = Messages(top, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN,
                                             WM_SYSKEYUP});
    std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_KEYDOWN,    WM_KEYUP,    WM_LBUTTONUP,
                                  WM_KEYDOWN,     WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYUP};
    EXPECT_EQ(order, expected) << "keys in the order they were pressed between the buttons";
    std::vector<WPARAM> keys;
    for (Received const &r : Log()[top])
        if (r.message != WM_MOUSEMOVE && r.message != WM_LBUTTONDOWN && r.message != WM_LBUTTONUP)
            keys.push_back(r.wparam);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_ESCAPE, VK_ESCAPE, VK_MENU, 'X', 'X', VK_MENU}));
}

TEST_F(X11DisplayTest, CaptureKeepsADragThatLeavesTheWindow)
{
    session->MoveTo(200, 200);
    session->Button(1, true);
    SetCapture(top);
    session->Button(1, false);
    session->MoveTo(700, 600);  // far outside, no button held
    ASSERT_FALSE(Log()[top].empty());
    Received const &last = Log()[top].back();
    EXPECT_EQ(last.message, static_cast<UINT>(WM_MOUSEMOVE)) << "the grab brings the move";
    EXPECT_EQ(GET_X_LPARAM(last.lparam), 600);
    EXPECT_EQ(GET_Y_LPARAM(last.lparam), 520);
    ReleaseCapture();
    Log()[top].clear();
    session->MoveTo(710, 610);
    EXPECT_TRUE(Messages(top, {WM_MOUSEMOVE}).empty()) << "released, outside moves go elsewhere";
}

TEST_F(X11DisplayTest, CursorsComeFromTheCursorImages)
{
    session->MoveTo(150, 150);
    auto current = [&] {
        XFixesCursorImage *image = XFixesGetCursorImage(probe);
        std::vector<unsigned long> result;
        if (image) {
            result = {image->width, image->height, image->xhot, image->yhot};
            XFree(image);
        }
        return result;
    };
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    session->Settle();
    std::vector<unsigned long> cross = current();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    session->Settle();
    EXPECT_NE(current(), cross) << "the shape follows SetCursor";

    // A cursor of the module's resources: an ARGB image with its hot spot.
    HCURSOR resource = LoadCursorA(AfxFindResourceHandle(MAKEINTRESOURCE(IDC_TESSIV_ROTATE), RT_GROUP_CURSOR),
                                   MAKEINTRESOURCE(IDC_TESSIV_ROTATE));
    std::vector<TessivCursorImage> images;
    ASSERT_TRUE(TessivGetCursorImages(resource, &images));
    ASSERT_FALSE(images.empty());
    SetCursor(resource);
    session->Settle();
    XFixesCursorImage *image = XFixesGetCursorImage(probe);
    ASSERT_NE(image, nullptr);
    bool matched = false;
    for (TessivCursorImage const &source : images)
        matched |= image->width == source.width && image->height == source.height &&
                   image->xhot == source.hot_spot.x && image->yhot == source.hot_spot.y;
    EXPECT_TRUE(matched) << "size and hot spot of one of the cursor's images";
    XFree(image);
}

TEST_F(X11DisplayTest, TheWindowManagersCloseAndDestroyReachThePlatform)
{
    session->CloseByManager(top_id);
    EXPECT_EQ(Messages(top, {WM_CLOSE}).size(), 1u);
    EXPECT_FALSE(IsWindow(top)) << "DefWindowProc destroys on WM_CLOSE";

    HWND other = CreateWindowExA(0, Class(), "x11 doomed", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND child = CreateWindowExA(0, Class(), "c", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, other, nullptr, nullptr, nullptr);
    session->Settle();
    ::Window id = session->FindTopLevel("x11 doomed");
    ASSERT_NE(id, 0u);
    XDestroyWindow(probe, id);
    session->Settle();
    EXPECT_FALSE(IsWindow(other)) << "a window the server destroyed is destroyed";
    EXPECT_FALSE(IsWindow(child));

    HWND moved = CreateWindowExA(0, Class(), "x11 moved", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    session->Settle();
    XMoveResizeWindow(probe, session->FindTopLevel("x11 moved"), 40, 30, 90, 70);
    session->Settle();
    RECT rect;
    GetWindowRect(moved, &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 90);
    EXPECT_EQ(rect.bottom - rect.top, 70);
    EXPECT_FALSE(Messages(moved, {WM_SIZE}).empty()) << "the server's geometry sends WM_SIZE";
    DestroyWindow(moved);
}

TEST(X11Backend, ADisplayThatGoesAwayQuitsTheHostWithATraceLine)
{
    SKIP_WITHOUT_X11();
    XvfbServer server;
    std::string why;
    if (!StartXvfb(&server, &why))
        GTEST_SKIP() << why;
    RoleProcess child;
    ASSERT_TRUE(child.Start("lose-display", {"DISPLAY=" + server.display}));
    std::string line;
    ASSERT_TRUE(child.ReadLine(&line, 20000));
    EXPECT_EQ(line, "window shown");
    kill(server.pid, SIGKILL);
    StopXvfb(&server);
    ASSERT_TRUE(child.ReadLine(&line, 20000)) << "the host's loop ends";
    EXPECT_EQ(line, "WM_QUIT 1 after: X11 display: the connection to the X display was lost; quitting");
    EXPECT_EQ(child.Wait(20000), 0);
}

TEST(X11Backend, NoDisplayIsReportedAndFallsBackToHeadless)
{
    RoleProcess child;
    ASSERT_TRUE(child.Start("no-display", {"DISPLAY=:9999", "TESSIV_BACKEND=x11"}));
    std::string line;
    ASSERT_TRUE(child.ReadLine(&line, 20000));
    EXPECT_EQ(line, "select 0, running headless, window 1, trace: X11 display: cannot open the X display \":9999\"")
        << "the call fails, the variable falls back, and the cause names the display";
    EXPECT_EQ(child.Wait(20000), 0);
}

}  // namespace

// The child of the test above: the x11 backend asked for where no server
// runs, first by the call, then by TESSIV_BACKEND.
int NoDisplayRole()
{
    static std::string trace;
    TessivSetDiagnosticSink([](char const *title, char const *text) {
        if (trace.empty())
            trace = std::string(title) + ": " + std::string(text).substr(0, std::strlen("cannot open the X display \":9999\""));
    });
    BOOL selected = TessivSelectDisplayBackend("x11");
    std::string name = TessivDisplayBackendName();
    HWND window = CreateWindowExA(0, Class(), "headless", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::printf("select %d, running %s, window %d, trace: %s\n", selected, name.c_str(), window ? 1 : 0,
                trace.c_str());
    std::fflush(stdout);
    return 0;
}

// The child of ADisplayThatGoesAwayQuitsTheHostWithATraceLine: a window on
// the given display and a message loop, until the display goes away.
int LoseDisplayRole()
{
    static std::string trace;
    TessivSetDiagnosticSink([](char const *title, char const *text) {
        if (std::strstr(text, "lost"))
            trace = std::string(title) + ": " + text;
    });
    if (!TessivSelectDisplayBackend("x11"))
        return 2;
    HWND window = CreateWindowExA(0, Class(), "x11 doomed display", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!window)
        return 3;
    UpdateWindow(window);
    std::printf("window shown\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    std::printf("WM_QUIT %d after: %s\n", static_cast<int>(msg.wParam), trace.c_str());
    std::fflush(stdout);
    DestroyWindow(window);  // on a dead display: nothing reaches the server, nothing crashes
    return 0;
}
