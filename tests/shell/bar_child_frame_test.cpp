// CBarChildFrame: showing the bars in the main window, docking beside a bar,
// the even split, and the dock layout through the profile.
#include <tessiv/platform/cview.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/mdi_frame_wnd.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/status_bar.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/shell/bar_child_frame.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class PaneView : public CView {
    DECLARE_DYNCREATE(PaneView)

public:
    void OnDraw(CDC *) override {}
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// What a host's derived frame does: fills the lists and makes the splitter.
class TestChildFrame : public CBarChildFrame {
public:
    using CBarChildFrame::m_arrOtherBars;
    using CBarChildFrame::m_arrToolBars;
    using CBarChildFrame::m_pMainFrame;
    using CBarChildFrame::m_wndSplitter;

    bool MakeSplitter()
    {
        if (!m_wndSplitter.Create(this, RUNTIME_CLASS(PaneView), RUNTIME_CLASS(PaneView), nullptr, true,
                                  AFX_IDW_PANE_FIRST))
            return false;
        RecalcLayout();
        return true;
    }
};

char *Owned(char const *text) { return std::strcpy(static_cast<char *>(std::malloc(std::strlen(text) + 1)), text); }

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

std::string ReadFile(fs::path const &path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class BarChildFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        app = AfxGetApp();
        ASSERT_NE(app, nullptr);
        profile = fs::temp_directory_path() / ("bar_child_frame_" + std::to_string(::getpid()) + ".ini");
        fs::remove(profile);
        saved_profile_name = app->m_pszProfileName;
        app->m_pszProfileName = Owned(profile.c_str());
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->Create(nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(100, 100, 900, 700)));
        main->ShowWindow(SW_SHOW);
        main->EnableDocking(CBRS_ALIGN_ANY);
        saved_main = app->m_pMainWnd;
        app->m_pMainWnd = main;
        child = new TestChildFrame;
        ASSERT_TRUE(child->Create(nullptr, "document", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, main));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(bars[i].CreateEx(main, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0),
                                         kFirstBarId + i));
            UINT const buttons[] = {1000u + i, 1010u + i};
            bars[i].SetButtons(buttons, 2);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
            main->DockControlBar(&bars[i]);
            child->m_arrToolBars.push_back(&bars[i]);
        }
        ASSERT_TRUE(status.Create(main));
        child->m_arrOtherBars.push_back(&status);
        main->RecalcLayout();
    }
    void TearDown() override
    {
        if (main)
            main->DestroyWindow();
        Pump();
        app->m_pMainWnd = saved_main;
        std::free(const_cast<char *>(app->m_pszProfileName));
        app->m_pszProfileName = saved_profile_name;
        fs::remove(profile);
    }
    CRect WindowRect(CWnd const &window)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        return rect;
    }

    static constexpr UINT kFirstBarId = 0xE810;
    CWinApp *app = nullptr;
    fs::path profile;
    LPCTSTR saved_profile_name = nullptr;
    CWnd *saved_main = nullptr;
    CMDIFrameWnd *main = nullptr;
    TestChildFrame *child = nullptr;
    CMyToolBar bars[3];
    CStatusBar status;
};

TEST_F(BarChildFrameTest, ShowBarsKeepsABarTheUserClosedHidden)
{
    EXPECT_EQ(child->m_pMainFrame, main) << "the main window is taken at construction";
    main->ShowControlBar(&bars[1], FALSE, FALSE);
    child->SaveToolbarStatus();
    EXPECT_TRUE(bars[0].m_bShown);
    EXPECT_FALSE(bars[1].m_bShown);

    EXPECT_EQ(child->ShowBars(FALSE, FALSE), 0);
    for (CMyToolBar &bar : bars)
        EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_FALSE(status.GetStyle() & WS_VISIBLE) << "the other bars are hidden too";

    EXPECT_EQ(child->ShowBars(TRUE, TRUE), 0);
    EXPECT_TRUE(bars[0].GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(bars[1].GetStyle() & WS_VISIBLE) << "a bar the user closed stays closed";
    EXPECT_TRUE(bars[2].GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(status.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(main->m_nIdleFlags & CFrameWnd::idleLayout) << "with the delay the layout waits for idle time";
}

TEST_F(BarChildFrameTest, GetControlBarSearchesOnlyTheToolBars)
{
    EXPECT_EQ(child->GetControlBar(kFirstBarId + 2), &bars[2]);
    EXPECT_EQ(child->GetControlBar(AFX_IDW_STATUS_BAR), nullptr) << "other bars are not searched";
    EXPECT_EQ(child->GetControlBar(0x1234), nullptr);
    bars[0].SetDlgCtrlID(0);
    EXPECT_EQ(child->GetControlBar(0), nullptr) << "0 names no bar, even one whose ID is 0";
}

TEST_F(BarChildFrameTest, DockControlBarLeftOfJoinsTheRowOfABarAtTheBottom)
{
    child->EnableDocking(CBRS_ALIGN_ANY);
    CMyToolBar left_of, bar;
    ASSERT_TRUE(left_of.CreateEx(child, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, CRect(0, 0, 0, 0), 0xE820));
    ASSERT_TRUE(bar.CreateEx(child, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE821));
    UINT const buttons[] = {2000, 2001, 2002};
    left_of.SetButtons(buttons, 3);
    bar.SetButtons(buttons, 2);
    left_of.EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    child->DockControlBar(&left_of, AFX_IDW_DOCKBAR_BOTTOM);
    child->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(left_of.GetBarStyle() & CBRS_ALIGN_BOTTOM);

    child->DockControlBarLeftOf(&bar, &left_of);
    CDockBar *bottom = child->DockBarFromID(AFX_IDW_DOCKBAR_BOTTOM);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(bar.m_pDockBar, bottom) << "the dock bar of leftOf's edge";
    CRect left_rect = WindowRect(left_of), bar_rect = WindowRect(bar);
    EXPECT_EQ(bar_rect.top, left_rect.top) << "in leftOf's row";
    EXPECT_GE(bar_rect.left, left_rect.right) << "right of leftOf";
    bar.DestroyWindow();
    left_of.DestroyWindow();
}

TEST_F(BarChildFrameTest, ResizeSplitterHalvesTheClientWithRowZerosMinimum)
{
    child->ResizeSplitter();  // no splitter window yet: nothing happens
    ASSERT_TRUE(child->MakeSplitter());
    ST_SplitterWnd &splitter = child->m_wndSplitter;
    splitter.SetColumnInfo(0, 50, 37);
    splitter.SetRowInfo(0, 80, 5);
    splitter.RecalcLayout();

    child->ResizeSplitter();
    CRect client;
    child->GetClientRect(&client);
    int current = 0, minimum = 0;
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, (client.Width() - splitter.GetCxSplitter()) / 2);
    EXPECT_EQ(minimum, 5) << "the column takes row 0's minimum";

    // With one side hidden the splitter has one pane: nothing changes.
    splitter.ToggleSide(0);
    ASSERT_EQ(splitter.GetColumnCount(), 1);
    splitter.SetColumnInfo(0, 120, 9);
    splitter.RecalcLayout();
    int before = 0;
    splitter.GetColumnInfo(0, before, minimum);
    child->ResizeSplitter();
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, before);
    EXPECT_EQ(minimum, 9);
}

TEST_F(BarChildFrameTest, BarStateRestoresAFloatingBarAtItsPlace)
{
    main->FloatControlBar(&bars[1], CPoint(300, 250));
    ASSERT_TRUE(bars[1].IsFloating());
    CWnd *floating = bars[1].GetParentFrame();
    ASSERT_NE(floating, nullptr);
    CRect floating_rect = WindowRect(*floating);

    HINSTANCE resources = AfxGetResourceHandle();
    child->SaveBarState("Layout");
    std::string saved = ReadFile(profile);
    ASSERT_NE(saved.find("[Layout-Summary]"), std::string::npos);

    // Dock the bar again, then let the stored layout float it back.
    main->DockControlBar(&bars[1], AFX_IDW_DOCKBAR_TOP);
    ASSERT_FALSE(bars[1].IsFloating());
    child->LoadBarState("Layout");
    EXPECT_EQ(AfxGetResourceHandle(), resources) << "the resource handle comes back";
    ASSERT_TRUE(bars[1].IsFloating());
    CWnd *restored = bars[1].GetParentFrame();
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(restored->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(WindowRect(*restored).TopLeft(), floating_rect.TopLeft());
    EXPECT_FALSE(bars[0].IsFloating());
    EXPECT_TRUE(child->m_nIdleFlags & CFrameWnd::idleLayout);

    child->SaveBarState("Layout");
    saved = ReadFile(profile);
    child->LoadBarState("Layout");
    child->SaveBarState("Layout");
    EXPECT_EQ(ReadFile(profile), saved) << "saving what was loaded writes the same text";
}

TEST_F(BarChildFrameTest, AStateNamingUnknownBarsTouchesOnlyKnownOnes)
{
    CDockState state;
    auto *unknown = new CControlBarInfo;
    unknown->m_nBarID = 0x4321;
    unknown->m_bVisible = FALSE;
    auto *unknown_floating = new CControlBarInfo;
    unknown_floating->m_nBarID = 0x4322;
    unknown_floating->m_bFloating = TRUE;
    unknown_floating->m_bVisible = TRUE;
    unknown_floating->m_pointPos = CPoint(40, 40);
    auto *known = new CControlBarInfo;
    known->m_nBarID = kFirstBarId + 2;
    known->m_bVisible = FALSE;
    state.m_arrBarInfo.Add(unknown);
    state.m_arrBarInfo.Add(unknown_floating);
    state.m_arrBarInfo.Add(known);
    state.SaveState("Foreign");

    child->LoadBarState("Foreign");
    EXPECT_TRUE(bars[0].GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(bars[1].GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(bars[2].GetStyle() & WS_VISIBLE) << "the known bar follows its record";
    for (CMyToolBar &bar : bars)
        EXPECT_FALSE(bar.IsFloating());
}

TEST_F(BarChildFrameTest, DestroyingTheFrameWritesTheSplitterLayout)
{
    ASSERT_TRUE(child->MakeSplitter());
    child->m_wndSplitter.SetInitialStatus();
    child->DestroyWindow();
    Pump();
    EXPECT_NE(app->GetProfileString("SplitterWnd", "Panes_0", "missing"), CString("missing"));
}

}  // namespace
