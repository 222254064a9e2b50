#include <tessiv/shell/tool_bar24.h>

#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/platform/winbase.h>

#include <gtest/gtest.h>

namespace {

constexpr UINT kStrip = 9101;
constexpr UINT kGrayStrip = 9102;
constexpr UINT kUnevenStrip = 9103;
constexpr UINT kMissing = 9199;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBackground = RGB(10, 20, 30);

// The pixel at (x, y) of image `index` drawn over kBackground.
COLORREF DrawnPixel(HIMAGELIST list, int index, int x, int y)
{
    CClientDC screen(nullptr);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap surface;
    surface.CreateCompatibleBitmap(&screen, CToolBar24::kImageSize, CToolBar24::kImageSize);
    CBitmap *old = memory.SelectObject(&surface);
    memory.FillSolidRect(0, 0, CToolBar24::kImageSize, CToolBar24::kImageSize, kBackground);
    ImageList_Draw(list, index, memory, 0, 0, ILD_TRANSPARENT);
    COLORREF pixel = memory.GetPixel(x, y);
    memory.SelectObject(old);
    return pixel;
}

// A bar that destroys its frame when the wheel turns during a drag.
class DoomedBar : public CMyToolBar {
public:
    CFrameWnd *frame = nullptr;
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint)
    {
        frame->DestroyWindow();
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DoomedBar, CMyToolBar)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

// A main frame with dock bars and one docked CMyToolBar of three buttons;
// the test executable's bitmaps are on the resource chain.
class ToolBar24Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        thread = AfxGetThread();
        ASSERT_NE(thread, nullptr);
        saved_main = thread->m_pMainWnd;
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        handle = frame->m_hWnd;
        thread->m_pMainWnd = frame;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        MakeBar(bar);
    }
    void TearDown() override
    {
        Pump();
        bar.DestroyWindow();
        if (IsWindow(handle))
            frame->DestroyWindow();
        thread->m_pMainWnd = saved_main;
        TessivResetInput();
    }
    void MakeBar(CMyToolBar &target)
    {
        ASSERT_TRUE(target.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER, CRect(2, 2, 2, 2), 201));
        UINT const ids[] = {11, 12, 13};
        target.SetButtons(ids, 3);
        target.SetFullColorImage(kStrip, kMagenta);
        target.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&target);
    }
    // Dispatches everything queued, as the message loop would.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
    // A client point of the bar away from every button: on the gripper when
    // docked, in the border when floating.
    static CPoint Grip(CControlBar &target) { return target.IsFloating() ? CPoint(1, 1) : CPoint(3, 5); }
    static CPoint ToBarClient(CControlBar &target, CPoint screen)
    {
        target.ScreenToClient(&screen);
        return screen;
    }

    CDynLinkLibrary executable{GetModuleHandleA(nullptr), GetModuleHandleA(nullptr)};
    CWinThread *thread = nullptr;
    CWnd *saved_main = nullptr;
    CFrameWnd *frame = nullptr;
    HWND handle = nullptr;
    CMyToolBar bar;
};

TEST_F(ToolBar24Test, OneStripGivesNormalHotAndDisabledImagesWithTheMaskTransparent)
{
    CToolBarCtrl &control = bar.GetToolBarCtrl();
    HIMAGELIST normal = control.GetImageList();
    HIMAGELIST hot = control.GetHotImageList();
    HIMAGELIST disabled = control.GetDisabledImageList();
    ASSERT_TRUE(normal && hot && disabled);
    for (HIMAGELIST list : {normal, hot, disabled}) {
        EXPECT_EQ(ImageList_GetImageCount(list), 3);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(cx, 36);
        EXPECT_EQ(cy, 36);
        EXPECT_EQ(DrawnPixel(list, 0, 2, 10), kBackground) << "mask pixels are transparent in every list";
        EXPECT_EQ(DrawnPixel(list, 2, 5, 35), kBackground);
    }
    EXPECT_EQ(DrawnPixel(hot, 0, 20, 10), RGB(255, 0, 0)) << "hot images are the artwork as drawn";
    EXPECT_EQ(DrawnPixel(normal, 0, 20, 10), RGB(255, 10, 10)) << "normal images are a little lighter";
    EXPECT_EQ(DrawnPixel(disabled, 0, 20, 10), RGB(166, 166, 166)) << "disabled images are gray and light";
    EXPECT_EQ(DrawnPixel(hot, 2, 20, 10), RGB(0, 0, 255));

    // The bar paints an ordinary button from the normal list.
    CRect rect;
    bar.GetItemRect(0, &rect);
    EXPECT_EQ(rect.Size(), CSize(43, 42));
    bar.RedrawWindow();
    CClientDC dc(&bar);
    EXPECT_EQ(dc.GetPixel(rect.left + 3 + 20, rect.top + 3 + 10), RGB(255, 10, 10));
    EXPECT_EQ(dc.GetPixel(rect.left + 3 + 2, rect.top + 3 + 10), GetSysColor(COLOR_BTNFACE));

    // Disabled images straight from a second strip.
    bar.SetFullColorImage(kStrip, kGrayStrip, kMagenta);
    disabled = control.GetDisabledImageList();
    EXPECT_EQ(DrawnPixel(disabled, 1, 20, 10), RGB(128, 128, 128)) << "the second strip's pixels, unchanged";
    EXPECT_EQ(DrawnPixel(disabled, 1, 0, 0), kBackground);
    EXPECT_EQ(DrawnPixel(control.GetHotImageList(), 1, 20, 10), RGB(0, 128, 0));

    // A strip that does not divide keeps the whole buttons; a missing
    // bitmap leaves lists without images.
    bar.SetFullColorImage(kUnevenStrip, kMagenta);
    EXPECT_EQ(ImageList_GetImageCount(control.GetImageList()), 2);
    EXPECT_EQ(ImageList_GetImageCount(control.GetDisabledImageList()), 2);
    bar.SetFullColorImage(kMissing, kMagenta);
    EXPECT_EQ(ImageList_GetImageCount(control.GetImageList()), 0);
    EXPECT_EQ(ImageList_GetImageCount(control.GetHotImageList()), 0);
    bar.SetFullColorImage(kStrip, kMissing, kMagenta);
    EXPECT_EQ(ImageList_GetImageCount(control.GetHotImageList()), 3);
    EXPECT_EQ(ImageList_GetImageCount(control.GetDisabledImageList()), 0);
    bar.RedrawWindow();
}

TEST_F(ToolBar24Test, RunTimeClassAndMessageMapSkipTheTwentyFourBitBar)
{
    EXPECT_STREQ(bar.GetRuntimeClass()->m_lpszClassName, "CMyToolBar");
    EXPECT_EQ(bar.GetRuntimeClass()->m_pfnGetBaseClass(), RUNTIME_CLASS(CToolBar));
    EXPECT_FALSE(bar.IsKindOf(RUNTIME_CLASS(CToolBar24)));
    CToolBar24 plain;
    EXPECT_EQ(plain.GetRuntimeClass()->m_pfnGetBaseClass(), RUNTIME_CLASS(CToolBar));
    EXPECT_NE(dynamic_cast<MyDockContext *>(bar.m_pDockContext), nullptr);
    EXPECT_EQ(bar.m_hWndOwner, frame->m_hWnd) << "docking gives the bar its parent as owner";
}

TEST_F(ToolBar24Test, MouseButtonGuardsKeepADragFromRunningWithBothButtons)
{
    CRect button;
    bar.GetItemRect(1, &button);
    CPoint on_button = button.CenterPoint();
    LPARAM at_button = MAKELPARAM(on_button.x, on_button.y);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at_button);
    EXPECT_TRUE(bar.m_bLButtonDown);
    EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_PRESSED, TBBS_PRESSED) << "a press on a button is the control's";
    bar.SendMessage(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at_button);
    EXPECT_FALSE(bar.m_bRButtonDown) << "the right button is ignored while the left is down";
    bar.SendMessage(WM_LBUTTONUP, 0, at_button);
    EXPECT_FALSE(bar.m_bLButtonDown);

    bar.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at_button);
    EXPECT_TRUE(bar.m_bRButtonDown);
    // An Escape waits in the queue, so a wrongly started drag would end.
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_ESCAPE, true));
    CPoint grip = Grip(bar);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(grip.x, grip.y));
    MSG pending;
    EXPECT_TRUE(PeekMessageA(&pending, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE))
        << "no drag loop took the queued key";
    EXPECT_EQ(GetCapture(), nullptr);
    bar.SendMessage(WM_LBUTTONUP, MK_RBUTTON, MAKELPARAM(grip.x, grip.y));
    bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(grip.x, grip.y));
    EXPECT_FALSE(bar.m_bRButtonDown);
}

TEST_F(ToolBar24Test, DragToFloatAndBackToDock)
{
    CDockBar *top = frame->DockBarFromID(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(bar.m_pDockBar, top);
    bar.DisableCloseButton();
    CMenu *system = frame->GetSystemMenu(FALSE);
    EXPECT_EQ(system->GetMenuItemCount(), 7u) << "a bar docked in the main window leaves its menu alone";

    // Far from every dock bar, the bar floats where the outline was.
    CPoint start = Grip(bar);
    CPoint target = ToBarClient(bar, CPoint(400, 300));
    POINT drag[] = {start, CPoint((start.x + target.x) / 2, (start.y + target.y) / 2), target};
    ASSERT_TRUE(TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, drag, 3));
    Pump();
    ASSERT_TRUE(bar.IsFloating());
    CWnd *floating = bar.m_pDockBar->GetParent();
    CRect window;
    floating->GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), bar.m_pDockContext->m_rectFrameDragHorz.TopLeft());
    EXPECT_TRUE(window.PtInRect(CPoint(400, 300))) << "the floating frame lies under the cursor";
    EXPECT_EQ(GetCapture(), nullptr);

    // Floating, the bar's frame loses Move and Close from its system menu.
    bar.DisableCloseButton();
    CMenu *floating_menu = floating->GetSystemMenu(FALSE);
    EXPECT_EQ(floating_menu->GetMenuItemCount(), 5u);
    EXPECT_EQ(floating_menu->GetMenuState(SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu);

    // Back over the top edge of the frame's client area, it docks there.
    HWND floating_handle = floating->m_hWnd;
    CPoint edge(200, 0);
    frame->ClientToScreen(&edge);
    POINT back[] = {Grip(bar), ToBarClient(bar, edge)};
    ASSERT_TRUE(TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Left, back, 2));
    Pump();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar, top);
    EXPECT_FALSE(IsWindow(floating_handle)) << "the emptied floating frame is gone";
}

TEST_F(ToolBar24Test, EscapeRightButtonQuitAndLostWindowsCancelTheDrag)
{
    CRect docked;
    bar.GetWindowRect(&docked);
    CPoint away = ToBarClient(bar, CPoint(400, 300));

    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, true, Grip(bar)));
    ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, away));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_ESCAPE, true));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_ESCAPE, false));
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, away));
    Pump();
    CRect now;
    bar.GetWindowRect(&now);
    EXPECT_EQ(now, docked) << "Escape leaves the bar where it was";
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(GetCapture(), nullptr);

    // Each press starts a little lower on the gripper, so none makes a double click.
    POINT right = away;
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, true, Grip(bar) + CPoint(0, 10)));
    ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, away));
    ASSERT_TRUE(TessivPostMouseGesture(bar.m_hWnd, TessivMouseButton::Right, &right, 1));
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, away));
    Pump();
    bar.GetWindowRect(&now);
    EXPECT_EQ(now, docked) << "the right button cancels too";
    EXPECT_EQ(GetCapture(), nullptr);

    // WM_QUIT ends the loop and is posted again for the outer loop.
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, true, Grip(bar) + CPoint(0, 20)));
    ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, away));
    PostQuitMessage(5);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(bar.IsFloating());
    TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, away);
    Pump();

    // The frame destroyed in the middle of a drag: the loop ends cleanly.
    DoomedBar doomed;
    doomed.frame = frame;
    MakeBar(doomed);
    HWND doomed_handle = doomed.m_hWnd;
    ASSERT_TRUE(TessivPostMouseButton(doomed_handle, TessivMouseButton::Left, true, Grip(doomed)));
    ASSERT_TRUE(TessivPostMouseWheel(doomed_handle, 1, Grip(doomed)));
    Pump();
    EXPECT_FALSE(IsWindow(doomed_handle));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolBar24Test, NearTheRightScreenEdgeTheVerticalOutlineStopsAtTheLimit)
{
    TessivSetScreenSize(800, 600);
    int const limit = 800 - 10;
    MyDockContext &context = *static_cast<MyDockContext *>(bar.m_pDockContext);
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, true, Grip(bar)));
    for (int x : {600, 795, 797, 792, 794})
        ASSERT_TRUE(TessivPostMouseMove(bar.m_hWnd, ToBarClient(bar, CPoint(x, 300))));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_ESCAPE, true));
    ASSERT_TRUE(TessivPostKey(bar.m_hWnd, VK_ESCAPE, false));
    ASSERT_TRUE(TessivPostMouseButton(bar.m_hWnd, TessivMouseButton::Left, false, Grip(bar)));
    Pump();
    // 797, 792 and 794 all lie past the limit: each move puts the outline's
    // left edge at the limit, then adds the step (+2 for the last).
    int width = context.m_rectDragVert.Width();
    EXPECT_EQ(context.m_rectDragVert.left, limit + 2);
    EXPECT_EQ(width, context.m_rectDragVert.Width());
    context.m_ptLast = CPoint(795, 300);
    context.Move(CPoint(791, 300));
    EXPECT_EQ(context.m_rectDragVert.left, limit - 4);
    EXPECT_EQ(context.m_rectDragVert.Width(), width) << "the width never changes";
    context.Move(CPoint(700, 300));
    EXPECT_EQ(context.m_rectDragVert.left, limit - 4 - 91) << "inside the limit the outline follows the mouse";
    TessivSetScreenSize(1920, 1080);
}

}  // namespace
