#include "frames.h"

#include "resource.h"

namespace viewer {
namespace {

// Status-bar panes: 0 the pick result or the session's note, 1 to 3 the
// coordinates under the mouse.
UINT const kIndicators[] = {ID_SEPARATOR, 1001, 1002, 1003};
UINT const kButtons[] = {ID_MODE_ROTATE, ID_MODE_PAN, ID_MODE_ZOOM, ID_SEPARATOR, ID_TOGGLE_PANE};
COLORREF const kMask = RGB(255, 0, 255);

}  // namespace

bool CViewerMainFrame::CreateAll(CRect const &rect)
{
    CString title;
    char text[64] = {};
    if (LoadStringA(nullptr, IDR_MAINFRAME, text, static_cast<int>(sizeof text)) > 0)
        title = text;
    if (!Create(nullptr, title.IsEmpty() ? "Tessiv viewer" : title.GetString(), WS_OVERLAPPEDWINDOW, rect))
        return false;
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_statusBar.Create(this))
        return false;
    m_statusBar.SetIndicators(kIndicators, 4);
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                            CRect(0, 0, 0, 0), IDW_VIEW_BAR))
        return false;
    m_toolBar.SetButtons(kButtons, static_cast<int>(sizeof kButtons / sizeof kButtons[0]));
    m_toolBar.SetSizes(CSize(CToolBar24::kImageSize + 7, CToolBar24::kImageSize + 6),
                       CSize(CToolBar24::kImageSize, CToolBar24::kImageSize));
    m_toolBar.SetFullColorImage(IDB_TOOLBAR, kMask);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    return true;
}

IMPLEMENT_DYNCREATE(CViewerChildFrame, CBarChildFrame)

BEGIN_MESSAGE_MAP(CViewerChildFrame, CBarChildFrame)
    ON_COMMAND(ID_MODE_ROTATE, OnModeRotate)
    ON_COMMAND(ID_MODE_PAN, OnModePan)
    ON_COMMAND(ID_MODE_ZOOM, OnModeZoom)
    ON_COMMAND(ID_TOGGLE_PANE, OnTogglePane)
    ON_COMMAND(ID_SWITCH_VIEW, OnSwitchView)
END_MESSAGE_MAP()

void CViewerChildFrame::AdoptBars(CViewerMainFrame &main)
{
    m_arrToolBars.push_back(&main.m_toolBar);
    m_arrOtherBars.push_back(&main.m_statusBar);
}

BOOL CViewerChildFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext *pContext)
{
    // The left pane is made with the splitter; the right side gets two views
    // to switch between, the top view shown first.
    m_wndSplitter.Create(this, RUNTIME_CLASS(CViewerView), nullptr, pContext, true, AFX_IDW_PANE_FIRST);
    auto *left = dynamic_cast<CViewerView *>(m_wndSplitter.GetPane(0, 0));
    if (!left)
        return FALSE;
    m_views.push_back(left);
    for (int i = 0; i < 2; ++i) {
        if (m_wndSplitter.AddView(1, RUNTIME_CLASS(CViewerView), pContext) < 0)
            return FALSE;
        auto *right = dynamic_cast<CViewerView *>(m_wndSplitter.Views(1).back());
        if (!right)
            return FALSE;
        m_views.push_back(right);
    }
    m_wndSplitter.SwitchToView(1, 0);
    SetActiveView(left, FALSE);
    return TRUE;
}

void CViewerChildFrame::SetMouseMode(int mode)
{
    m_mouseMode = mode;
    for (CViewerView *view : m_views)
        view->SetMouseMode(mode);
}

void CViewerChildFrame::OnTogglePane() { m_wndSplitter.ToggleSide(1); }

void CViewerChildFrame::OnSwitchView() { m_wndSplitter.SwitchToView(1, -1); }

}  // namespace viewer
