// The control-bar base: borders, gripper, docking and bar information.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    delete m_pDockContext;
    m_pDockContext = nullptr;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

CFrameWnd *CControlBar::GetDockingFrame() const
{
    if (m_pDockSite)
        return m_pDockSite;
    return GetParentFrame();
}

BOOL CControlBar::IsFloating() const
{
    return !IsKindOf(RUNTIME_CLASS(CDockBar)) && m_pDockBar && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) != 0; }

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext && dwDockStyle)
        m_pDockContext = new CDockContext(this);
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode)
{
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect &rect, BOOL bHorz) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        ++rect.left;
    if (m_dwStyle & CBRS_BORDER_TOP)
        ++rect.top;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        --rect.right;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        --rect.bottom;
    bool gripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    if (bHorz) {
        rect.left += m_cxLeftBorder + (gripper ? kGripperWidth : 0);
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        // Across a vertical bar the borders turn with it.
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder + (gripper ? kGripperWidth : 0);
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::DrawBorders(CDC *pDC, CRect &rect)
{
    if (!pDC || !(m_dwStyle & CBRS_BORDER_ANY))
        return;
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), highlight);
    if (m_dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, highlight);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
    if (m_dwStyle & CBRS_BORDER_LEFT)
        ++rect.left;
    if (m_dwStyle & CBRS_BORDER_TOP)
        ++rect.top;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        --rect.right;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        --rect.bottom;
}

void CControlBar::DrawGripper(CDC *pDC, CRect const &rect)
{
    if (!pDC || (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    // One raised line of three pixels, two pixels in from the leading edge.
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        pDC->Draw3dRect(rect.left + 2, rect.top + m_cyTopBorder, 3,
                        rect.Height() - m_cyTopBorder - m_cyBottomBorder, highlight, shadow);
    else
        pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + 2,
                        rect.Width() - m_cyTopBorder - m_cyBottomBorder, 3, highlight, shadow);
}

void CControlBar::DoPaint(CDC *pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

int CControlBar::OnToolHitTest(CPoint) const { return -1; }

void CControlBar::GetBarInfo(CControlBarInfo *pInfo)
{
    if (!pInfo)
        return;
    pInfo->m_pBar = this;
    pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
    pInfo->m_bVisible = IsVisible();
    pInfo->m_bFloating = IsFloating();
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    pInfo->m_bDockBar = IsKindOf(RUNTIME_CLASS(CDockBar));
    pInfo->m_nMRUWidth = m_nMRUWidth;
    pInfo->m_pointPos = CPoint(-1, -1);
    if (pInfo->m_bFloating) {
        // The floating frame's client origin: the frame is put back around it.
        CPoint origin(0, 0);
        if (CWnd *frame = m_pDockBar->GetParent())
            frame->ClientToScreen(&origin);
        pInfo->m_pointPos = origin;
    } else if (m_pDockBar && m_pDockBar->m_hWnd) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_bDocking = m_pDockContext != nullptr;
    if (m_pDockContext) {
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
    pInfo->m_arrBarID.clear();
    if (pInfo->m_bDockBar) {
        for (CControlBar *bar : static_cast<CDockBar *>(this)->Bars())
            pInfo->m_arrBarID.push_back(bar && bar->m_hWnd ? static_cast<UINT>(bar->GetDlgCtrlID()) : 0);
    }
}

namespace {

// The record's most-recent dock and float places go to the bar's context.
void apply_recent_places(CControlBar *bar, CControlBarInfo const *info)
{
    bar->m_nMRUWidth = info->m_nMRUWidth;
    if (info->m_bDocking && bar->m_pDockContext) {
        bar->m_pDockContext->m_uMRUDockID = info->m_uMRUDockID;
        bar->m_pDockContext->m_rectMRUDockPos = info->m_rectMRUDockPos;
        bar->m_pDockContext->m_dwMRUFloatStyle = info->m_dwMRUFloatStyle;
        bar->m_pDockContext->m_ptMRUFloatPos = info->m_ptMRUFloatPos;
    }
}

// A bar of the frame, or of the frame's top-level frame (the bars of an MDI
// child's layout live in the main frame).
CControlBar *find_bar(CFrameWnd *frame, UINT id)
{
    if (!frame || id == 0)
        return nullptr;
    if (CControlBar *bar = frame->GetControlBar(id))
        return bar;
    CWnd *top = frame->GetTopLevelParent();
    if (top && top != frame && top->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return static_cast<CFrameWnd *>(top)->GetControlBar(id);
    return nullptr;
}

}  // namespace

void CControlBar::SetBarInfo(CControlBarInfo *pInfo, CFrameWnd *pFrameWnd)
{
    if (!pInfo || !m_hWnd)
        return;
    if (IsKindOf(RUNTIME_CLASS(CDockBar))) {
        // A dock bar takes the bars its record lists, or the one bar a
        // floating bar's record names.
        auto *dock_bar = static_cast<CDockBar *>(this);
        std::vector<UINT> ids = pInfo->m_bDockBar ? pInfo->m_arrBarID : std::vector<UINT>{pInfo->m_nBarID};
        for (UINT id : ids) {
            CControlBar *bar = find_bar(pFrameWnd, id);
            if (!bar || bar == this || bar->IsKindOf(RUNTIME_CLASS(CDockBar)))
                continue;
            dock_bar->DockControlBar(bar);
            if (!pInfo->m_bDockBar) {
                apply_recent_places(bar, pInfo);
                bar->ShowWindow(pInfo->m_bVisible ? SW_SHOWNA : SW_HIDE);
            }
        }
        return;
    }
    if (!pInfo->m_bFloating && pInfo->m_bDocking && pInfo->m_uMRUDockID != 0) {
        CFrameWnd *site = m_pDockSite ? m_pDockSite : pFrameWnd;
        CDockBar *dock_bar = site ? site->DockBarFromID(pInfo->m_uMRUDockID) : nullptr;
        if (dock_bar && pInfo->m_pointPos.x >= 0 && pInfo->m_pointPos.y >= 0) {
            CRect rect;
            GetWindowRect(&rect);
            rect.OffsetRect(-rect.left, -rect.top);
            rect.OffsetRect(pInfo->m_pointPos.x, pInfo->m_pointPos.y);
            dock_bar->ClientToScreen(&rect);
            site->DockControlBar(this, dock_bar, &rect);
        }
    }
    // After docking, which records the place it docked at.
    apply_recent_places(this, pInfo);
    ShowWindow(pInfo->m_bVisible ? SW_SHOWNA : SW_HIDE);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWnd *parent = GetParent();
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && !IsKindOf(RUNTIME_CLASS(CDockBar))) {
        m_pDockSite = static_cast<CFrameWnd *>(parent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

void CControlBar::OnDestroy()
{
    if (m_pDockBar) {
        CDockBar *dock_bar = m_pDockBar;
        m_pDockBar = nullptr;
        dock_bar->RemoveControlBar(this);
    }
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}
