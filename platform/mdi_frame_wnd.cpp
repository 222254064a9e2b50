// The MDI main frame and its client window.
#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/platform/mdi_frame_wnd.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/win_objects.h>

#include <vector>

namespace tessiv_platform {

std::string frame_title_resource(UINT id)
{
    char text[256] = {};
    if (LoadStringA(AfxGetResourceHandle(), id, text, static_cast<int>(sizeof text)) <= 0 &&
        LoadStringA(AfxGetInstanceHandle(), id, text, static_cast<int>(sizeof text)) <= 0)
        return {};
    std::string title(text);
    return title.substr(0, title.find('\n'));
}

namespace {

// The MDI client: keeps the active child frame, answers the MDI messages
// and keeps maximized children filling it.
class MdiClientWnd : public CWnd {
public:
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        CWnd::OnSize(nType, cx, cy);
        for (HWND child : Children())
            if (GetWindowLongPtrA(child, GWL_STYLE) & WS_MAXIMIZE)
                ::MoveWindow(child, 0, 0, cx, cy, TRUE);
    }
    afx_msg LRESULT OnActivate(WPARAM wParam, LPARAM)
    {
        HWND next = reinterpret_cast<HWND>(wParam);
        if (!IsChildFrame(next))
            return 0;
        ::SetWindowPos(next, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        HWND previous = IsChildFrame(m_active) ? m_active : nullptr;
        if (next == previous)
            return 0;
        m_active = next;
        if (previous)
            ::SendMessageA(previous, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous), reinterpret_cast<LPARAM>(next));
        if (m_active == next)
            ::SendMessageA(next, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous), reinterpret_cast<LPARAM>(next));
        return 0;
    }
    afx_msg LRESULT OnGetActive(WPARAM, LPARAM lParam)
    {
        HWND active = Active();
        if (auto *maximized = reinterpret_cast<BOOL *>(lParam))
            *maximized = active && (GetWindowLongPtrA(active, GWL_STYLE) & WS_MAXIMIZE) ? TRUE : FALSE;
        return reinterpret_cast<LRESULT>(active);
    }
    afx_msg LRESULT OnDestroyChild(WPARAM wParam, LPARAM)
    {
        HWND child = reinterpret_cast<HWND>(wParam);
        if (IsChildFrame(child))
            ::DestroyWindow(child);
        return 0;
    }
    afx_msg LRESULT OnNext(WPARAM, LPARAM)
    {
        std::vector<HWND> children = Children();
        HWND active = Active();
        for (std::size_t i = 0; i < children.size(); ++i)
            if (children[i] == active) {
                // The active child is topmost; the next one is the one below it.
                HWND next = children[(i + 1) % children.size()];
                OnActivate(reinterpret_cast<WPARAM>(next), 0);
                break;
            }
        return 0;
    }
    afx_msg LRESULT OnMaximize(WPARAM wParam, LPARAM)
    {
        HWND child = reinterpret_cast<HWND>(wParam);
        if (!IsChildFrame(child))
            return 0;
        SetWindowLongPtrA(child, GWL_STYLE, GetWindowLongPtrA(child, GWL_STYLE) | WS_MAXIMIZE);
        CRect client;
        GetClientRect(&client);
        ::MoveWindow(child, 0, 0, client.Width(), client.Height(), TRUE);
        return 0;
    }

protected:
    void PostNcDestroy() override { delete this; }

private:
    std::vector<HWND> Children() const
    {
        std::vector<HWND> children;
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    }
    bool IsChildFrame(HWND window) const { return window && ::IsWindow(window) && ::GetParent(window) == m_hWnd; }
    // A destroyed active child gives way to the topmost remaining one.
    HWND Active()
    {
        if (!IsChildFrame(m_active))
            m_active = ::GetWindow(m_hWnd, GW_CHILD);
        return m_active;
    }

    HWND m_active = nullptr;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MdiClientWnd, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_MDIACTIVATE, OnActivate)
    ON_MESSAGE(WM_MDIGETACTIVE, OnGetActive)
    ON_MESSAGE(WM_MDIDESTROY, OnDestroyChild)
    ON_MESSAGE(WM_MDINEXT, OnNext)
    ON_MESSAGE(WM_MDIMAXIMIZE, OnMaximize)
END_MESSAGE_MAP()

}  // namespace
}  // namespace tessiv_platform

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu *)
{
    if (m_hWndMDIClient || !m_hWnd)
        return FALSE;
    auto *client = new tessiv_platform::MdiClientWnd;
    CRect area;
    GetClientRect(&area);
    if (!client->CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, area, this,
                          AFX_IDW_PANE_FIRST)) {
        delete client;
        return FALSE;
    }
    m_hWndMDIClient = client->m_hWnd;
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *) { return CreateClient(lpcs, nullptr); }

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd, CCreateContext *pContext)
{
    std::string title = tessiv_platform::frame_title_resource(nIDResource);
    return Create(nullptr, title.c_str(), dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext);
}

void CMDIFrameWnd::MDIActivate(CWnd *pWndActivate)
{
    if (m_hWndMDIClient && pWndActivate)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

CMDIChildWnd *CMDIFrameWnd::MDIGetActive(BOOL *pbMaximized) const
{
    if (pbMaximized)
        *pbMaximized = FALSE;
    if (!m_hWndMDIClient)
        return nullptr;
    auto active = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    CWnd *object = FromHandlePermanent(active);
    return object && object->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd *>(object) : nullptr;
}

void CMDIFrameWnd::MDINext()
{
    if (m_hWndMDIClient)
        ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd *pWnd)
{
    if (m_hWndMDIClient && pWnd)
        ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo)
{
    if (CMDIChildWnd *active = MDIGetActive(); active && active->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CDocument *CMDIFrameWnd::GetActiveDocument()
{
    if (CMDIChildWnd *active = MDIGetActive())
        return active->GetActiveDocument();
    return CFrameWnd::GetActiveDocument();
}
