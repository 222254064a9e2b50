// Frames: view creation from a context, the active view, layout and command routing.
#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/cview.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/win_app.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

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
    if (!m_hWnd)
        return;
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
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }
