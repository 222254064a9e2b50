#include <tessiv/platform/cdocument.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/platform/status_bar.h>
#include <tessiv/platform/win_app.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;
int views_alive = 0;
int frames_alive = 0;

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)

public:
    TestView() { ++views_alive; }
    ~TestView() override { --views_alive; }

    int draws = 0;
    int initial_updates = 0;
    void OnDraw(CDC *) override { ++draws; }
    void OnInitialUpdate() override
    {
        ++initial_updates;
        CView::OnInitialUpdate();
    }
    void OnActivateView(BOOL activate, CView *activated, CView *deactivated) override
    {
        events.push_back(std::string(activate ? "activate " : "deactivate ") + (activated == this ? "self" : "other") +
                         (deactivated == this ? " from self" : deactivated ? " from other" : " from none"));
        CView::OnActivateView(activate, activated, deactivated);
    }
    afx_msg void OnViewCommand() { events.push_back("view command"); }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(300, OnViewCommand)
END_MESSAGE_MAP()

class TestDocument : public CDocument {
public:
    afx_msg void OnDocumentCommand() { events.push_back("document command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDocument, CDocument)
    ON_COMMAND(301, OnDocumentCommand)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
public:
    TestFrame() { ++frames_alive; }
    ~TestFrame() override { --frames_alive; }
    afx_msg void OnFrameCommand() { events.push_back("frame command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_COMMAND(300, OnFrameCommand)
    ON_COMMAND(302, OnFrameCommand)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    afx_msg void OnAppCommand() { events.push_back("app command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(303, OnAppCommand)
END_MESSAGE_MAP()

class FrameWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        views_alive = frames_alive = 0;
    }
    void TearDown() override
    {
        EXPECT_EQ(views_alive, 0) << "views delete themselves with their windows";
        EXPECT_EQ(frames_alive, 0) << "frames delete themselves with their windows";
    }
};

TEST_F(FrameWndTest, FrameCreatesTheViewOfItsContextAndConnectsTheDocument)
{
    TestDocument document;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(TestView);
    context.m_pCurrentDoc = &document;
    auto *frame = new TestFrame;
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, nullptr, 0,
                              &context));
    HWND frame_handle = frame->m_hWnd;

    CWnd *pane = frame->GetDescendantWindow(static_cast<int>(AFX_IDW_PANE_FIRST), TRUE);
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->IsKindOf(RUNTIME_CLASS(TestView)));
    auto *view = static_cast<TestView *>(pane);
    EXPECT_EQ(view->GetParentFrame(), frame);
    EXPECT_EQ(view->GetDocument(), &document);
    POSITION position = document.GetFirstViewPosition();
    EXPECT_EQ(document.GetNextView(position), view);
    EXPECT_EQ(position, nullptr);
    EXPECT_TRUE(view->GetStyle() & WS_CHILD);
    EXPECT_TRUE(view->GetStyle() & WS_VISIBLE);

    // The view fills the client area, beside the status bar at the bottom.
    CStatusBar status;
    ASSERT_TRUE(status.Create(frame));
    frame->RecalcLayout();
    CRect client, view_rect, bar_rect;
    frame->GetClientRect(&client);
    view->GetWindowRect(&view_rect);
    status.GetWindowRect(&bar_rect);
    frame->ScreenToClient(&view_rect);
    frame->ScreenToClient(&bar_rect);
    EXPECT_EQ(bar_rect, CRect(0, client.bottom - CStatusBar::kHeight, client.right, client.bottom));
    EXPECT_EQ(view_rect, CRect(0, 0, client.right, client.bottom - CStatusBar::kHeight));
    frame->MoveWindow(0, 0, 500, 400);
    frame->GetClientRect(&client);
    view->GetWindowRect(&view_rect);
    EXPECT_EQ(view_rect.Height(), client.Height() - CStatusBar::kHeight) << "resizing lays out again";

    // The initial update reaches each view once and activates the first pane.
    frame->InitialUpdateFrame(&document, TRUE);
    EXPECT_EQ(view->initial_updates, 1);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(frame->GetActiveDocument(), &document);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(events, std::vector<std::string>{"activate self from self"});
    EXPECT_EQ(CWnd::GetFocus(), view);

    // Painting goes through OnDraw.
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(view->draws, 1);

    // Commands go to the active view, then its document, then the frame, then the application.
    TestApp app;
    events.clear();
    for (WPARAM id : {300, 301, 302, 303, 304})
        frame->SendMessage(WM_COMMAND, id);
    std::vector<std::string> expected{"view command", "document command", "frame command", "app command"};
    EXPECT_EQ(events, expected);

    status.DestroyWindow();
    EXPECT_TRUE(::DestroyWindow(frame_handle));
    EXPECT_EQ(document.GetFirstViewPosition(), nullptr) << "the view left its document";
}

TEST_F(FrameWndTest, ActiveViewChangesNotifyBothViews)
{
    auto *frame = new TestFrame;
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(TestView);
    auto *first = static_cast<TestView *>(frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    auto *second = static_cast<TestView *>(frame->CreateView(&context, AFX_IDW_PANE_FIRST + 1));
    ASSERT_TRUE(first && second);
    frame->SetActiveView(first);
    events.clear();
    second->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    std::vector<std::string> expected{"deactivate other from self", "activate self from other"};
    EXPECT_EQ(events, expected) << "a click activates the view";
    EXPECT_EQ(frame->GetActiveView(), second);

    events.clear();
    second->DestroyWindow();
    EXPECT_EQ(frame->GetActiveView(), nullptr) << "a destroyed view stops being active";
    EXPECT_TRUE(events.empty());

    context.m_pNewViewClass = RUNTIME_CLASS(CDocument);
    EXPECT_EQ(frame->CreateView(&context), nullptr) << "a class that is no window makes no view";
    context.m_pNewViewClass = nullptr;
    EXPECT_EQ(frame->CreateView(&context), nullptr);
    frame->DestroyWindow();
}

TEST_F(FrameWndTest, ChildFrameHostsAViewInsideItsFrame)
{
    auto *main_frame = new TestFrame;
    ASSERT_TRUE(main_frame->Create(nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480)));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(TestView);
    auto *child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, "child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CFrameWnd::rectDefault, main_frame, &context));
    EXPECT_TRUE(child->GetStyle() & WS_CHILD);
    EXPECT_EQ(child->GetMDIFrame(), main_frame);
    CRect main_client, child_rect;
    main_frame->GetClientRect(&main_client);
    child->GetWindowRect(&child_rect);
    EXPECT_EQ(child_rect.Size(), main_client.Size()) << "a default-placed child fills its frame";
    child->InitialUpdateFrame(nullptr, TRUE);
    ASSERT_NE(child->GetActiveView(), nullptr);
    EXPECT_EQ(child->GetActiveView()->GetParentFrame(), child);
    EXPECT_EQ(views_alive, 1);
    main_frame->DestroyWindow();
}

}  // namespace
