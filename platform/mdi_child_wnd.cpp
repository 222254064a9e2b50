// Document frames inside another frame.
#include <tessiv/platform/mdi_child_wnd.h>

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
END_MESSAGE_MAP()

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, RECT const &rect,
                          CFrameWnd *pParentWnd, CCreateContext *pContext)
{
    if (pParentWnd)
        dwStyle |= WS_CHILD;
    else
        dwStyle &= ~WS_CHILD;
    CRect place = rect;
    // A child cannot be placed by the system: it fills its frame's client area.
    if (pParentWnd && place.left == CW_USEDEFAULT)
        pParentWnd->GetClientRect(&place);
    return CFrameWnd::Create(lpszClassName, lpszWindowName, dwStyle, place, pParentWnd, nullptr, 0, pContext);
}

CFrameWnd *CMDIChildWnd::GetMDIFrame() const { return GetParentFrame(); }

void CMDIChildWnd::MDIActivate()
{
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus();
}

void CMDIChildWnd::MDIDestroy() { DestroyWindow(); }
