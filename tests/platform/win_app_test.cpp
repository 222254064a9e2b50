#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/win_app.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<UINT> handled;

class CountingWnd : public CWnd {
public:
    afx_msg LRESULT OnUser(WPARAM wparam, LPARAM)
    {
        handled.push_back(static_cast<UINT>(wparam));
        if (wparam == 2)
            AfxPostQuitMessage(7);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingWnd, CWnd)
    ON_MESSAGE(WM_USER, OnUser)
END_MESSAGE_MAP()

TEST(WinAppTest, TheApplicationRegistersInTheModuleStateAndTheThread)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr) << "no thread object before an application exists";
    {
        CWinApp app("Viewer");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxGetModuleState()->m_pCurrentWinApp, &app);
        EXPECT_EQ(AfxGetThread(), &app);
        EXPECT_STREQ(app.m_pszAppName, "Viewer");
        EXPECT_EQ(app.m_pszProfileName, nullptr);
        EXPECT_EQ(app.m_hInstance, AfxGetInstanceHandle());
        EXPECT_TRUE(app.InitInstance());

        CWnd main_window;
        ASSERT_TRUE(main_window.CreateEx(0, nullptr, "main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        app.m_pMainWnd = &main_window;
        EXPECT_EQ(AfxGetThread()->GetMainWnd(), &main_window);

        CWinThread *seen_elsewhere = &app;
        std::thread([&] { seen_elsewhere = AfxGetThread(); }).join();
        EXPECT_EQ(seen_elsewhere, nullptr) << "another thread has no thread object";
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
}

TEST(WinAppTest, ResourceHandleStartsAtTheInstanceAndCanBeSwitched)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    EXPECT_NE(instance, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), instance);
    HINSTANCE other = reinterpret_cast<HINSTANCE>(0x1234);
    AfxSetResourceHandle(other);
    EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, other);
    AfxSetResourceHandle(instance);
    EXPECT_EQ(AfxGetResourceHandle(), instance);
}

TEST(WinAppTest, RunDispatchesUntilQuitAndDropsTemporariesWhenIdle)
{
    CWinApp app;
    EXPECT_EQ(app.m_pszAppName, nullptr);
    CountingWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    handled.clear();
    window.PostMessage(WM_USER, 1);
    window.PostMessage(WM_USER, 2);
    window.PostMessage(WM_USER, 3);
    EXPECT_EQ(app.Run(), 7) << "Run returns the quit code through ExitInstance";
    std::vector<UINT> expected{1, 2, 3};
    EXPECT_EQ(handled, expected) << "posted messages come before the quit";

    HWND plain = CreateWindowExA(0, AfxRegisterWndClass(0), "plain", WS_OVERLAPPED, 0, 0, 5, 5, nullptr, nullptr,
                                 nullptr, nullptr);
    CWnd *temporary = CWnd::FromHandle(plain);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromHandle(plain), temporary);
    EXPECT_FALSE(app.OnIdle(0));
    EXPECT_TRUE(IsWindow(plain));
    DestroyWindow(plain);
}

}  // namespace
