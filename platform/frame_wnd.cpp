// Frames: view creation from a context, the active view, layout and command routing.
#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>
#include <tessiv/platform/win_app.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// The dock bars EnableDocking makes, in the order it makes and tries them.
struct DockBarKind {
    DWORD align;
    UINT id;
};
constexpr DockBarKind kDockBars[] = {
    {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
    {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
    {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
    {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
};

}  // namespace

CRect const CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, RECT const &rect,
                       CWnd *pParentWnd, LPCTSTR, DWORD dwExStyle, CCreateContext *pContext)
{
    if (rect.left == CW_USEDEFAULT)
        return CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr,
                              pContext);
    return CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, 0, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT &cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                           GetSysColorBrush(COLOR_BTNFACE));
    return cs.lpszClass != nullptr;
}

CWnd *CFrameWnd::CreateView(CCreateContext *pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject *object = pContext->m_pNewViewClass->CreateObject();
    if (!object)
        return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto *view = static_cast<CWnd *>(object);
    // A view that fails to be created deletes itself in PostNcDestroy.
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return view;
}

void CFrameWnd::SetActiveView(CView *pViewNew, BOOL bNotify)
{
    CView *previous = m_pViewActive;
    if (pViewNew == previous)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (previous)
        previous->OnActivateView(FALSE, pViewNew, previous);
    if (pViewNew && m_pViewActive == pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, previous);
}

CDocument *CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd || m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    CRect client;
    GetClientRect(&client);
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) {
        CWnd *object = FromHandlePermanent(child);
        if (!object || !object->IsKindOf(RUNTIME_CLASS(CControlBar)) ||
            !(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        auto *bar = static_cast<CControlBar *>(object);
        DWORD align = bar->GetBarStyle() & CBRS_ALIGN_ANY;
        bool horizontal = (align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
        CSize size = bar->CalcFixedLayout(TRUE, horizontal);
        CRect place = client;
        if (align & CBRS_ALIGN_TOP) {
            place.bottom = client.top = std::min(client.bottom, client.top + static_cast<LONG>(size.cy));
        } else if (align & CBRS_ALIGN_BOTTOM) {
            place.top = client.bottom = std::max(client.top, client.bottom - static_cast<LONG>(size.cy));
        } else if (align & CBRS_ALIGN_LEFT) {
            place.right = client.left = std::min(client.right, client.left + static_cast<LONG>(size.cx));
        } else if (align & CBRS_ALIGN_RIGHT) {
            place.left = client.right = std::max(client.left, client.right - static_cast<LONG>(size.cx));
        } else {
            continue;
        }
        ::MoveWindow(child, place.left, place.top, place.Width(), place.Height(), TRUE);
    }
    if (HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST)))
        ::MoveWindow(pane, client.left, client.top, client.Width(), client.Height(), TRUE);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    if (!m_hWnd)
        return;
    for (DockBarKind const &kind : kDockBars) {
        if (!(dwDockStyle & kind.align) || DockBarFromID(kind.id))
            continue;
        auto *dock_bar = new CDockBar(FALSE);
        if (!dock_bar->Create(this, WS_CHILD | WS_VISIBLE | kind.align, kind.id)) {
            delete dock_bar;
            continue;
        }
        dock_bar->m_pDockSite = this;
        m_ownedDockBars.push_back(dock_bar);
    }
    RecalcLayout();
}

CDockBar *CFrameWnd::DockBarFromID(UINT nID) const
{
    for (CDockBar *dock_bar : m_ownedDockBars)
        if (dock_bar->m_hWnd && static_cast<UINT>(dock_bar->GetDlgCtrlID()) == nID)
            return dock_bar;
    return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar *pBar, UINT nDockBarID, LPCRECT lpRect)
{
    DockControlBar(pBar, nDockBarID ? DockBarFromID(nDockBarID) : nullptr, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar *pBar, CDockBar *pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (!pDockBar) {
        for (DockBarKind const &kind : kDockBars) {
            if (pBar->m_dwDockStyle & kind.align) {
                if ((pDockBar = DockBarFromID(kind.id)) != nullptr)
                    break;
            }
        }
    }
    if (!pDockBar)
        return;
    if (!pBar->m_pDockSite)
        pBar->m_pDockSite = this;
    pDockBar->DockControlBar(pBar, lpRect);
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar *pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CDockBar *current = pBar->m_pDockBar;
    if (current && current->m_bFloating && current->GetDockedCount() == 1 &&
        (dwStyle & current->GetBarStyle() & CBRS_ALIGN_ANY) != 0) {
        // Alone in a floating frame of the right orientation: move the frame.
        if (auto *frame = dynamic_cast<CMiniDockFrameWnd *>(current->GetParent())) {
            frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            frame->RecalcLayout(TRUE);
            return;
        }
    }
    if (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
        dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC;
    CMiniDockFrameWnd *frame = CreateFloatingFrame(dwStyle);
    if (!frame)
        return;
    frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(pBar);
    frame->RecalcLayout(TRUE);
    if (pBar->IsVisible())
        frame->ShowWindow(SW_SHOWNA);
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar *pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CFrameWnd *site = pBar->GetDockingFrame();
    if (!site)
        site = this;
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                                              (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (bDelay)
        site->DelayRecalcLayout(FALSE);
    else if (bShow || !pBar->IsFloating())
        site->RecalcLayout(FALSE);
    if (pBar->IsFloating()) {
        CWnd *frame = pBar->m_pDockBar->GetParent();
        if (frame && pBar->m_pDockBar->GetDockedVisibleCount() > 0) {
            if (auto *floating = dynamic_cast<CMiniDockFrameWnd *>(frame))
                floating->RecalcLayout(TRUE);
            frame->ShowWindow(SW_SHOWNA);
        } else if (frame && !bShow) {
            frame->ShowWindow(SW_HIDE);
        }
    }
}

CMiniDockFrameWnd *CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CMiniDockFrameWnd *frame = nullptr;
    if (m_pFloatingFrameClass && m_pFloatingFrameClass->IsDerivedFrom(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        CObject *object = m_pFloatingFrameClass->CreateObject();
        frame = static_cast<CMiniDockFrameWnd *>(object);
    } else {
        frame = new (std::nothrow) CMiniDockFrameWnd;
    }
    if (!frame)
        return nullptr;
    if (!frame->Create(this, dwStyle)) {
        // A frame whose window was made deleted itself when it was destroyed.
        if (!frame->m_hWnd && !frame->m_wndDockBar.m_hWnd)
            delete frame;
        return nullptr;
    }
    return frame;
}

CControlBar *CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return nullptr;
    for (CControlBar *bar : m_listControlBars)
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == nID)
            return bar;
    return nullptr;
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar **ppDockBar)
{
    for (DockBarKind const &kind : kDockBars) {
        if (!(dwDockStyle & kind.align))
            continue;
        CDockBar *dock_bar = DockBarFromID(kind.id);
        if (!dock_bar || !dock_bar->IsVisible())
            continue;
        CRect bar_rect;
        dock_bar->GetWindowRect(&bar_rect);
        // An empty dock bar still catches an outline that touches its edge.
        if (bar_rect.Width() == 0)
            ++bar_rect.right;
        if (bar_rect.Height() == 0)
            ++bar_rect.bottom;
        CRect overlap;
        if (overlap.IntersectRect(&bar_rect, &rect)) {
            if (ppDockBar)
                *ppDockBar = dock_bar;
            return kind.align;
        }
    }
    if (ppDockBar)
        *ppDockBar = nullptr;
    return 0;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleLayout) {
        BOOL notify = (m_nIdleFlags & idleNotify) != 0;
        m_nIdleFlags &= ~(idleLayout | idleNotify);
        RecalcLayout(notify);
    }
    return 0;
}

void CFrameWnd::AddControlBar(CControlBar *pBar)
{
    if (pBar && std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar *pBar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

void CFrameWnd::GetDockState(CDockState &state) const
{
    state.Clear();
    for (CControlBar *bar : m_listControlBars) {
        if (!bar->m_hWnd)
            continue;
        auto *info = new CControlBarInfo;
        bar->GetBarInfo(info);
        state.m_arrBarInfo.Add(info);
    }
}

void CFrameWnd::SetDockState(CDockState const &state)
{
    INT_PTR count = state.m_arrBarInfo.GetSize();
    // Floating bars get a floating frame each; the rest are found by ID.
    for (INT_PTR index = 0; index < count; ++index) {
        CControlBarInfo *info = state.m_arrBarInfo[index];
        info->m_pBar = nullptr;
        if (info->m_bFloating) {
            CMiniDockFrameWnd *frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            if (!frame)
                continue;
            CRect rect(info->m_pointPos, CSize(10, 10));
            frame->CalcWindowRect(&rect, CWnd::adjustBorder);
            frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            info->m_pBar = &frame->m_wndDockBar;
        } else {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
        if (info->m_pBar)
            info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
    }
    for (INT_PTR index = 0; index < count; ++index) {
        CControlBarInfo *info = state.m_arrBarInfo[index];
        if (info->m_pBar)
            info->m_pBar->SetBarInfo(info, this);
    }
    for (INT_PTR index = 0; index < count; ++index) {
        CControlBarInfo *info = state.m_arrBarInfo[index];
        if (!info->m_bFloating || !info->m_pBar)
            continue;
        auto *dock_bar = static_cast<CDockBar *>(info->m_pBar);
        auto *frame = static_cast<CMiniDockFrameWnd *>(dock_bar->GetParent());
        if (dock_bar->GetDockedVisibleCount() > 0) {
            frame->RecalcLayout(TRUE);
            frame->ShowWindow(SW_SHOWNA);
        } else if (dock_bar->GetDockedCount() == 0) {
            // Nothing of this frame's took the place.
            frame->DestroyWindow();
        }
        info->m_pBar = nullptr;
    }
    DelayRecalcLayout();
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}

void CFrameWnd::InitialUpdateFrame(CDocument *, BOOL bMakeVisible)
{
    if (!m_pViewActive) {
        CWnd *pane = GetDescendantWindow(static_cast<int>(AFX_IDW_PANE_FIRST), TRUE);
        if (pane && pane->IsKindOf(RUNTIME_CLASS(CView)))
            SetActiveView(static_cast<CView *>(pane), FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    if (bMakeVisible) {
        ActivateFrame();
        if (m_pViewActive)
            m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp *app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto *context = lpCreateStruct ? static_cast<CCreateContext *>(lpCreateStruct->lpCreateParams) : nullptr;
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext *pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd *pOldWnd)
{
    if (m_pViewActive)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    // Bars still registered forget this frame; the floating frames it made go too.
    for (CControlBar *bar : m_listControlBars)
        if (bar->m_pDockSite == this)
            bar->m_pDockSite = nullptr;
    m_listControlBars.clear();
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }

CFrameWnd::~CFrameWnd()
{
    for (CDockBar *dock_bar : m_ownedDockBars)
        delete dock_bar;
}
