#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>
#include <tessiv/platform/tool_bar.h>
#include <tessiv/platform/win_app.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A frame with dock bars on every edge and two docked tool bars, and an
// application whose profile lives in a fresh file.
class DockStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile = fs::temp_directory_path() / ("dock_state_" + std::to_string(::getpid()) + ".ini");
        fs::remove(profile);
        std::free(const_cast<char *>(app.m_pszProfileName));
        app.m_pszProfileName = strdup(profile.c_str());

        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 900, 700)));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        UINT const ids[] = {1, 2, 3};
        for (CToolBar *bar : {&first, &second}) {
            ASSERT_TRUE(bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, bar == &first ? 101 : 102));
            bar->SetButtons(ids, 3);
            bar->EnableDocking(CBRS_ALIGN_ANY);
            frame->DockControlBar(bar);
        }
    }
    void TearDown() override
    {
        first.DestroyWindow();
        second.DestroyWindow();
        frame->DestroyWindow();
        fs::remove(profile);
    }
    std::string ProfileText() const
    {
        std::ifstream in(profile);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static CPoint FloatingClientOrigin(CControlBar &bar)
    {
        CPoint origin(0, 0);
        bar.m_pDockBar->GetParent()->ClientToScreen(&origin);
        return origin;
    }

    CWinApp app{"DockStateTest"};
    fs::path profile;
    CFrameWnd *frame = nullptr;
    CToolBar first, second;
};

TEST_F(DockStateTest, DockingPlacesBarsInRowsOfTheirDockBar)
{
    CDockBar *top = frame->DockBarFromID(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(first.m_pDockBar, top);
    EXPECT_EQ(first.GetParent()->m_hWnd, top->m_hWnd);
    EXPECT_FALSE(first.IsFloating());
    CRect a, b;
    first.GetWindowRect(&a);
    second.GetWindowRect(&b);
    EXPECT_EQ(b.top, a.bottom) << "a bar docked without a rectangle starts a new row";

    // Dropped just right of the first bar, the second joins its row.
    CRect drop = a;
    drop.OffsetRect(a.Width() + 1, 0);
    frame->DockControlBar(&second, AFX_IDW_DOCKBAR_TOP, &drop);
    second.GetWindowRect(&b);
    EXPECT_EQ(b.top, a.top);
    EXPECT_EQ(b.left, a.right + 1);
    EXPECT_EQ(frame->GetControlBar(102), &second);
    EXPECT_EQ(frame->GetControlBar(0), nullptr);

    // Left dock bar: vertical layout, and the top row shrinks back.
    frame->DockControlBar(&second, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(second.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_LEFT);
    second.GetWindowRect(&b);
    EXPECT_GT(b.Height(), b.Width());
    CRect top_rect;
    top->GetWindowRect(&top_rect);
    EXPECT_EQ(top_rect.Height(), a.Height());

    // Hidden bars give up their space at the next layout.
    frame->ShowControlBar(&first, FALSE, TRUE);
    EXPECT_FALSE(first.IsVisible());
    EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout) << "the layout waits for idle time";
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(frame->m_nIdleFlags & CFrameWnd::idleLayout, 0u);
    top->GetWindowRect(&top_rect);
    EXPECT_EQ(top_rect.Height(), 0);
}

TEST_F(DockStateTest, AFloatingBarIsRestoredWhereItFloatedAndTheTextRoundTrips)
{
    frame->FloatControlBar(&second, CPoint(300, 250));
    ASSERT_TRUE(second.IsFloating());
    CWnd *floating = second.m_pDockBar->GetParent();
    HWND floating_handle = floating->m_hWnd;
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_EQ(second.m_pDockBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_FLOAT));
    CRect window;
    floating->GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(300, 250));
    CPoint floated_at = FloatingClientOrigin(second);
    CRect docked_at;
    first.GetWindowRect(&docked_at);

    frame->SaveBarState("Layout");
    std::string saved = ProfileText();
    EXPECT_NE(saved.find("[Layout-Summary]"), std::string::npos);

    // Change everything, then load.
    frame->DockControlBar(&second, AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_FALSE(IsWindow(floating_handle)) << "an emptied floating frame goes away";
    frame->DockControlBar(&first, AFX_IDW_DOCKBAR_RIGHT);
    frame->ShowControlBar(&first, FALSE, FALSE);
    frame->LoadBarState("Layout");
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);

    ASSERT_TRUE(second.IsFloating());
    EXPECT_EQ(FloatingClientOrigin(second), floated_at);
    EXPECT_TRUE(second.m_pDockBar->GetParent()->IsWindowVisible());
    EXPECT_TRUE(first.IsVisible());
    EXPECT_EQ(first.m_pDockBar, frame->DockBarFromID(AFX_IDW_DOCKBAR_TOP));
    CRect restored;
    first.GetWindowRect(&restored);
    EXPECT_EQ(restored, docked_at);

    frame->SaveBarState("Layout");
    EXPECT_EQ(ProfileText(), saved) << "saving what was loaded writes the same text";
}

TEST_F(DockStateTest, BarsTheFrameDoesNotHoldAndDamagedEntriesAreIgnored)
{
    frame->SaveBarState("Layout");
    std::string saved = ProfileText();
    // A longer layout: a floating bar 999 and a docked bar 998 nobody holds,
    // and a damaged rectangle and count.
    app.WriteProfileInt("Layout-Summary", "Bars", 4);
    app.WriteProfileInt("Layout-Bar2", "BarID", 999);
    app.WriteProfileInt("Layout-Bar2", "Floating", 1);
    app.WriteProfileInt("Layout-Bar2", "Visible", 1);
    app.WriteProfileInt("Layout-Bar3", "BarID", 998);
    app.WriteProfileString("Layout-Bar1", "MRUDockRect", "1 2 3");
    app.WriteProfileString("Layout-Bar1", "Bars", "lots");

    CDockState state;
    state.LoadState("Layout");
    ASSERT_EQ(state.m_arrBarInfo.GetSize(), 4);
    EXPECT_EQ(state.m_arrBarInfo[1]->m_rectMRUDockPos, CRect(0, 0, 0, 0)) << "three numbers are no rectangle";
    CRect before;
    first.GetWindowRect(&before);
    frame->SetDockState(state);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    CRect after;
    first.GetWindowRect(&after);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(first.IsFloating());
    EXPECT_FALSE(second.IsFloating());

    app.WriteProfileInt("Layout-Summary", "Bars", 100000);
    state.LoadState("Layout");
    EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0) << "a count past the limit reads nothing";

    // Saving the frame's two bars again drops the extra sections.
    frame->SaveBarState("Layout");
    EXPECT_EQ(ProfileText().find("Layout-Bar2"), std::string::npos);
}

}  // namespace
