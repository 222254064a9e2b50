#include <tessiv/platform/cmd_target.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/headless.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// What the test windows saw, in order: "Class.Handler(args)" for handlers,
// "default(message)" for the default processing reached.
std::vector<std::string> events;

std::string point_text(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

class BaseWnd : public CWnd {
public:
    afx_msg void OnLButtonDown(UINT flags, CPoint point)
    {
        events.push_back("Base.OnLButtonDown(" + std::to_string(flags) + "," + point_text(point) + ")");
    }
    afx_msg void OnMouseMove(UINT flags, CPoint point)
    {
        events.push_back("Base.OnMouseMove(" + std::to_string(flags) + "," + point_text(point) + ")");
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        events.push_back("Base.OnSize(" + std::to_string(type) + "," + std::to_string(cx) + "," + std::to_string(cy) + ")");
    }
    afx_msg void OnEdit() { events.push_back("Base.OnEdit"); }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        events.push_back("default(" + std::to_string(message) + ")");
        return CWnd::DefWindowProc(message, wParam, lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SIZE()
    ON_COMMAND(100, OnEdit)
    ON_COMMAND(101, OnEdit)
END_MESSAGE_MAP()

constexpr UINT WM_NESTED = WM_USER + 1;

class DerivedWnd : public BaseWnd {
public:
    bool nest_on_click = false;
    bool destroy_on_click = false;
    LRESULT default_result = -1;

    afx_msg void OnLButtonDown(UINT flags, CPoint point)
    {
        events.push_back("Derived.OnLButtonDown(" + std::to_string(flags) + "," + point_text(point) + ")");
        if (nest_on_click)
            SendMessage(WM_NESTED, 7, 8);
        if (destroy_on_click) {
            DestroyWindow();
            return;
        }
        Default();
    }
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point)
    {
        events.push_back("Derived.OnMouseWheel(" + std::to_string(flags) + "," + std::to_string(delta) + "," +
                         point_text(point) + ")");
        return 5;
    }
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags)
    {
        events.push_back("Derived.OnKeyDown(" + std::to_string(key) + "," + std::to_string(repeat) + "," +
                         std::to_string(flags) + ")");
    }
    afx_msg void OnSetFocus(CWnd *old)
    {
        events.push_back(std::string("Derived.OnSetFocus(") + (old ? "window" : "null") + ")");
    }
    afx_msg LRESULT OnNested(WPARAM w, LPARAM l)
    {
        events.push_back("Derived.OnNested(" + std::to_string(w) + "," + std::to_string(l) + ")");
        Default();
        return 0;
    }
    afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM)
    {
        default_result = Default();
        return default_result + 1000;
    }
    afx_msg void OnWindowPosChanged(WINDOWPOS *position)
    {
        events.push_back("Derived.OnWindowPosChanged(" + std::to_string(position->cx) + ")");
        Default();
    }
    afx_msg void OnRange(UINT id) { events.push_back("Derived.OnRange(" + std::to_string(id) + ")"); }
    afx_msg void OnEditOverride() { events.push_back("Derived.OnEdit"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_WINDOWPOSCHANGED()
    ON_MESSAGE(WM_NESTED, OnNested)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_COMMAND(101, OnEditOverride)
    ON_COMMAND_RANGE(200, 209, OnRange)
END_MESSAGE_MAP()

// Deletes itself when its window goes, as views and frames do.
int self_deleting_alive = 0;
class SelfDeletingWnd : public DerivedWnd {
public:
    SelfDeletingWnd() { ++self_deleting_alive; }
    ~SelfDeletingWnd() override { --self_deleting_alive; }

protected:
    void PostNcDestroy() override { delete this; }
};

// Clicks its own window from the destructor, when only the BaseWnd part of
// the object is left to handle it.
class ClickingOnTeardownWnd : public BaseWnd {
public:
    ~ClickingOnTeardownWnd() override { SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(9, 9)); }
};

class TornDownWnd : public ClickingOnTeardownWnd {
public:
    afx_msg void OnLButtonDown(UINT, CPoint point)
    {
        events.push_back("TornDown.OnLButtonDown(" + point_text(point) + ")");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TornDownWnd, ClickingOnTeardownWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// Classes that route messages themselves: every message must pass through
// their overrides, however often the same message comes.
class InterceptingWnd : public BaseWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE)
            events.push_back("Intercepting.WindowProc");
        return BaseWnd::WindowProc(message, wParam, lParam);
    }
};

class FilteringWnd : public BaseWnd {
public:
    int clicks_let_through = 1;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override
    {
        if (message == WM_LBUTTONDOWN && clicks_let_through-- <= 0) {
            events.push_back("Filtering.swallowed");
            *pResult = 0;
            return TRUE;
        }
        return BaseWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
};

// A window whose CWnd part is not at the start of the object.
struct Payload {
    virtual ~Payload() = default;
    int value = 7;
};

class SecondBaseWnd : public Payload, public DerivedWnd {};

class SecondBaseInterceptingWnd : public Payload, public InterceptingWnd {};

class RefusingWnd : public CWnd {
public:
    static inline int post_nc_destroy_calls = 0;
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }

protected:
    void PostNcDestroy() override { ++post_nc_destroy_calls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RefusingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class StyledWnd : public CWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT &cs) override
    {
        cs.style |= WS_CLIPCHILDREN;
        cs.lpszClass = AfxRegisterWndClass(CS_OWNDC | CS_DBLCLKS);
        return CWnd::PreCreateWindow(cs);
    }
};

LRESULT plain_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_USER)
        events.push_back("plain(WM_USER)");
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND make_plain_window()
{
    static bool registered = [] {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = plain_procedure;
        window_class.lpszClassName = "CWndTestPlain";
        return RegisterClassA(&window_class) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "CWndTestPlain", "plain", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                           nullptr);
}

class CWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        TessivResetInput();
    }
    void TearDown() override { CWnd::DeleteTempMap(); }
};

TEST_F(CWndTest, DerivedEntryWinsAndTheRestReachesTheBase)
{
    DerivedWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    EXPECT_NE(std::find(events.begin(), events.end(), "Base.OnSize(0,300,200)"), events.end())
        << "creation's WM_SIZE reaches the base handler";

    events.clear();
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 4));
    window.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(10, -20));
    window.SendMessage(WM_USER + 50, 0, 0);
    std::vector<std::string> expected{"Derived.OnLButtonDown(1,-3,4)", "default(513)",
                                      "Base.OnMouseMove(2,10,-20)", "default(1074)"};
    EXPECT_EQ(events, expected);

    events.clear();
    window.SendMessage(WM_COMMAND, 100);
    window.SendMessage(WM_COMMAND, 101);
    window.SendMessage(WM_COMMAND, 205);
    window.SendMessage(WM_COMMAND, 210);
    expected = {"Base.OnEdit", "Derived.OnEdit", "Derived.OnRange(205)", "default(273)"};
    EXPECT_EQ(events, expected) << "a command range covers its ends only; unknown commands go to the default";
}

TEST_F(CWndTest, RepeatedMessagesFollowTheObjectsClassWhileItIsTornDown)
{
    {
        TornDownWnd window;
        ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
        events.clear();
        window.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
        window.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    }
    std::vector<std::string> expected{"TornDown.OnLButtonDown(1,1)", "TornDown.OnLButtonDown(2,2)",
                                      "Base.OnLButtonDown(0,9,9)"};
    EXPECT_EQ(events, expected) << "once the derived part is gone, its entry no longer handles the message";
}

TEST_F(CWndTest, RunsOfOneMessageToAlternatingWindowsReachEachWindowsOwnEntries)
{
    BaseWnd base;
    DerivedWnd derived;
    ASSERT_TRUE(base.CreateEx(0, nullptr, "b", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(derived.CreateEx(0, nullptr, "d", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    events.clear();
    for (int i = 0; i < 2; ++i) {
        base.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(i, 0));
        derived.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(i, 1));
        derived.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(i, 2));
        derived.SendMessage(WM_USER + 60);
        derived.SendMessage(WM_COMMAND, 101);
    }
    std::vector<std::string> expected;
    for (int i = 0; i < 2; ++i) {
        std::string x = std::to_string(i);
        expected.insert(expected.end(), {"Base.OnLButtonDown(0," + x + ",0)", "Derived.OnLButtonDown(0," + x + ",1)",
                                         "default(513)", "Derived.OnLButtonDown(0," + x + ",2)", "default(513)",
                                         "default(" + std::to_string(WM_USER + 60) + ")", "Derived.OnEdit"});
    }
    EXPECT_EQ(events, expected);
}

TEST_F(CWndTest, OverridesOfWindowProcAndOnWndMsgSeeEveryRepeatedMessage)
{
    InterceptingWnd intercepting;
    FilteringWnd filtering;
    SecondBaseWnd second_base;
    SecondBaseInterceptingWnd second_base_intercepting;
    for (CWnd *window : std::initializer_list<CWnd *>{&intercepting, &filtering, &second_base, &second_base_intercepting})
        ASSERT_TRUE(window->CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    events.clear();
    for (int i = 0; i < 3; ++i)
        intercepting.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(i, 0));
    for (int i = 0; i < 3; ++i)
        filtering.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(i, 1));
    for (int i = 0; i < 2; ++i) {
        second_base.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(i, 2));
        second_base_intercepting.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(i, 3));
    }
    std::vector<std::string> expected{
        "Intercepting.WindowProc", "Base.OnMouseMove(0,0,0)", "Intercepting.WindowProc", "Base.OnMouseMove(0,1,0)",
        "Intercepting.WindowProc", "Base.OnMouseMove(0,2,0)", "Base.OnLButtonDown(0,0,1)", "Filtering.swallowed",
        "Filtering.swallowed", "Derived.OnLButtonDown(0,0,2)", "default(513)", "Intercepting.WindowProc",
        "Base.OnMouseMove(0,0,3)", "Derived.OnLButtonDown(0,1,2)", "default(513)", "Intercepting.WindowProc",
        "Base.OnMouseMove(0,1,3)"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(second_base.value, 7);
}

TEST_F(CWndTest, HandlersReceiveTheUnpackedParametersAndReturnTheirResults)
{
    DerivedWnd window, other;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(other.CreateEx(0, nullptr, "o", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    events.clear();
    WPARAM wheel = MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240));
    EXPECT_EQ(window.SendMessage(WM_MOUSEWHEEL, wheel, MAKELPARAM(-1, 600)), 5);
    window.SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(3, 0x1E));
    window.SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(other.m_hWnd), 0);
    window.SendMessage(WM_SETFOCUS, 0, 0);
    std::vector<std::string> expected{"Derived.OnMouseWheel(8,-240,-1,600)", "Derived.OnKeyDown(65,3,30)",
                                      "Derived.OnSetFocus(window)", "Derived.OnSetFocus(null)"};
    EXPECT_EQ(events, expected);

    events.clear();
    window.SetWindowPos(nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER);
    expected = {"default(70)", "Derived.OnWindowPosChanged(120)", "default(71)", "Base.OnSize(0,120,90)"};
    EXPECT_EQ(events, expected) << "the default processing of the change sends WM_SIZE";
}

TEST_F(CWndTest, DefaultRunsTheDefaultProcessingOfTheMessageBeingHandled)
{
    DerivedWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "seven", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(::GetWindowTextLengthA(window.m_hWnd), 1005) << "the handler's result is returned";
    EXPECT_EQ(window.default_result, 5) << "Default() gave the default result for WM_GETTEXTLENGTH";

    events.clear();
    EXPECT_EQ(window.Default(), 0) << "outside any handler";
    EXPECT_TRUE(events.empty()) << "outside a handler Default() reaches no default processing";

    // Re-entrant: a nested message is handled and defaulted, then the outer
    // handler's Default() still processes the outer message.
    window.nest_on_click = true;
    window.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(1, 2));
    std::vector<std::string> expected{"Derived.OnLButtonDown(0,1,2)", "Derived.OnNested(7,8)",
                                      "default(" + std::to_string(WM_NESTED) + ")",
                                      "default(" + std::to_string(WM_LBUTTONDOWN) + ")"};
    EXPECT_EQ(events, expected);
}

TEST_F(CWndTest, DestroyedWindowsAndSelfDestroyingHandlersAreSafe)
{
    // A handler destroys its own window and its object deletes itself.
    auto *doomed = new SelfDeletingWnd;
    ASSERT_TRUE(doomed->CreateEx(0, nullptr, "d", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    HWND handle = doomed->m_hWnd;
    doomed->destroy_on_click = true;
    EXPECT_EQ(::SendMessageA(handle, WM_LBUTTONDOWN, 0, 0), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(self_deleting_alive, 0) << "PostNcDestroy deleted the object";
    EXPECT_EQ(::SendMessageA(handle, WM_LBUTTONDOWN, 0, 0), 0) << "a message to a destroyed window";
    EXPECT_EQ(CWnd::FromHandle(handle), nullptr) << "a stale handle has no object";

    // A kept object is detached when its window goes.
    DerivedWnd kept;
    ASSERT_TRUE(kept.CreateEx(0, nullptr, "k", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    handle = kept.m_hWnd;
    EXPECT_TRUE(::DestroyWindow(handle));
    EXPECT_EQ(kept.m_hWnd, nullptr);
    EXPECT_EQ(kept.SendMessage(WM_LBUTTONDOWN), 0);
    EXPECT_FALSE(kept.DestroyWindow());
    EXPECT_EQ(kept.Default(), 0);

    // A window refused at WM_CREATE fails creation and ends in PostNcDestroy.
    RefusingWnd refused;
    RefusingWnd::post_nc_destroy_calls = 0;
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "r", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(RefusingWnd::post_nc_destroy_calls, 1);

    // An object that goes first takes its window with it.
    auto *first = new DerivedWnd;
    ASSERT_TRUE(first->CreateEx(0, nullptr, "f", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    handle = first->m_hWnd;
    delete first;
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(CWndTest, ForeignHandlesGetTemporaryObjectsUntilTheTempMapIsDropped)
{
    HWND plain = make_plain_window();
    ASSERT_TRUE(plain);
    CWnd *wrapper = CWnd::FromHandle(plain);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), wrapper) << "one temporary per handle";
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(CWnd::FromHandle(reinterpret_cast<HWND>(0x7FFF0000)), nullptr) << "never a window";
    wrapper->SendMessage(WM_USER);
    EXPECT_EQ(events, std::vector<std::string>{"plain(WM_USER)"}) << "the temporary does not intercept";
    EXPECT_FALSE(wrapper->Attach(plain)) << "a temporary cannot become permanent";

    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(plain)) << "dropping a temporary leaves the window alone";

    // Subclassing routes the plain window's messages through a map; the old
    // procedure becomes the default processing.
    DerivedWnd subclass;
    ASSERT_TRUE(subclass.SubclassWindow(plain));
    EXPECT_EQ(CWnd::FromHandle(plain), &subclass);
    events.clear();
    ::SendMessageA(plain, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageA(plain, WM_USER, 0, 0);
    std::vector<std::string> expected{"Derived.OnLButtonDown(0,0,0)", "default(513)", "default(1024)",
                                      "plain(WM_USER)"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(subclass.UnsubclassWindow(), plain);
    events.clear();
    ::SendMessageA(plain, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(events.empty());

    DestroyWindow(plain);
    EXPECT_EQ(CWnd::FromHandle(plain), nullptr);
}

TEST_F(CWndTest, CreationAppliesPreCreateWindowAndRegisteredClasses)
{
    StyledWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_TRUE(parent.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ(GetClassLongPtrA(parent.m_hWnd, GCL_STYLE), CS_OWNDC | CS_DBLCLKS);
    EXPECT_STREQ(AfxRegisterWndClass(CS_OWNDC | CS_DBLCLKS), AfxRegisterWndClass(CS_OWNDC | CS_DBLCLKS));
    EXPECT_STRNE(AfxRegisterWndClass(CS_OWNDC | CS_DBLCLKS), AfxRegisterWndClass(CS_OWNDC));

    DerivedWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_VISIBLE, CRect(10, 20, 60, 50), &parent, 42));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD) << "Create makes a child";
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(child.GetDlgCtrlID(), 42);
    EXPECT_EQ(parent.GetDlgItem(42), &child);
    EXPECT_EQ(parent.GetDescendantWindow(42, TRUE), &child);
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 50, 30));
    EXPECT_FALSE(child.Create(nullptr, "again", 0, CRect(), &parent, 43)) << "one window per object";

    CWnd unparented;
    EXPECT_FALSE(unparented.Create(nullptr, "orphan", 0, CRect(0, 0, 5, 5), nullptr, 1))
        << "a child window needs a parent";
    EXPECT_EQ(unparented.m_hWnd, nullptr);
}

}  // namespace
