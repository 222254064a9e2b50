// Document frames inside another frame.
#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/platform/mdi_frame_wnd.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/platform/win_objects.h>

namespace {

CMDIFrameWnd *as_mdi_frame(CWnd *window)
{
    return window && window->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd *>(window) : nullptr;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
END_MESSAGE_MAP()

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, RECT const &rect,
                          CFrameWnd *pParentWnd, CCreateContext *pContext)
{
    CWnd *parent = pParentWnd;
    CMDIFrameWnd *mdi_frame = as_mdi_frame(pParentWnd);
    if (mdi_frame && mdi_frame->m_hWndMDIClient)
        parent = CWnd::FromHandle(mdi_frame->m_hWndMDIClient);
    if (parent)
        dwStyle |= WS_CHILD;
    else
        dwStyle &= ~WS_CHILD;
    CRect place = rect;
    // A child cannot be placed by the system: it fills its frame's client area.
    if (parent && place.left == CW_USEDEFAULT) {
        parent->GetClientRect(&place);
        if (parent != pParentWnd)
            dwStyle |= WS_MAXIMIZE;
    }
    if (!CFrameWnd::Create(lpszClassName, lpszWindowName, dwStyle, place, parent, nullptr, 0, pContext))
        return FALSE;
    if (parent != pParentWnd)
        mdi_frame->MDIActivate(this);
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd, CCreateContext *pContext)
{
    if (!pParentWnd)
        if (CWinThread *thread = AfxGetThread())
            pParentWnd = thread->GetMainWnd();
    auto *frame = pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd *>(pParentWnd) : nullptr;
    std::string title = tessiv_platform::frame_title_resource(nIDResource);
    return Create(nullptr, title.c_str(), dwDefaultStyle, rectDefault, frame, pContext);
}

CFrameWnd *CMDIChildWnd::GetMDIFrame() const { return GetParentFrame(); }

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd *mdi_frame = as_mdi_frame(GetMDIFrame()); mdi_frame && mdi_frame->m_hWndMDIClient) {
        mdi_frame->MDIActivate(this);
        return;
    }
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus();
}

void CMDIChildWnd::MDIDestroy() { DestroyWindow(); }

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd *, CWnd *)
{
    if (!bActivate)
        return;
    if (CView *view = GetActiveView())
        view->SetFocus();
    else
        SetFocus();
}

LRESULT CMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam)
{
    auto deactivated = reinterpret_cast<HWND>(wParam);
    auto activated = reinterpret_cast<HWND>(lParam);
    OnMDIActivate(activated == m_hWnd, activated ? CWnd::FromHandle(activated) : nullptr,
                  deactivated ? CWnd::FromHandle(deactivated) : nullptr);
    return 0;
}
