#include <tessiv/platform/headless.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// Every message a test window receives, in order, with its parameters.
struct Received {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<Received> journal;
LRESULT create_result = 0;
bool validate_on_paint = true;
bool capture_on_button_down = false;

LRESULT record_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    journal.push_back({window, message, wparam, lparam});
    if (message == WM_CREATE)
        return create_result;
    if (message == WM_LBUTTONDOWN && capture_on_button_down)
        SetCapture(window);
    if (message == WM_PAINT && !validate_on_paint)
        return 0;
    return DefWindowProcA(window, message, wparam, lparam);
}

class WinUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = [] {
            WNDCLASSA window_class{};
            window_class.lpfnWndProc = record_message;
            window_class.lpszClassName = "RecordingWindow";
            window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            return RegisterClassA(&window_class) != 0;
        }();
        ASSERT_TRUE(registered);
        journal.clear();
        create_result = 0;
        validate_on_paint = true;
        capture_on_button_down = false;
        TessivResetInput();
        MSG drain;
        while (PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    static HWND make(DWORD style, HWND parent, int x, int y, int w, int h, int id = 0)
    {
        return CreateWindowExA(0, "RecordingWindow", "t", style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
    }
    static std::vector<UINT> messages_of(HWND window)
    {
        std::vector<UINT> list;
        for (Received const &r : journal)
            if (r.window == window)
                list.push_back(r.message);
        return list;
    }
    // The mouse messages the journal holds, without WM_SETCURSOR.
    static std::vector<UINT> mouse_messages()
    {
        std::vector<UINT> list;
        for (Received const &r : journal)
            if (r.message >= WM_MOUSEFIRST && r.message <= WM_MOUSELAST)
                list.push_back(r.message);
        return list;
    }
    // Dispatches what the queue holds now.
    static void pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
};

TEST_F(WinUserTest, CreationSendsCreateSizeMoveAndShowsVisibleWindows)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 100, 50, 300, 200);
    ASSERT_TRUE(IsWindow(top));
    std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW};
    EXPECT_EQ(messages_of(top), expected);
    EXPECT_EQ(journal[2].lparam, MAKELPARAM(300, 200)) << "WM_SIZE carries the client size";
    EXPECT_TRUE(IsWindowVisible(top));

    create_result = -1;
    EXPECT_EQ(make(WS_OVERLAPPED, nullptr, 0, 0, 10, 10), nullptr) << "WM_CREATE -1 fails creation";
    create_result = 0;
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(make(WS_CHILD, nullptr, 0, 0, 1, 1), nullptr) << "a child needs a parent";
    DestroyWindow(top);
}

TEST_F(WinUserTest, TreeOrderIdsAndDestructionOrder)
{
    HWND top = make(WS_OVERLAPPED | WS_CLIPCHILDREN, nullptr, 0, 0, 400, 300);
    HWND a = make(WS_CHILD, top, 0, 0, 100, 100, 11);
    HWND b = make(WS_CHILD, top, 100, 0, 100, 100, 12);
    HWND grandchild = make(WS_CHILD, a, 0, 0, 10, 10, 13);
    EXPECT_EQ(GetParent(a), top);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a) << "children are added at the bottom of the z-order";
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetDlgItem(top, 12), b);
    EXPECT_EQ(GetDlgCtrlID(grandchild), 13);
    EXPECT_TRUE(IsChild(top, grandchild));

    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);

    journal.clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (Received const &r : journal)
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY)
            order.emplace_back(r.window, r.message);
    std::vector<std::pair<HWND, UINT>> expected{
        {top, WM_DESTROY}, {b, WM_DESTROY}, {b, WM_NCDESTROY}, {a, WM_DESTROY},
        {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(DestroyWindow(a)) << "a stale handle is refused";
    EXPECT_EQ(SendMessageA(a, WM_USER, 0, 0), 0);
}

TEST_F(WinUserTest, RectanglesAndCoordinateMapping)
{
    HWND top = make(WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, nullptr, 100, 50, 300, 200);
    RECT client, window;
    GetClientRect(top, &client);
    GetWindowRect(top, &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(client.right, 300 - 2 * 4);
    EXPECT_EQ(client.bottom, 200 - 2 * 4 - GetSystemMetrics(SM_CYCAPTION));
    HWND child = make(WS_CHILD, top, 10, 20, 50, 40);
    POINT p{5, 6};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 100 + 4 + 10 + 5);
    EXPECT_EQ(p.y, 50 + 4 + 23 + 20 + 6);
    ScreenToClient(child, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 6);

    journal.clear();
    MoveWindow(child, 0, 0, 70, 30, TRUE);
    std::vector<UINT> expected{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE};
    EXPECT_EQ(messages_of(child), expected);
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 70);

    ShowWindow(child, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(child));
    GetClientRect(child, &client);
    RECT parent_client;
    GetClientRect(top, &parent_client);
    EXPECT_EQ(client.right, parent_client.right) << "a maximized child fills its parent";
    ShowWindow(child, SW_RESTORE);
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 70);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_TRUE(TessivSetScreenSize(800, 600));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    TessivSetScreenSize(1920, 1080);
    DestroyWindow(top);
}

TEST_F(WinUserTest, RedrawWindowPaintsAndErasesOnlyWhatIsAsked)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, 0, 0, 200, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, top, 0, 0, 50, 50);
    UpdateWindow(top);
    UpdateWindow(child);
    journal.clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    std::vector<UINT> expected{WM_PAINT, WM_ERASEBKGND};
    EXPECT_EQ(messages_of(top), expected) << "BeginPaint erases inside WM_PAINT";
    EXPECT_TRUE(messages_of(child).empty()) << "WS_CLIPCHILDREN keeps children out";

    journal.clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(messages_of(child), std::vector<UINT>{WM_PAINT});

    journal.clear();
    InvalidateRect(top, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "painting validated the window";

    ShowWindow(top, SW_HIDE);
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "hidden windows are not painted";
    DestroyWindow(top);
}

TEST_F(WinUserTest, QueueDeliversPostedThenQuitThenPaint)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 0, 0, 20, 20);
    PostMessageA(top, WM_USER + 1, 7, 8);
    PostMessageA(top, WM_USER + 2, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u) << "the filter picks a later message";
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_EQ(msg.wParam, 7u);
    journal.clear();
    DispatchMessageA(&msg);
    EXPECT_EQ(messages_of(top), std::vector<UINT>{WM_USER + 1});
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0)) << "WM_QUIT ends the loop";
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_PAINT) << "the pending paint comes last";

    msg = MSG{top, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_TRUE(TranslateMessage(&msg));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
    DestroyWindow(top);
}

TEST_F(WinUserTest, EachThreadHasItsOwnQueueAndPostsWakeTheOwner)
{
    HWND top = make(WS_OVERLAPPED, nullptr, 0, 0, 20, 20);
    HWND other = make(WS_OVERLAPPED, nullptr, 0, 0, 20, 20);
    PostMessageA(other, WM_USER + 5, 0, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, top, 0, 0, PM_REMOVE)) << "the window filter skips other windows";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "PM_NOREMOVE left it queued";
    EXPECT_EQ(msg.hwnd, other);

    DWORD ui_thread = GetCurrentThreadId();
    bool worker_queue_empty = false;
    std::thread worker([&] {
        MSG none;
        worker_queue_empty = !PeekMessageA(&none, nullptr, 0, 0, PM_REMOVE);
        PostMessageA(top, WM_USER + 6, 42, 0);
        PostThreadMessageA(ui_thread, WM_USER + 7, 0, 0);
    });
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0)) << "blocks until the worker posts";
    EXPECT_EQ(msg.message, WM_USER + 6u);
    EXPECT_EQ(msg.hwnd, top);
    EXPECT_EQ(msg.wParam, 42u);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 7u);
    EXPECT_EQ(msg.hwnd, nullptr);
    worker.join();
    EXPECT_TRUE(worker_queue_empty) << "the worker's queue is its own";
    DestroyWindow(top);
    DestroyWindow(other);
}

TEST_F(WinUserTest, CaptureFocusAndCursorNotifyTheWindows)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 0, 0, 100, 100);
    HWND a = make(WS_CHILD | WS_VISIBLE, top, 0, 0, 50, 50);
    HWND b = make(WS_CHILD | WS_VISIBLE, top, 50, 0, 50, 50);
    journal.clear();
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(journal[1].window, a);
    EXPECT_EQ(journal[1].message, WM_KILLFOCUS);
    EXPECT_EQ(journal[1].wparam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(journal[2].message, WM_SETFOCUS);
    EXPECT_EQ(GetFocus(), b);

    SetCapture(a);
    journal.clear();
    SetCapture(b);
    EXPECT_EQ(messages_of(a), std::vector<UINT>{WM_CAPTURECHANGED});
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr) << "destruction drops the capture";

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_EQ(arrow, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(arrow, LoadCursorA(nullptr, IDC_CROSS));
    SetCursor(nullptr);
    SendMessageA(b, WM_SETCURSOR, reinterpret_cast<WPARAM>(b), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow) << "the default procedure shows the class cursor";
    DestroyWindow(top);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WinUserTest, MouseGestureArrivesAsARealWindowWouldSeeIt)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 200, 100, 100, 100);
    TessivSetKeyDown(VK_CONTROL, true);
    EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    journal.clear();
    POINT const path[] = {{10, 10}, {-5, 20}, {30, 40}};
    ASSERT_TRUE(TessivSendMouseGesture(top, TessivMouseButton::Left, path, 3));
    std::vector<Received> mouse;
    for (Received const &r : journal)
        if (r.message != WM_SETCURSOR)
            mouse.push_back(r);
    ASSERT_EQ(mouse.size(), 4u);
    EXPECT_EQ(mouse[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(mouse[0].wparam, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(mouse[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(mouse[1].lparam), -5) << "coordinates are signed words";
    EXPECT_EQ(mouse[3].message, WM_LBUTTONUP);
    EXPECT_EQ(mouse[3].wparam, MK_CONTROL) << "the button is up in its own up message";
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 230);
    EXPECT_EQ(cursor.y, 140);
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);

    // A window that captures on the press gets the drag outside itself, in
    // its own client coordinates, and no WM_SETCURSOR while it holds capture.
    HWND child = make(WS_CHILD | WS_VISIBLE, top, 50, 50, 20, 20);
    capture_on_button_down = true;
    journal.clear();
    POINT const outside[] = {{5, 5}, {-40, -40}};
    TessivSendMouseGesture(child, TessivMouseButton::Left, outside, 2);
    ASSERT_EQ(messages_of(child), (std::vector<UINT>{WM_SETCURSOR, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
    for (Received const &r : journal) {
        if (r.window == child && r.message == WM_MOUSEMOVE) {
            EXPECT_EQ(GET_X_LPARAM(r.lparam), -40);
        }
    }
    ReleaseCapture();
    capture_on_button_down = false;

    journal.clear();
    TessivSendMouseWheel(top, -WHEEL_DELTA, POINT{1, 2});
    ASSERT_EQ(messages_of(top).back(), WM_MOUSEWHEEL);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(journal.back().wparam), -WHEEL_DELTA);
    EXPECT_EQ(GET_X_LPARAM(journal.back().lparam), 201) << "wheel positions are screen coordinates";
    DestroyWindow(top);
}

TEST_F(WinUserTest, PostedInputWaitsInTheQueueForAModalLoop)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 100, 100, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, top, 10, 10, 20, 20);
    capture_on_button_down = true;
    journal.clear();
    POINT const path[] = {{5, 5}, {-30, 8}, {40, 2}};
    ASSERT_TRUE(TessivPostMouseGesture(child, TessivMouseButton::Left, path, 3));
    PostMessageA(top, WM_USER + 1, 0, 0);
    EXPECT_TRUE(journal.empty()) << "nothing is delivered before the queue is pumped";

    // A drag loop as the tool bar runs it: GetMessage until the button is up.
    std::vector<MSG> taken;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message != WM_PAINT)
            taken.push_back(msg);
        if (msg.message == WM_LBUTTONDOWN) {
            EXPECT_LT(GetKeyState(VK_LBUTTON), 0) << "the button is down while its press is handled";
            EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0) << "the hardware has seen the release already";
        }
        DispatchMessageA(&msg);
        if (msg.message == WM_LBUTTONUP)
            break;
    }
    ASSERT_EQ(taken.size(), 5u);
    EXPECT_EQ(taken[0].message, WM_USER + 1u) << "posted messages come before input";
    EXPECT_EQ(taken[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(taken[1].wParam, MK_LBUTTON);
    EXPECT_EQ(taken[1].pt.x, 100 + 10 + 5) << "the message carries the screen point";
    EXPECT_EQ(taken[2].hwnd, child) << "moves go to the window that captured on the press";
    EXPECT_EQ(GET_X_LPARAM(taken[2].lParam), -30);
    EXPECT_EQ(taken[4].message, WM_LBUTTONUP);
    EXPECT_EQ(taken[4].wParam, 0u);
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(messages_of(child).front(), WM_SETCURSOR) << "the press first sets the cursor";
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 150);
    ReleaseCapture();
    capture_on_button_down = false;

    // The synchronous path is still there, and filters see posted input.
    journal.clear();
    ASSERT_TRUE(TessivSendMouseMove(top, POINT{1, 1}));
    EXPECT_EQ(mouse_messages(), std::vector<UINT>{WM_MOUSEMOVE});
    ASSERT_TRUE(TessivPostMouseWheel(top, WHEEL_DELTA, POINT{2, 3}));
    EXPECT_FALSE(PeekMessageA(&msg, child, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        << "the wheel is top's, not child's";
    ASSERT_TRUE(PeekMessageA(&msg, top, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msg.wParam), WHEEL_DELTA);
    EXPECT_EQ(GET_X_LPARAM(msg.lParam), 102);

    // Input for a window destroyed before it is taken is dropped, and the
    // button does not stay down.
    ASSERT_TRUE(TessivPostMouseGesture(child, TessivMouseButton::Right, path, 1));
    DestroyWindow(child);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
    EXPECT_EQ(GetAsyncKeyState(VK_RBUTTON), 0);
    EXPECT_FALSE(TessivPostMouseMove(child, POINT{0, 0}));
    DestroyWindow(top);
}

TEST_F(WinUserTest, KeyStateMovesWithTakenInputAsyncStateWithPostedInput)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 100, 100, 100, 100);
    ASSERT_TRUE(TessivPostKey(top, VK_SHIFT, true));
    POINT const press{5, 5};
    ASSERT_TRUE(TessivPostMouseButton(top, TessivMouseButton::Right, true, press));
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_RBUTTON), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "not taken yet";
    EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "a look without removal changes nothing";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_RBUTTON), 0) << "the press is still queued";
    ASSERT_TRUE(TessivPostMouseButton(top, TessivMouseButton::Right, false, press));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    ASSERT_EQ(msg.message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MK_RBUTTON | MK_SHIFT)) << "flags as of the message";
    EXPECT_LT(GetKeyState(VK_RBUTTON), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_RBUTTON), 0);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);
    TessivResetInput();
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    DestroyWindow(top);
}

TEST_F(WinUserTest, DoubleClicksFollowTimeDistanceAndClassStyle)
{
    static bool registered = [] {
        WNDCLASSA window_class{};
        window_class.style = CS_DBLCLKS;
        window_class.lpfnWndProc = record_message;
        window_class.lpszClassName = "DoubleClickWindow";
        return RegisterClassA(&window_class) != 0;
    }();
    ASSERT_TRUE(registered);
    HWND target = CreateWindowExA(0, "DoubleClickWindow", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND plain = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 200, 0, 100, 100);
    auto click = [](HWND window, POINT point, TessivMouseButton button = TessivMouseButton::Left) {
        TessivSendMouseGesture(window, button, &point, 1);
    };
    using Messages = std::vector<UINT>;

    click(target, {10, 10});
    click(target, {12, 8});
    click(target, {12, 8});
    EXPECT_EQ(mouse_messages(), (Messages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                          WM_LBUTTONDOWN, WM_LBUTTONUP}))
        << "the double click replaces the second press and ends the sequence";
    for (Received const &r : journal) {
        if (r.message == WM_LBUTTONDBLCLK) {
            EXPECT_EQ(r.wparam, MK_LBUTTON) << "the double click carries the button";
            EXPECT_EQ(GET_X_LPARAM(r.lparam), 12);
        }
    }

    journal.clear();
    TessivResetInput();
    click(plain, {10, 10});
    click(plain, {10, 10});
    EXPECT_EQ(mouse_messages(), (Messages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}))
        << "a class without CS_DBLCLKS gets presses only";

    journal.clear();
    TessivResetInput();
    click(target, {10, 10});
    click(target, {13, 10});  // beyond half the SM_CXDOUBLECLK width
    click(target, {13, 10}, TessivMouseButton::Right);
    click(target, {13, 10}, TessivMouseButton::Right);
    EXPECT_EQ(mouse_messages(), (Messages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                          WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP}))
        << "too far apart, or another button, starts a new sequence";

    journal.clear();
    TessivResetInput();
    ASSERT_TRUE(SetDoubleClickTime(20));
    click(target, {10, 10});
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    click(target, {10, 10});
    EXPECT_EQ(mouse_messages(), (Messages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}))
        << "too late for the double-click time";
    SetDoubleClickTime(0);
    EXPECT_EQ(GetDoubleClickTime(), 500u);

    // The posted path decides the same way when the queue is pumped.
    journal.clear();
    TessivResetInput();
    POINT const at[] = {{50, 50}};
    TessivPostMouseGesture(target, TessivMouseButton::Middle, at, 1);
    TessivPostMouseGesture(target, TessivMouseButton::Middle, at, 1);
    pump();
    EXPECT_EQ(mouse_messages(), (Messages{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MBUTTONUP}));
    DestroyWindow(target);
    DestroyWindow(plain);
}

TEST_F(WinUserTest, MenusTrackAChosenCommandAndSystemMenusLoseItems)
{
    HWND top = make(WS_OVERLAPPED | WS_VISIBLE, nullptr, 0, 0, 50, 50);
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 101, "Rotate");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 102, "Pan");
    ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "View"));
    EXPECT_EQ(GetSubMenu(bar, 0), popup);
    EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu) << "a submenu item has no command";
    EXPECT_EQ(GetMenuItemID(popup, 2), 102u);
    EXPECT_EQ(EnableMenuItem(bar, 102, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED) << "commands are found in submenus";

    TessivSetPopupMenuChoice(101);
    ASSERT_TRUE(TrackPopupMenu(popup, TPM_RIGHTBUTTON, 300, 200, 0, top, nullptr));
    EXPECT_EQ(TessivLastPopupMenu().screen_point.x, 300);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, top, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 101u) << "the choice arrives as a posted command";
    EnableMenuItem(popup, 101, MF_BYCOMMAND | MF_DISABLED);
    TessivSetPopupMenuChoice(101);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, top, nullptr), 0) << "disabled items cannot be chosen";
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(popup)) << "destroying a menu destroys its submenus";

    HMENU system = GetSystemMenu(top, FALSE);
    ASSERT_EQ(GetMenuItemCount(system), 7);
    EXPECT_TRUE(DeleteMenu(system, 1, MF_BYPOSITION));
    EXPECT_EQ(EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_DISABLED), MF_ENABLED);
    EXPECT_TRUE(DeleteMenu(system, SC_CLOSE, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(top, FALSE)), 5) << "the window keeps its changed menu";
    EXPECT_EQ(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu);
    DestroyWindow(top);
    EXPECT_FALSE(IsMenu(system));
}

TEST_F(WinUserTest, ModuleFileNamesComeFromTheLoader)
{
    char name[4096];
    DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
    ASSERT_GT(length, 0u);
    EXPECT_NE(std::string(name).find("platform_tests"), std::string::npos);
    char tiny[5];
    EXPECT_EQ(GetModuleFileNameA(nullptr, tiny, sizeof tiny), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(tiny).size(), 4u) << "a truncated name is still terminated";

    HMODULE platform = TessivModuleFromAddress(reinterpret_cast<void const *>(&GetCursorPos));
    ASSERT_NE(platform, nullptr);
    GetModuleFileNameA(platform, name, sizeof name);
    EXPECT_NE(std::string(name).find("libtessiv_platform.so"), std::string::npos);
    EXPECT_EQ(LoadLibraryA("/nonexistent/libnothing.so"), nullptr);
}

}  // namespace
