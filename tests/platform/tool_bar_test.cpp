#include <tessiv/platform/cdc.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/image_list.h>
#include <tessiv/platform/tool_bar.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kImage = 16;

// A frame that records the commands it receives.
class CommandFrame : public CFrameWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    std::vector<UINT> commands;
};

// An image list of `count` 16 x 16 images in one colour whose two left
// columns are the mask colour.
void FillList(CImageList &list, COLORREF colour, int count)
{
    std::vector<std::uint32_t> pixels(std::size_t(kImage) * count * kImage);
    for (int y = 0; y < kImage; ++y)
        for (int x = 0; x < kImage * count; ++x) {
            COLORREF c = x % kImage < 2 ? kMagenta : colour;
            pixels[std::size_t(y) * kImage * count + x] =
                (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
        }
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(kImage * count, kImage, 1, 32, pixels.data()));
    ASSERT_TRUE(list.Create(kImage, kImage, ILC_COLOR24 | ILC_MASK, 1, 1));
    ASSERT_EQ(list.Add(&strip, kMagenta), 0);
}

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CommandFrame;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 101));
        UINT const ids[] = {11, 0, 12, 13};
        ASSERT_TRUE(bar.SetButtons(ids, 4));
        FillList(normal, RGB(200, 0, 0), 3);
        FillList(hot, RGB(0, 200, 0), 3);
        FillList(disabled, RGB(0, 0, 200), 3);
        frame->RecalcLayout();
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        frame->DestroyWindow();
    }
    // The colour the bar painted at the centre of a button's image, and at
    // a masked pixel of it.
    COLORREF ImagePixel(int index, int dx)
    {
        CRect rect;
        bar.GetItemRect(index, &rect);
        bar.RedrawWindow();
        CClientDC dc(&bar);
        int x = rect.left + (rect.Width() - kImage) / 2 + dx;
        return dc.GetPixel(x, rect.top + rect.Height() / 2);
    }
    CommandFrame *frame = nullptr;
    CToolBar bar;
    CImageList normal, hot, disabled;
};

TEST_F(ToolBarTest, ButtonsKeepTheirIdsRectanglesAndStates)
{
    EXPECT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(12), 2);
    EXPECT_EQ(bar.CommandToIndex(0), -1) << "separators are not commands";
    EXPECT_EQ(bar.GetItemID(3), 13u);
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_SEPARATOR);
    CRect first, separator, second;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &separator);
    bar.GetItemRect(2, &second);
    EXPECT_EQ(first.Size(), bar.GetButtonSize());
    EXPECT_EQ(separator.left, first.right);
    EXPECT_EQ(second.left, separator.right) << "buttons follow each other in one row";
    EXPECT_EQ(second.top, first.top);

    CToolBarCtrl &control = bar.GetToolBarCtrl();
    EXPECT_TRUE(control.IsButtonEnabled(12));
    EXPECT_TRUE(control.EnableButton(12, FALSE));
    EXPECT_FALSE(control.IsButtonEnabled(12));
    EXPECT_EQ(bar.GetButtonStyle(2) & TBBS_DISABLED, TBBS_DISABLED);
    EXPECT_TRUE(control.CheckButton(13));
    EXPECT_TRUE(control.IsButtonChecked(13));
    EXPECT_FALSE(control.EnableButton(99)) << "no button has that ID";
    EXPECT_EQ(control.GetButtonCount(), 4);

    // One row horizontally, one column vertically, wrapped rows to a width.
    CSize row = bar.CalcDynamicLayout(-1, LM_HORZ);
    CSize column = bar.CalcDynamicLayout(-1, 0);
    EXPECT_GT(row.cx, row.cy);
    EXPECT_GT(column.cy, column.cx);
    CSize wrapped = bar.CalcDynamicLayout(row.cx - 1, LM_HORZ | LM_COMMIT);
    EXPECT_LT(wrapped.cx, row.cx);
    EXPECT_EQ(wrapped.cy, row.cy + bar.GetButtonSize().cy) << "the last button goes to a second row";
    EXPECT_EQ(bar.m_nMRUWidth, wrapped.cx) << "LM_COMMIT keeps the floating width";
}

TEST_F(ToolBarTest, ImageListMessagesReturnThePreviousListAndPaintTheButtons)
{
    CToolBarCtrl &control = bar.GetToolBarCtrl();
    EXPECT_EQ(control.SetImageList(&normal), nullptr);
    EXPECT_EQ(control.SetHotImageList(&hot), nullptr);
    EXPECT_EQ(control.SetDisabledImageList(&disabled), nullptr);
    EXPECT_EQ(control.GetImageList(), normal.GetSafeHandle());
    EXPECT_EQ(control.GetHotImageList(), hot.GetSafeHandle());
    EXPECT_EQ(control.GetDisabledImageList(), disabled.GetSafeHandle());
    EXPECT_EQ(control.SetHotImageList(&normal), hot.GetSafeHandle()) << "the previous list comes back";
    EXPECT_EQ(control.SetHotImageList(&hot), normal.GetSafeHandle());
    EXPECT_EQ(bar.GetImageSize(), CSize(kImage, kImage)) << "the normal list sets the image size";
    frame->RecalcLayout();

    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ImagePixel(0, 8), RGB(200, 0, 0)) << "an ordinary button shows the normal image";
    EXPECT_EQ(ImagePixel(0, 0), face) << "mask pixels are transparent";
    bar.GetToolBarCtrl().EnableButton(13, FALSE);
    EXPECT_EQ(ImagePixel(3, 8), RGB(0, 0, 200)) << "a disabled button shows the disabled image";
    EXPECT_EQ(ImagePixel(3, 1), face);

    CRect second;
    bar.GetItemRect(2, &second);
    ASSERT_TRUE(TessivSendMouseMove(bar.m_hWnd, second.CenterPoint()));
    EXPECT_EQ(control.GetHotItem(), 2);
    EXPECT_EQ(ImagePixel(2, 8), RGB(0, 200, 0)) << "the button under the cursor shows the hot image";
    EXPECT_EQ(ImagePixel(0, 8), RGB(200, 0, 0));
    CRect third;
    bar.GetItemRect(3, &third);
    ASSERT_TRUE(TessivSendMouseMove(bar.m_hWnd, third.CenterPoint()));
    EXPECT_EQ(control.GetHotItem(), -1) << "a disabled button is never hot";
}

TEST_F(ToolBarTest, AClickOnAnEnabledButtonSendsItsCommandToTheFrame)
{
    CRect rect;
    bar.GetItemRect(2, &rect);
    POINT click = rect.CenterPoint();
    ASSERT_TRUE(TessivSendMouseGesture(bar.m_hWnd, TessivMouseButton::Left, &click, 1));
    ASSERT_EQ(frame->commands, std::vector<UINT>{12});
    EXPECT_EQ(GetCapture(), nullptr);

    // Released elsewhere, or on a disabled button: no command.
    CRect other;
    bar.GetItemRect(0, &other);
    POINT away[] = {rect.CenterPoint(), other.CenterPoint()};
    ASSERT_TRUE(TessivSendMouseGesture(bar.m_hWnd, TessivMouseButton::Left, away, 2));
    bar.GetToolBarCtrl().EnableButton(12, FALSE);
    ASSERT_TRUE(TessivSendMouseGesture(bar.m_hWnd, TessivMouseButton::Left, &click, 1));
    EXPECT_EQ(frame->commands.size(), 1u);

    // A check box toggles as it is clicked.
    bar.SetButtonStyle(3, TBBS_CHECKBOX);
    bar.GetItemRect(3, &rect);
    click = rect.CenterPoint();
    ASSERT_TRUE(TessivSendMouseGesture(bar.m_hWnd, TessivMouseButton::Left, &click, 1));
    EXPECT_TRUE(bar.GetToolBarCtrl().IsButtonChecked(13));
    EXPECT_EQ(frame->commands.back(), 13u);

    // With an owner the command goes there.
    auto *owner = new CommandFrame;
    ASSERT_TRUE(owner->Create(nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100)));
    bar.SetOwner(owner);
    ASSERT_TRUE(TessivSendMouseGesture(bar.m_hWnd, TessivMouseButton::Left, &click, 1));
    EXPECT_EQ(owner->commands, std::vector<UINT>{13});
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonChecked(13));
    owner->DestroyWindow();
}

}  // namespace
