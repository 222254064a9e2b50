#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/tool_bar.h>

#include <gtest/gtest.h>

namespace {

// A frame with dock bars and one docked tool bar of six buttons that may
// take any shape.
class DockContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 101));
        UINT const ids[] = {1, 2, 3, 4, 5, 6};
        bar.SetButtons(ids, 6);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar);
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        frame->DestroyWindow();
        TessivResetInput();
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
    CFrameWnd *frame = nullptr;
    CToolBar bar;
};

TEST_F(DockContextTest, ToggleDockingReturnsToTheLastPlaces)
{
    CRect docked;
    bar.GetWindowRect(&docked);
    CDockContext &context = *bar.m_pDockContext;
    EXPECT_EQ(context.m_uMRUDockID, AFX_IDW_DOCKBAR_TOP) << "docking records where the bar sits";

    context.m_ptMRUFloatPos = CPoint(250, 200);
    context.ToggleDocking();
    ASSERT_TRUE(bar.IsFloating());
    CRect floating;
    bar.m_pDockBar->GetParent()->GetWindowRect(&floating);
    EXPECT_EQ(floating.TopLeft(), CPoint(250, 200));

    context.ToggleDocking();
    EXPECT_FALSE(bar.IsFloating());
    CRect back;
    bar.GetWindowRect(&back);
    EXPECT_EQ(back, docked) << "back in the dock bar and row it left";
}

TEST_F(DockContextTest, ResizingAFloatingBarWrapsItsButtonsAndKeepsTheWidth)
{
    frame->FloatControlBar(&bar, CPoint(200, 200));
    ASSERT_TRUE(bar.IsFloating());
    CWnd *floating = bar.m_pDockBar->GetParent();
    CRect before;
    floating->GetWindowRect(&before);

    // Drag the right edge a little past the middle of the row.
    CPoint edge(before.right - 1, before.top + 30);
    CPoint inward(before.left + before.Width() / 2 + 10, edge.y);
    CPoint client = inward;
    bar.ScreenToClient(&client);
    ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, client));
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, client));
    bar.m_pDockContext->StartResize(HTRIGHT, edge);
    EXPECT_EQ(GetCapture(), nullptr);

    CRect after;
    floating->GetWindowRect(&after);
    EXPECT_EQ(after.TopLeft(), before.TopLeft());
    EXPECT_LT(after.Width(), before.Width());
    EXPECT_GT(after.Height(), before.Height()) << "the buttons wrap into more rows";
    EXPECT_LT(bar.m_nMRUWidth, before.Width()) << "the new width is kept for floating";
    Pump();
}

TEST_F(DockContextTest, HoldingControlForcesTheBarToFloat)
{
    // Dragged along the top edge with Ctrl held, the bar floats there.
    CPoint start(2, 2);
    CPoint along(300, 2);
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, true, start));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_CONTROL, true));
    ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, along));
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, along));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_CONTROL, false));
    Pump();
    EXPECT_TRUE(bar.IsFloating());

    // Without Ctrl the same drag from the floating bar docks it again.
    CPoint floating_start(1, 1);
    CPoint top_edge(300, 0);
    frame->ClientToScreen(&top_edge);
    bar.ScreenToClient(&top_edge);
    POINT drag[] = {floating_start, top_edge};
    ASSERT_TRUE(TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, drag, 2));
    Pump();
    EXPECT_FALSE(bar.IsFloating());
}

}  // namespace
