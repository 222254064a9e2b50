// Mini frames: small captioned popups owned by a frame.
#include <tessiv/platform/mini_frame_wnd.h>

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, RECT const &rect,
                           CWnd *pParentWnd, UINT, CCreateContext *)
{
    if (!lpClassName)
        lpClassName = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                          GetSysColorBrush(COLOR_BTNFACE));
    CWnd *owner = pParentWnd ? pParentWnd->GetTopLevelParent() : nullptr;
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, lpClassName, lpWindowName, (dwStyle & ~WS_CHILD) | WS_POPUP,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          owner ? owner->m_hWnd : nullptr, nullptr);
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    AdjustWindowRectEx(lpClientRect, dwStyle, FALSE, dwExStyle);
}
