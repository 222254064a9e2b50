// CSplitterWnd: grid layout, pane IDs, painting, bar tracking with posted
// input and the keyboard, and deleting rows and columns.
#include <tessiv/platform/cview.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/splitter_wnd.h>
#include <tessiv/tests/splitter_panes.h>

#include <gtest/gtest.h>

namespace {

// Exposes the tracking state and the painting helpers.
class TestSplitter : public CSplitterWnd {
public:
    using CSplitterWnd::GetInsideRect;
    using CSplitterWnd::m_bTracking;
    using CSplitterWnd::m_cxBorder;
    using CSplitterWnd::m_cxSplitterGap;
};

CRect pane_rect(CSplitterWnd &splitter, int row, int col)
{
    CRect rect;
    CWnd *pane = splitter.GetPane(row, col);
    if (!pane)
        return rect;
    pane->GetWindowRect(&rect);
    splitter.ScreenToClient(&rect);
    return rect;
}

class SplitterWndTest : public testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Splitter", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        pump();
        EXPECT_EQ(panes_alive, 0) << "the panes die with their windows";
    }
    // rows x cols panes filling the frame.
    void Make(TestSplitter &splitter, int rows, int cols)
    {
        ASSERT_TRUE(splitter.CreateStatic(frame, rows, cols));
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < cols; ++col)
                ASSERT_TRUE(splitter.CreateView(row, col, RUNTIME_CLASS(PaneView), CSize(120, 80), nullptr));
        frame->RecalcLayout();
    }
    CFrameWnd *frame = nullptr;
};

TEST_F(SplitterWndTest, LaysOutPanesFromTheColumnInfosAndTheLastTakesTheRest)
{
    TestSplitter splitter;
    Make(splitter, 2, 2);
    EXPECT_EQ(splitter.IdFromRowCol(1, 1), static_cast<int>(AFX_IDW_PANE_FIRST) + 17);
    EXPECT_EQ(splitter.GetPane(1, 1)->GetDlgCtrlID(), splitter.IdFromRowCol(1, 1));
    CRect inside;
    splitter.GetInsideRect(inside);
    int border = splitter.m_cxBorder, gap = splitter.m_cxSplitterGap;

    int current = 0, minimum = 0;
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 120) << "CreateView's size is the column's ideal width";
    splitter.GetColumnInfo(1, current, minimum);
    EXPECT_EQ(current, inside.Width() - 120 - 4 * border - gap);
    EXPECT_EQ(pane_rect(splitter, 0, 0), CRect(border, border, border + 120, border + 80));
    EXPECT_EQ(pane_rect(splitter, 1, 1).left, 120 + 3 * border + gap);
    EXPECT_EQ(pane_rect(splitter, 1, 1).right, inside.right - border);

    // An ideal size below the minimum hides the column; its neighbour takes the space.
    splitter.SetColumnInfo(0, 30, 40);
    splitter.RecalcLayout();
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(pane_rect(splitter, 0, 0).IsRectEmpty());
    EXPECT_EQ(pane_rect(splitter, 0, 1).left, border);

    // Wider than the window: it is clipped, and the last column, left too small, is not shown.
    splitter.SetColumnInfo(0, 5000, 10);
    splitter.RecalcLayout();
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, inside.Width() - 2 * border);
    splitter.GetColumnInfo(1, current, minimum);
    EXPECT_EQ(current, 0);

    CWnd *focused = splitter.GetPane(1, 0);
    splitter.SetActivePane(1, 0);
    int row = -1, col = -1;
    EXPECT_EQ(splitter.GetActivePane(&row, &col), focused);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 0);
}

TEST_F(SplitterWndTest, PaintsSunkenBordersAndFaceColouredBars)
{
    TestSplitter splitter;
    Make(splitter, 1, 2);
    splitter.UpdateWindow();
    CClientDC dc(&splitter);
    EXPECT_EQ(dc.GetPixel(0, 10), GetSysColor(COLOR_BTNSHADOW)) << "outer left edge of the first pane's border";
    EXPECT_EQ(dc.GetPixel(1, 10), GetSysColor(COLOR_3DDKSHADOW)) << "inner left edge";
    int bar = 120 + 4 * splitter.m_cxBorder + 1;
    EXPECT_EQ(dc.GetPixel(bar, 10), GetSysColor(COLOR_BTNFACE)) << "the bar between the panes";
    EXPECT_EQ(splitter.HitTest(CPoint(bar, 10)), CSplitterWnd::hSplitterBar1);
    EXPECT_EQ(splitter.HitTest(CPoint(20, 10)), CSplitterWnd::noHit);
}

TEST_F(SplitterWndTest, PostedDragMovesTheBarAndEscapeCancels)
{
    TestSplitter splitter;
    Make(splitter, 1, 2);
    splitter.UpdateWindow();
    int bar = 120 + 2 * splitter.m_cxBorder + 2;
    POINT drag[] = {{bar, 50}, {bar + 20, 50}, {bar + 40, 52}};
    ASSERT_TRUE(TessivPostMouseGesture(splitter.m_hWnd, TessivMouseButton::Left, drag, 3));
    pump();
    int current = 0, minimum = 0;
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 160);
    EXPECT_FALSE(splitter.m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Press, move, Escape: the layout stays and the tracker is erased.
    bar += 40;
    splitter.UpdateWindow();
    CClientDC dc(&splitter);
    COLORREF before = dc.GetPixel(bar + 30, 40);
    POINT screen{bar, 40};
    splitter.ClientToScreen(&screen);
    SetCursorPos(screen.x, screen.y);
    splitter.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 40));
    pump();
    ASSERT_TRUE(splitter.m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), &splitter);
    ASSERT_TRUE(TessivPostMouseMove(splitter.m_hWnd, POINT{bar + 30, 40}));
    pump();
    EXPECT_NE(dc.GetPixel(bar + 30, 40), before) << "the tracker is drawn inverted";
    splitter.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_FALSE(splitter.m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(dc.GetPixel(bar + 30, 40), before) << "the tracker is erased";
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 160);
}

TEST_F(SplitterWndTest, KeyboardSplitMovesByArrowsAndAcceptsWithEnter)
{
    TestSplitter splitter;
    Make(splitter, 2, 1);
    ASSERT_TRUE(splitter.DoKeyboardSplit());
    EXPECT_TRUE(splitter.m_bTracking);
    POINT cursor{};
    GetCursorPos(&cursor);
    splitter.ScreenToClient(&cursor);
    EXPECT_EQ(splitter.HitTest(cursor), CSplitterWnd::vSplitterBar1) << "the cursor sits on the bar";
    splitter.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    splitter.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    splitter.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_FALSE(splitter.m_bTracking);
    int current = 0, minimum = 0;
    splitter.GetRowInfo(0, current, minimum);
    EXPECT_EQ(current, 80 + 16);

    TestSplitter single;
    ASSERT_TRUE(single.CreateStatic(frame, 1, 1, WS_CHILD, AFX_IDW_PANE_FIRST + 100));
    EXPECT_FALSE(single.DoKeyboardSplit()) << "no bar to split";
}

TEST_F(SplitterWndTest, DeletingAColumnDestroysItsPanesAndMovesTheRestLeft)
{
    TestSplitter splitter;
    Make(splitter, 2, 3);
    CWnd *right_top = splitter.GetPane(0, 2);
    splitter.DeleteColumn(1);
    EXPECT_EQ(panes_alive, 4);
    EXPECT_EQ(splitter.GetColumnCount(), 2);
    EXPECT_EQ(splitter.GetPane(0, 1), right_top);
    EXPECT_EQ(splitter.GetPane(0, 2), nullptr);
    splitter.DeleteRow(0);
    splitter.DeleteRow(0);
    EXPECT_EQ(splitter.GetRowCount(), 1) << "the last row stays";
    EXPECT_EQ(splitter.GetPane(0, 1)->GetDlgCtrlID(), splitter.IdFromRowCol(0, 1));
}

}  // namespace
