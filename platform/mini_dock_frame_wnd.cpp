// Floating frames: one floating dock bar in a mini frame.
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
constexpr DWORD kFloatingFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
}  // namespace

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd *pParent, DWORD dwBarStyle)
{
    if (!pParent || !pParent->m_hWnd)
        return FALSE;
    if (!CMiniFrameWnd::Create(nullptr, nullptr, kFloatingFrameStyle, CRect(0, 0, 0, 0), pParent, UINT{0}))
        return FALSE;
    DWORD align = (dwBarStyle & CBRS_ALIGN_LEFT) || (dwBarStyle & CBRS_ALIGN_RIGHT) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | align | (dwBarStyle & CBRS_SIZE_DYNAMIC),
                             AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    if (pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        m_wndDockBar.m_pDockSite = static_cast<CFrameWnd *>(pParent);
    RecalcLayout();
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd || !m_wndDockBar.m_hWnd || m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    CSize size = m_wndDockBar.CalcFixedLayout(FALSE, (m_wndDockBar.GetBarStyle() & CBRS_ORIENT_HORZ) != 0);
    CRect rect(0, 0, size.cx, size.cy);
    CalcBorders(&rect, GetStyle(), GetExStyle());
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndDockBar.MoveWindow(0, 0, size.cx, size.cy);
    m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing a floating frame hides its bars; the frame stays for them.
    std::vector<CControlBar *> bars = m_wndDockBar.Bars();
    for (CControlBar *bar : bars) {
        if (!bar)
            continue;
        if (CFrameWnd *site = bar->GetDockingFrame())
            site->ShowControlBar(bar, FALSE, FALSE);
        else
            bar->ShowWindow(SW_HIDE);
    }
    ShowWindow(SW_HIDE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        for (CControlBar *bar : m_wndDockBar.Bars()) {
            if (bar && bar->m_pDockContext) {
                // The loop may dock the bar elsewhere and destroy this frame.
                bar->m_pDockContext->StartDrag(point);
                return;
            }
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}
