// The drag-to-dock loop of a control bar.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>
#include <tessiv/platform/win_app.h>

#include <algorithm>

namespace {

// Moves rect by the smallest step per axis that brings pt inside it.
void bring_inside(CRect &rect, CPoint pt)
{
    if (pt.x < rect.left)
        rect.OffsetRect(pt.x - rect.left, 0);
    else if (pt.x > rect.right)
        rect.OffsetRect(pt.x - rect.right, 0);
    if (pt.y < rect.top)
        rect.OffsetRect(0, pt.y - rect.top);
    else if (pt.y > rect.bottom)
        rect.OffsetRect(0, pt.y - rect.bottom);
}

void base_move(CDockContext &context, CPoint pt) { context.Move(pt); }

constexpr int kBorder2 = 2;  // twice the border width, on each side

}  // namespace

CDockContext::CDockContext(CControlBar *pBar) : m_pBar(pBar)
{
    if (pBar)
        m_pDockSite = pBar->m_pDockSite;
}

CDockContext::~CDockContext() { delete m_pDC; }

void CDockContext::PrepareDrag(CPoint pt)
{
    m_pDockSite = m_pBar->GetDockingFrame();
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->GetBarStyle();
    m_bDragging = TRUE;
    InitLoop();
    if (m_pDC && (m_pDC->GetLayout() & LAYOUT_RTL))
        m_pDC->SetLayout(0);

    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
        CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
        CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), horz);
        m_rectDragVert = CRect(rect.TopLeft(), vert);
        m_rectFrameDragHorz = CRect(rect.TopLeft(), floating);
        m_rectFrameDragVert = CRect(rect.TopLeft(), floating);
    } else if (m_dwStyle & CBRS_SIZE_FIXED) {
        CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
        m_rectDragHorz = m_rectFrameDragHorz = CRect(rect.TopLeft(), horz);
        m_rectDragVert = m_rectFrameDragVert = CRect(rect.TopLeft(), vert);
    } else {
        bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CSize size = m_pBar->CalcDynamicLayout(-1, horizontal ? LM_VERTDOCK : LM_HORZ | LM_HORZDOCK);
        if (horizontal) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
        }
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    }
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz, WS_CAPTION | WS_THICKFRAME);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert, WS_CAPTION | WS_THICKFRAME);
    m_rectFrameDragHorz.InflateRect(-kBorder2, -kBorder2);
    m_rectFrameDragVert.InflateRect(-kBorder2, -kBorder2);
    bring_inside(m_rectDragHorz, pt);
    bring_inside(m_rectDragVert, pt);
    bring_inside(m_rectFrameDragHorz, pt);
    bring_inside(m_rectFrameDragVert, pt);
    m_dwOverDockStyle = CanDock();
}

void CDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    PrepareDrag(pt);
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt)
{
    int dx = pt.x - m_ptLast.x;
    int dy = pt.y - m_ptLast.y;
    m_rectDragHorz.OffsetRect(dx, dy);
    m_rectFrameDragHorz.OffsetRect(dx, dy);
    m_rectDragVert.OffsetRect(dx, dy);
    m_rectFrameDragVert.OffsetRect(dx, dy);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar != VK_CONTROL)
        return;
    m_bForceFrame = bDown;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

DWORD CDockContext::CanDock()
{
    if (!m_pDockSite)
        return 0;
    // The bar's present orientation is tried first.
    bool vertical_first = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING);
    DWORD horz = m_dwDockStyle & CBRS_ORIENT_HORZ;
    DWORD vert = m_dwDockStyle & CBRS_ORIENT_VERT;
    if (vertical_first) {
        if (DWORD style = m_pDockSite->CanDock(m_rectDragVert, vert))
            return style;
        return m_pDockSite->CanDock(m_rectDragHorz, horz);
    }
    if (DWORD style = m_pDockSite->CanDock(m_rectDragHorz, horz))
        return style;
    return m_pDockSite->CanDock(m_rectDragVert, vert);
}

CDockBar *CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    if (!m_pDockSite || !dwOverDockStyle)
        return nullptr;
    CDockBar *dock_bar = nullptr;
    CRect rect = (dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
    m_pDockSite->CanDock(rect, dwOverDockStyle, &dock_bar);
    return dock_bar;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    if (m_dwOverDockStyle != 0) {
        CDockBar *dock_bar = GetDockBar(m_dwOverDockStyle);
        if (!dock_bar)
            return;
        CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
        m_pDockSite->DockControlBar(m_pBar, dock_bar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    // A bar floats in the orientation it had, or horizontally when it can take any shape.
    bool horizontal = (m_dwStyle & CBRS_SIZE_DYNAMIC) || ((m_dwStyle & CBRS_ORIENT_VERT) == 0) != (m_bFlip != 0);
    m_dwMRUFloatStyle = (horizontal ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = horizontal ? m_rectFrameDragHorz.TopLeft() : m_rectFrameDragVert.TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (!m_pBar || !m_pBar->IsFloating())
        return;
    m_pDockSite = m_pBar->GetDockingFrame();
    m_dwStyle = m_pBar->GetBarStyle();
    m_bDragging = FALSE;
    m_nHitTest = nHitTest;
    InitLoop();
    m_ptLast = pt;
    m_pBar->m_pDockBar->GetParent()->GetWindowRect(&m_rectFrameDragHorz);
    m_rectDragHorz = m_rectFrameDragHorz;
    Track();
}

void CDockContext::Stretch(CPoint pt)
{
    int dx = pt.x - m_ptLast.x;
    CRect rect = m_rectFrameDragHorz;
    if (m_nHitTest == HTRIGHT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT)
        rect.right += dx;
    else if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        rect.left += dx;
    else
        return;
    // The bar decides the width it can take at that length.
    CRect borders(0, 0, 0, 0);
    CMiniFrameWnd::CalcBorders(&borders, WS_CAPTION | WS_THICKFRAME);
    CSize size = m_pBar->CalcDynamicLayout(std::max(1, rect.Width() - borders.Width()), LM_HORZ);
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        rect.left = rect.right - size.cx - borders.Width();
    else
        rect.right = rect.left + size.cx + borders.Width();
    rect.bottom = rect.top + size.cy + borders.Height();
    m_rectDragHorz = m_rectFrameDragHorz = rect;
    m_ptLast = pt;
    DrawFocusRect(FALSE);
}

void CDockContext::EndResize()
{
    CancelLoop();
    if (!m_pBar->IsFloating())
        return;
    CRect borders(0, 0, 0, 0);
    CMiniFrameWnd::CalcBorders(&borders, WS_CAPTION | WS_THICKFRAME);
    m_pBar->CalcDynamicLayout(m_rectFrameDragHorz.Width() - borders.Width(), LM_HORZ | LM_COMMIT);
    CWnd *frame = m_pBar->m_pDockBar->GetParent();
    frame->SetWindowPos(nullptr, m_rectFrameDragHorz.left, m_rectFrameDragHorz.top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (auto *floating = dynamic_cast<CMiniDockFrameWnd *>(frame))
        floating->RecalcLayout(TRUE);
}

void CDockContext::ToggleDocking()
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    CFrameWnd *site = m_pBar->GetDockingFrame();
    if (!site)
        return;
    if (m_pBar->IsFloating()) {
        CDockBar *dock_bar = m_uMRUDockID ? site->DockBarFromID(m_uMRUDockID) : nullptr;
        if (dock_bar) {
            CRect rect = m_rectMRUDockPos;
            dock_bar->ClientToScreen(&rect);
            site->DockControlBar(m_pBar, dock_bar, &rect);
        } else {
            site->DockControlBar(m_pBar, static_cast<CDockBar *>(nullptr), nullptr);
        }
    } else {
        DWORD style = m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP;
        site->FloatControlBar(m_pBar, m_ptMRUFloatPos, style);
    }
    site->RecalcLayout();
}

void CDockContext::InitLoop()
{
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;
    delete m_pDC;
    m_pDC = new CWindowDC(nullptr);
}

void CDockContext::CancelLoop()
{
    DrawFocusRect(TRUE);
    if (m_pBar && m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd)
        ReleaseCapture();
    delete m_pDC;
    m_pDC = nullptr;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    CRect rect;
    if (m_dwOverDockStyle & CBRS_ORIENT_HORZ)
        rect = m_rectDragHorz;
    else if (m_dwOverDockStyle & CBRS_ORIENT_VERT)
        rect = m_rectDragVert;
    else
        rect = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_SIZE_DYNAMIC) ? m_rectFrameDragVert
                                                                                  : m_rectFrameDragHorz;
    if (bRemoveRect)
        rect.SetRectEmpty();
    if (rect == m_rectLast)
        return;
    // The outline is drawn by inversion: drawing the last one again removes it.
    if (m_pDC) {
        if (!m_rectLast.IsRectEmpty())
            m_pDC->DrawFocusRect(&m_rectLast);
        if (!rect.IsRectEmpty())
            m_pDC->DrawFocusRect(&rect);
    }
    m_rectLast = rect;
    m_sizeLast = rect.Size();
}

BOOL CDockContext::Track() { return TrackLoop(&base_move); }

BOOL CDockContext::TrackLoop(void (*onDragMove)(CDockContext &context, CPoint pt))
{
    if (::GetCapture() || !m_pBar || !m_pBar->m_hWnd)
        return FALSE;
    HWND bar = m_pBar->m_hWnd;
    ::SetCapture(bar);
    while (::GetCapture() == bar) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            AfxPostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            if (m_bDragging)
                onDragMove(*this, pt);
            else
                Stretch(pt);
            break;
        }
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey(static_cast<int>(msg.wParam), TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey(static_cast<int>(msg.wParam), FALSE);
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}
