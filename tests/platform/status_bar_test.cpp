#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/status_bar.h>

#include <gtest/gtest.h>

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
        ASSERT_TRUE(bar.Create(frame));
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        frame->DestroyWindow();
    }
    CFrameWnd *frame = nullptr;
    CStatusBar bar;
};

TEST_F(StatusBarTest, PaneTextsAreKeptPerPaneAndReadBack)
{
    EXPECT_EQ(bar.GetCount(), 1) << "a new bar has one pane";
    EXPECT_EQ(bar.GetDlgCtrlID(), static_cast<int>(AFX_IDW_STATUS_BAR));
    UINT const indicators[] = {ID_SEPARATOR, 11, 12, 13};
    ASSERT_TRUE(bar.SetIndicators(indicators, 4));
    EXPECT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(12), 2);
    EXPECT_EQ(bar.CommandToIndex(99), -1);

    EXPECT_TRUE(bar.SetPaneText(1, "x:12.50"));
    EXPECT_TRUE(bar.SetPaneText(2, "y:-3.00", FALSE));
    EXPECT_TRUE(bar.SetPaneText(3, "z:0.00"));
    EXPECT_EQ(bar.GetPaneText(1), "x:12.50");
    EXPECT_EQ(bar.GetPaneText(2), "y:-3.00");
    CString text;
    bar.GetPaneText(3, text);
    EXPECT_EQ(text, "z:0.00");
    EXPECT_TRUE(bar.SetPaneText(3, nullptr));
    EXPECT_EQ(bar.GetPaneText(3), "") << "a null text empties the pane";

    EXPECT_FALSE(bar.SetPaneText(4, "out"));
    EXPECT_FALSE(bar.SetPaneText(-1, "out"));
    EXPECT_EQ(bar.GetPaneText(4), "");
    EXPECT_EQ(bar.GetPaneText(1), "x:12.50") << "refused texts change nothing";

    bar.SetWindowText("Ready");
    EXPECT_EQ(bar.GetPaneText(0), "Ready") << "the window text is pane 0";
    bar.GetWindowText(text);
    EXPECT_EQ(text, "Ready");

    EXPECT_FALSE(bar.SetIndicators(nullptr, 2));
    EXPECT_FALSE(bar.SetIndicators(indicators, -1));
    EXPECT_EQ(bar.GetCount(), 4);
    EXPECT_TRUE(bar.SetIndicators(nullptr, 0));
    EXPECT_EQ(bar.GetCount(), 0);
    EXPECT_FALSE(bar.SetPaneText(0, "none"));
}

TEST_F(StatusBarTest, StretchingPanesShareWhatFixedPanesLeave)
{
    UINT const indicators[] = {ID_SEPARATOR, 11, 12};
    ASSERT_TRUE(bar.SetIndicators(indicators, 3));
    bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH, 0);
    bar.SetPaneInfo(1, 11, SBPS_NORMAL, 80);
    frame->RecalcLayout();
    CRect client, first, second, third;
    bar.GetClientRect(&client);
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &second);
    bar.GetItemRect(2, &third);
    EXPECT_EQ(second.Width(), 80);
    EXPECT_EQ(third.Width(), 100);
    EXPECT_EQ(first.Width(), client.Width() - 180);
    EXPECT_EQ(first.right, second.left);
    EXPECT_EQ(third.right, client.right);
    UINT id = 0, style = 0;
    int width = 0;
    bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(id, 11u);
    EXPECT_EQ(width, 80);
    bar.GetItemRect(3, &third);
    EXPECT_TRUE(third.IsRectEmpty());
    bar.UpdateWindow();  // paints without fault
}

}  // namespace
