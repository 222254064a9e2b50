// The document frame with its tool bars and splitter.
#include <tessiv/shell/bar_child_frame.h>

#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/mini_dock_frame_wnd.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/view/module_resource.h>

IMPLEMENT_DYNCREATE(CBarChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CBarChildFrame, CMDIChildWnd)
END_MESSAGE_MAP()

CBarChildFrame::CBarChildFrame()
{
    if (CWinThread *thread = AfxGetThread()) {
        CWnd *main = thread->GetMainWnd();
        if (main && main->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            m_pMainFrame = static_cast<CFrameWnd *>(main);
    }
}

CBarChildFrame::~CBarChildFrame() = default;

int CBarChildFrame::ShowBars(int show, int delay)
{
    if (!m_pMainFrame)
        return 0;
    for (CMyToolBar *bar : m_arrToolBars)
        m_pMainFrame->ShowControlBar(bar, show && bar->m_bShown, delay);
    for (CControlBar *bar : m_arrOtherBars)
        m_pMainFrame->ShowControlBar(bar, show, delay);
    return 0;
}

void CBarChildFrame::SaveToolbarStatus()
{
    for (CMyToolBar *bar : m_arrToolBars)
        bar->m_bShown = (bar->GetStyle() & WS_VISIBLE) != 0;
}

void CBarChildFrame::DockControlBarLeftOf(CMyToolBar *bar, CMyToolBar *leftOf)
{
    RecalcLayout(TRUE);
    CRect rect;
    leftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DWORD style = leftOf->GetBarStyle();
    UINT dock_bar_id = 0;
    if (style & CBRS_ALIGN_TOP)
        dock_bar_id = AFX_IDW_DOCKBAR_TOP;
    else if (style & CBRS_ALIGN_BOTTOM)
        dock_bar_id = AFX_IDW_DOCKBAR_BOTTOM;
    else if (style & CBRS_ALIGN_LEFT)
        dock_bar_id = AFX_IDW_DOCKBAR_LEFT;
    else if (style & CBRS_ALIGN_RIGHT)
        dock_bar_id = AFX_IDW_DOCKBAR_RIGHT;
    DockControlBar(bar, dock_bar_id, &rect);
}

void CBarChildFrame::ResizeSplitter()
{
    if (!m_wndSplitter.m_hWnd)
        return;
    if (m_wndSplitter.GetColumnCount() <= 1 && m_wndSplitter.GetRowCount() <= 1)
        return;
    // Both reads go into one minimum, so row 0's is the one used for both.
    int current = 0;
    int minimum = 0;
    m_wndSplitter.GetColumnInfo(0, current, minimum);
    m_wndSplitter.GetRowInfo(0, current, minimum);
    CRect rect;
    GetClientRect(&rect);
    int bar_width = m_wndSplitter.GetCxSplitter();
    if (rect.right >= bar_width)
        rect.right -= bar_width;
    int bar_height = m_wndSplitter.GetCySplitter();
    if (rect.bottom >= bar_height)
        rect.bottom -= bar_height;
    m_wndSplitter.SetColumnInfo(0, (rect.right - rect.left) / 2, minimum);
    m_wndSplitter.SetRowInfo(0, (rect.bottom - rect.top) / 2, minimum);
    m_wndSplitter.RecalcLayout();
}

CMyToolBar *CBarChildFrame::GetControlBar(UINT id)
{
    if (id == 0)
        return nullptr;
    for (CMyToolBar *bar : m_arrToolBars)
        if ((static_cast<UINT>(bar->GetDlgCtrlID()) & 0xFFFF) == id)
            return bar;
    return nullptr;
}

void CBarChildFrame::GetDockState(CDockState &state) const
{
    state.Clear();
    for (CMyToolBar *bar : m_arrToolBars) {
        auto *info = new CControlBarInfo;
        bar->GetBarInfo(info);
        state.m_arrBarInfo.Add(info);
    }
}

void CBarChildFrame::SaveBarState(LPCTSTR profileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(profileName);
}

void CBarChildFrame::LoadBarState(LPCTSTR profileName)
{
    CModuleResourceSwitch module_resources;
    CDockState state;
    state.LoadState(profileName);
    SetDockState(state);
}

void CBarChildFrame::SetDockState(CDockState const &state)
{
    INT_PTR count = state.m_arrBarInfo.GetSize();
    // A floating record gets a floating frame of its own at the stored place,
    // whose dock bar then takes the bar the record names.
    for (INT_PTR i = 0; i < count; ++i) {
        CControlBarInfo *info = state.m_arrBarInfo[i];
        info->m_pBar = nullptr;
        if (info->m_bFloating) {
            CMiniDockFrameWnd *floating = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            if (floating) {
                CRect rect(info->m_pointPos, CSize(10, 10));
                floating->CalcWindowRect(&rect);
                floating->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                CWnd *dock_bar = floating->GetDlgItem(static_cast<int>(AFX_IDW_DOCKBAR_FLOAT));
                if (dock_bar && dock_bar->IsKindOf(RUNTIME_CLASS(CDockBar)))
                    info->m_pBar = static_cast<CDockBar *>(dock_bar);
            }
        } else {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
        if (info->m_pBar)
            info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
    }
    for (INT_PTR i = 0; i < count; ++i) {
        CControlBarInfo *info = state.m_arrBarInfo[i];
        if (info->m_pBar)
            info->m_pBar->SetBarInfo(info, this);
    }
    for (INT_PTR i = 0; i < count; ++i) {
        CControlBarInfo *info = state.m_arrBarInfo[i];
        if (!info->m_bFloating || !info->m_pBar)
            continue;
        auto *dock_bar = static_cast<CDockBar *>(info->m_pBar);
        if (dock_bar->GetDockedVisibleCount() > 0) {
            CFrameWnd *floating = dock_bar->GetParentFrame();
            if (floating) {
                floating->RecalcLayout(TRUE);
                floating->ShowWindow(SW_SHOWNA);
            }
        }
    }
    m_nIdleFlags |= idleLayout | idleNotify;
}
