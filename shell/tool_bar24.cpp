// 24-bit tool bars, their mouse guards and their drag loop.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/shell/tool_bar24.h>

IMPLEMENT_DYNAMIC(CToolBar24, CToolBar)

BEGIN_MESSAGE_MAP(CToolBar24, CToolBar)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

// The run-time class and the map skip CToolBar24 on purpose: CMyToolBar
// gets none of its WM_NCPAINT handling.
IMPLEMENT_DYNAMIC(CMyToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CMyToolBar, CToolBar)
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

// ---- CToolBar24 ---------------------------------------------------------------

CToolBar24::CToolBar24() : m_disabledBitmap(0xFFFFFF), m_normalBitmap(0xFFFFFF) {}

CToolBar24::~CToolBar24()
{
    // The window goes before the image lists its control paints from.
    if (m_hWnd)
        DestroyWindow();
}

void CToolBar24::SetFullColorImage(UINT bitmapId, COLORREF mask)
{
    BuildLists(bitmapId, bitmapId, true, mask);
}

void CToolBar24::SetFullColorImage(UINT bitmapId, UINT disabledBitmapId, COLORREF mask)
{
    BuildLists(bitmapId, disabledBitmapId, false, mask);
}

void CToolBar24::BuildLists(UINT bitmapId, UINT disabledBitmapId, bool disabledFromEffect, COLORREF mask)
{
    auto make_list = [mask](CImageList &list, CBitmap &bitmap) {
        list.DeleteImageList();
        list.Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 1, 1);
        if (bitmap.GetSafeHandle())
            list.Add(&bitmap, mask);
    };
    CToolBarCtrl &control = GetToolBarCtrl();

    m_bitmap.DeleteObject();
    m_bitmap.LoadBitmap(bitmapId);
    make_list(m_hotImageList, m_bitmap);
    control.SetHotImageList(&m_hotImageList);

    m_disabledBitmap.DeleteObject();
    if (m_disabledBitmap.LoadBitmap(disabledBitmapId) && disabledFromEffect)
        m_disabledBitmap.MakeDisabled(mask);
    make_list(m_disabledImageList, m_disabledBitmap);
    control.SetDisabledImageList(&m_disabledImageList);

    m_normalBitmap.DeleteObject();
    if (m_normalBitmap.LoadBitmap(bitmapId))
        m_normalBitmap.MakeNotActive(mask);
    make_list(m_normalImageList, m_normalBitmap);
    control.SetImageList(&m_normalImageList);
}

void CToolBar24::EnableDocking(DWORD style)
{
    m_dwDockStyle = style;
    if (!m_pDockContext)
        m_pDockContext = new MyDockContext(this);
    if (!m_hWndOwner)
        m_hWndOwner = ::GetParent(m_hWnd);
}

void CToolBar24::OnNcPaint() { EraseNonClient(); }

void CToolBar24::EraseNonClient()
{
    CWindowDC dc(this);
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    ScreenToClient(&window);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    window.OffsetRect(-window.left, -window.top);
    DrawBorders(&dc, window);
    dc.IntersectClipRect(&window);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
    DrawGripper(&dc, window);
}

void CToolBar24::DoPaint(CDC *pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CToolBar24::DrawGripper(CDC *pDC, CRect const &rect)
{
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
    CToolBar::DrawGripper(pDC, rect);
}

// ---- CMyToolBar ---------------------------------------------------------------

void CMyToolBar::DisableCloseButton()
{
    CWnd *parent = GetParent();
    CWnd *grandparent = parent ? parent->GetParent() : nullptr;
    if (!grandparent)
        return;
    CWinThread *thread = AfxGetThread();
    CWnd *main = thread ? thread->GetMainWnd() : nullptr;
    if (main && main->m_hWnd == grandparent->m_hWnd)
        return;
    HMENU menu = ::GetSystemMenu(grandparent->m_hWnd, FALSE);
    ::DeleteMenu(menu, 1, MF_BYPOSITION);
    ::EnableMenuItem(menu, SC_CLOSE, MF_DISABLED);
    ::DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

void CMyToolBar::OnWindowPosChanged(WINDOWPOS *) { Default(); }

void CMyToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLButtonDown = true;
    if (!m_bRButtonDown)
        CControlBar::OnLButtonDown(nFlags, point);
}

void CMyToolBar::OnLButtonUp(UINT, CPoint)
{
    m_bLButtonDown = false;
    Default();
}

void CMyToolBar::OnRButtonDown(UINT, CPoint)
{
    if (m_bLButtonDown)
        return;
    m_bRButtonDown = true;
    Default();
}

void CMyToolBar::OnRButtonUp(UINT, CPoint)
{
    if (m_bLButtonDown)
        return;
    m_bRButtonDown = false;
    Default();
}

// ---- MyDockContext ------------------------------------------------------------

void MyDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    PrepareDrag(pt);
    Move(pt);
    TrackDrag();
}

void MyDockContext::Move(CPoint pt)
{
    // Near the right screen edge the vertical outline stops at the limit
    // before it takes the mouse step.
    int limit = GetSystemMetrics(SM_CXSCREEN) - 10;
    if (pt.x > limit) {
        int width = m_rectDragVert.Width();
        m_rectDragVert.left = limit;
        m_rectDragVert.right = limit + width;
    }
    CDockContext::Move(pt);
}

BOOL MyDockContext::TrackDrag()
{
    return TrackLoop([](CDockContext &context, CPoint pt) { static_cast<MyDockContext &>(context).Move(pt); });
}
