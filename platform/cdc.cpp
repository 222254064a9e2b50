// Device-context wrappers.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/handle_maps.h>

namespace {

using tessiv_platform::HandleMap;

HandleMap<HDC, CDC> &dc_map()
{
    thread_local HandleMap<HDC, CDC> map;
    return map;
}

}  // namespace

CDC *AfxDcFromHandle(HDC dc) { return CDC::FromHandle(dc); }

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC()
{
    if (m_hDC)
        DeleteDC();
}

CDC *CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    return dc_map().find_or_make(hDC, [](HDC wrapped) {
        auto object = std::make_unique<CDC>();
        object->m_hDC = object->m_hAttribDC = wrapped;
        return object;
    });
}

void CDC::DeleteTempMap()
{
    dc_map().drop_temporaries([](CDC &object) { object.m_hDC = object.m_hAttribDC = nullptr; });
}

BOOL CDC::Attach(HDC hDC)
{
    if (m_hDC || !hDC || !dc_map().add_permanent(hDC, this))
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    dc_map().remove_permanent(dc, this);
    m_hDC = m_hAttribDC = nullptr;
    m_created = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC *pDC)
{
    if (m_hDC)
        return FALSE;
    HDC dc = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    if (!dc || !Attach(dc))
        return FALSE;
    m_created = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CWnd *CDC::GetWindow() const { return CWnd::FromHandle(WindowFromDC(m_hDC)); }

CGdiObject *CDC::SelectObject(CGdiObject *pObject)
{
    if (!pObject || !m_hDC)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}

CBitmap *CDC::SelectObject(CBitmap *pBitmap)
{
    if (!pBitmap || !m_hDC)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)));
}

CBrush *CDC::SelectObject(CBrush *pBrush)
{
    if (!pBrush || !m_hDC)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject)));
}

CGdiObject *CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ stock = GetStockObject(nIndex);
    return stock && m_hDC ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT previous{};
    ::SetViewportOrgEx(m_hDC, x, y, &previous);
    return previous;
}

CPoint CDC::GetViewportOrg() const
{
    POINT origin{};
    ::GetViewportOrgEx(m_hDC, &origin);
    return origin;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT previous{};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &previous);
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
DWORD CDC::GetLayout() const { return ::GetLayout(m_hDC); }
DWORD CDC::SetLayout(DWORD dwLayout) { return ::SetLayout(m_hDC, dwLayout); }
COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

void CDC::FillRect(LPCRECT lpRect, CBrush *pBrush)
{
    if (pBrush)
        ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush *pBrush)
{
    if (pBrush)
        ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                   clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // Top and left stop one pixel short of the far corners, which belong to
    // the right and bottom edges.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC *pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     INT const *lpDxWidths)
{
    return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::ExcludeClipRect(LPCRECT r) { return r ? ExcludeClipRect(r->left, r->top, r->right, r->bottom) : 0; }
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::IntersectClipRect(LPCRECT r) { return r ? IntersectClipRect(r->left, r->top, r->right, r->bottom) : 0; }
int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

CPaintDC::CPaintDC(CWnd *pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    HDC dc = m_hWnd ? ::BeginPaint(m_hWnd, &m_ps) : nullptr;
    if (dc)
        Attach(dc);
}

CPaintDC::~CPaintDC()
{
    if (m_hWnd && IsWindow(m_hWnd))
        ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd *pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (HDC dc = ::GetDC(m_hWnd))
        Attach(dc);
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd *pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (HDC dc = ::GetWindowDC(m_hWnd))
        Attach(dc);
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
