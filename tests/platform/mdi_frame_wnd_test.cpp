#include <tessiv/platform/cview.h>
#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/platform/mdi_frame_wnd.h>
#include <tessiv/platform/status_bar.h>
#include <tessiv/platform/win_app.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> activations;

class LoggingChild : public CMDIChildWnd {
public:
    explicit LoggingChild(std::string name) : m_name(std::move(name)) {}
    void OnMDIActivate(BOOL activate, CWnd *activated, CWnd *deactivated) override
    {
        activations.push_back(m_name + (activate ? " on" : " off") + (activated == this ? " self" : "") +
                              (deactivated == this ? " from self" : ""));
        CMDIChildWnd::OnMDIActivate(activate, activated, deactivated);
    }
    afx_msg void OnChildCommand() { activations.push_back(m_name + " command"); }
    std::string m_name;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LoggingChild, CMDIChildWnd)
    ON_COMMAND(400, OnChildCommand)
END_MESSAGE_MAP()

CRect RectIn(CWnd const &window, CWnd const &reference)
{
    CRect rect;
    window.GetWindowRect(&rect);
    reference.ScreenToClient(&rect);
    return rect;
}

TEST(MdiFrameWndTest, ClientTakesWhatTheBarsLeaveAndChildrenLiveInIt)
{
    auto *frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480)));
    ASSERT_NE(frame->m_hWndMDIClient, nullptr);
    EXPECT_FALSE(frame->CreateClient(nullptr, nullptr)) << "one client per frame";
    CStatusBar status;
    ASSERT_TRUE(status.Create(frame));
    frame->RecalcLayout();
    CWnd *client = CWnd::FromHandle(frame->m_hWndMDIClient);
    EXPECT_EQ(client->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    CRect frame_client;
    frame->GetClientRect(&frame_client);
    EXPECT_EQ(RectIn(*client, *frame), CRect(0, 0, frame_client.right, frame_client.bottom - CStatusBar::kHeight));

    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    auto *child = new LoggingChild("first");
    ASSERT_TRUE(child->Create(nullptr, "doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    EXPECT_EQ(child->GetParent(), client) << "a child frame of an MDI frame is a child of its client";
    EXPECT_EQ(child->GetMDIFrame(), frame);
    BOOL maximized = FALSE;
    EXPECT_EQ(frame->MDIGetActive(&maximized), child) << "a new child is activated";
    EXPECT_TRUE(maximized);

    // A maximized child follows its client when the frame resizes.
    frame->MoveWindow(0, 0, 500, 400);
    CRect client_area, child_rect;
    client->GetClientRect(&client_area);
    child->GetWindowRect(&child_rect);
    EXPECT_EQ(child_rect.Size(), client_area.Size());
    status.DestroyWindow();
    frame->DestroyWindow();
    EXPECT_EQ(activations, std::vector<std::string>{"first on self"});
    activations.clear();
}

TEST(MdiFrameWndTest, ActivationNotifiesBothChildrenAndRoutesCommands)
{
    auto *frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480)));
    auto *first = new LoggingChild("first");
    auto *second = new LoggingChild("second");
    ASSERT_TRUE(first->Create(nullptr, "a", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), frame));
    ASSERT_TRUE(second->Create(nullptr, "b", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), frame));
    EXPECT_EQ(frame->MDIGetActive(), second);
    BOOL maximized = TRUE;
    frame->MDIGetActive(&maximized);
    EXPECT_FALSE(maximized) << "a placed child is not maximized";

    activations.clear();
    first->MDIActivate();
    EXPECT_EQ(frame->MDIGetActive(), first);
    EXPECT_EQ(activations, (std::vector<std::string>{"second off from self", "first on self"}));
    EXPECT_EQ(CWnd::FromHandle(frame->m_hWndMDIClient)->GetTopWindow(), first) << "the active child is on top";

    // Commands reach the active child frame before the main frame.
    activations.clear();
    frame->SendMessage(WM_COMMAND, 400);
    EXPECT_EQ(activations, std::vector<std::string>{"first command"});

    activations.clear();
    frame->MDINext();
    EXPECT_EQ(frame->MDIGetActive(), second);
    frame->MDIActivate(frame);
    EXPECT_EQ(frame->MDIGetActive(), second) << "only children of the client can be activated";

    // The destroyed active child gives way to the one left.
    second->MDIDestroy();
    EXPECT_EQ(frame->MDIGetActive(), first);
    frame->MDIMaximize(first);
    frame->MDIGetActive(&maximized);
    EXPECT_TRUE(maximized);
    frame->DestroyWindow();
    activations.clear();
}

TEST(MdiFrameWndTest, LoadFramePutsTheChildIntoTheMainWindow)
{
    auto *frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(0xFFF0));
    CString title;
    frame->GetWindowText(title);
    EXPECT_TRUE(title.IsEmpty()) << "a missing title string leaves the frame untitled";
    CWinThread *previous_thread = AfxGetThread();
    CWinThread thread;
    TessivSetCurrentThread(&thread);
    thread.m_pMainWnd = frame;
    CCreateContext context;
    auto *child = new CMDIChildWnd;
    ASSERT_TRUE(child->LoadFrame(0xFFF0, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, nullptr, &context));
    EXPECT_EQ(child->GetMDIFrame(), frame);
    EXPECT_EQ(frame->MDIGetActive(), child);
    TessivSetCurrentThread(previous_thread);
    frame->DestroyWindow();
}

}  // namespace
