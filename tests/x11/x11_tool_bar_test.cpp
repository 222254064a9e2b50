// A CMyToolBar docked in a frame on the X display, dragged by its gripper
// with real pointer events (XTest): out to float in its own top-level X
// window, back to its dock, and a drag Escape cancels.
#include <tessiv/tests/x11/x11_session.h>

#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/shell/tool_bar24.h>

#include <gtest/gtest.h>

#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

class X11ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_X11();
        session = &X11Session::Get();
        probe = session->probe();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "x11 bar frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        handle = frame->m_hWnd;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER, CRect(2, 2, 2, 2),
                                 201));
        UINT const ids[] = {11, 12, 13};
        bar.SetButtons(ids, 3);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar);
        frame->RecalcLayout();
        session->Settle();
        frame_id = session->FindTopLevel("x11 bar frame");
        ASSERT_NE(frame_id, 0u);
        XSetInputFocus(probe, frame_id, RevertToParent, CurrentTime);
        session->Settle();
    }
    void TearDown() override
    {
        if (session) {
            bar.DestroyWindow();
            if (IsWindow(handle))
                frame->DestroyWindow();
            session->Settle(20);
        }
    }
    // The gripper of the docked bar (low selects a point further down, out
    // of the double-click rectangle of the other), or a point on the
    // floating frame's border, in screen coordinates.
    CPoint Grip(bool low = false)
    {
        CPoint point = bar.IsFloating() ? CPoint(1, 1) : CPoint(3, low ? 16 : 5);
        bar.ClientToScreen(&point);
        return point;
    }
    // Presses at from, moves in steps to to, then (with escape) presses
    // Escape, and releases: all of it reaches the server before the
    // application takes the first event, as a quick hand would do it.
    void Drag(CPoint from, CPoint to, bool escape = false)
    {
        XTestFakeMotionEvent(probe, -1, from.x, from.y, CurrentTime);
        XTestFakeButtonEvent(probe, 1, True, CurrentTime);
        for (int step = 1; step <= 4; ++step)
            XTestFakeMotionEvent(probe, -1, from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4,
                                 CurrentTime);
        if (escape) {
            XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Escape), True, CurrentTime);
            XTestFakeKeyEvent(probe, XKeysymToKeycode(probe, XK_Escape), False, CurrentTime);
        }
        XTestFakeButtonEvent(probe, 1, False, CurrentTime);
        session->Settle(100);
    }
    // The viewable top-level X windows other than the frame.
    std::vector<XWindowAttributes> OtherTopLevels()
    {
        ::Window root, parent, *children = nullptr;
        unsigned count = 0;
        std::vector<XWindowAttributes> found;
        if (!XQueryTree(probe, DefaultRootWindow(probe), &root, &parent, &children, &count))
            return found;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (children[i] != frame_id && XGetWindowAttributes(probe, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found.push_back(attributes);
        }
        XFree(children);
        return found;
    }

    X11Session *session = nullptr;
    ::Display *probe = nullptr;
    CFrameWnd *frame = nullptr;
    HWND handle = nullptr;
    CMyToolBar bar;
    ::Window frame_id = 0;
};

TEST_F(X11ToolBarTest, ARealDragFloatsTheBarAndDocksItBack)
{
    CDockBar *top = frame->DockBarFromID(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(bar.m_pDockBar, top);
    ASSERT_TRUE(OtherTopLevels().empty());

    CRect docked;
    bar.GetWindowRect(&docked);
    Drag(Grip(true), CPoint(400, 300), true);
    EXPECT_FALSE(bar.IsFloating()) << "Escape cancels the drag";
    CRect now;
    bar.GetWindowRect(&now);
    EXPECT_EQ(now, docked);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(OtherTopLevels().empty());

    Drag(Grip(), CPoint(400, 300));
    ASSERT_TRUE(bar.IsFloating()) << "dropped far from every dock bar";
    EXPECT_EQ(GetCapture(), nullptr);
    CWnd *floating = bar.m_pDockBar->GetParent();
    CRect window;
    floating->GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), bar.m_pDockContext->m_rectFrameDragHorz.TopLeft());
    EXPECT_TRUE(window.PtInRect(CPoint(400, 300))) << "the floating frame lies under the pointer";
    std::vector<XWindowAttributes> tops = OtherTopLevels();
    ASSERT_EQ(tops.size(), 1u) << "the floating frame is a top-level X window";
    EXPECT_EQ(tops[0].x, window.left);
    EXPECT_EQ(tops[0].y, window.top);
    EXPECT_EQ(tops[0].width, window.Width());
    EXPECT_EQ(tops[0].height, window.Height());

    HWND floating_handle = floating->m_hWnd;
    CPoint edge(200, 0);
    frame->ClientToScreen(&edge);
    Drag(Grip(), edge);
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar, top) << "docked back over the top edge";
    EXPECT_FALSE(IsWindow(floating_handle));
    EXPECT_TRUE(OtherTopLevels().empty()) << "the floating frame's X window is gone";
}

}  // namespace
