// Device contexts over the GDI layer: CDC owns or wraps one HDC; CPaintDC
// brackets a WM_PAINT with BeginPaint and EndPaint; CClientDC and CWindowDC
// hold a window's client or whole-window DC for their lifetime.
#pragma once

#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/winuser.h>

class CWnd;

class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)

public:
    CDC() = default;
    // Deletes a DC made by CreateCompatibleDC; attached DCs are deleted too,
    // so callers detach DCs they do not own.
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // A temporary wrapper that does not own the DC, or null for null.
    static CDC *FromHandle(HDC hDC);
    static void DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC *pDC);
    BOOL DeleteDC();
    CWnd *GetWindow() const;

    // Selection returns the previously selected object (a temporary wrapper).
    CGdiObject *SelectObject(CGdiObject *pObject);
    CBitmap *SelectObject(CBitmap *pBitmap);
    CBrush *SelectObject(CBrush *pBrush);
    CGdiObject *SelectStockObject(int nIndex);
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);
    int GetDeviceCaps(int nIndex) const;
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int nWidth, int nHeight);

    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    DWORD GetLayout() const;
    DWORD SetLayout(DWORD dwLayout);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF GetPixel(int x, int y) const;
    void FillRect(LPCRECT lpRect, CBrush *pBrush);
    void FrameRect(LPCRECT lpRect, CBrush *pBrush);
    // Fills with a colour through the background colour, which it leaves set.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // A one-pixel frame: top and left in the first colour, right and bottom
    // in the second.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void DrawFocusRect(LPCRECT lpRect);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC *pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    INT const *lpDxWidths);

    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT lpRect);
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int GetClipBox(LPRECT lpRect) const;

private:
    bool m_created = false;  // made by CreateCompatibleDC
};

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)

public:
    explicit CPaintDC(CWnd *pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)

public:
    // A null window gives the screen DC.
    explicit CClientDC(CWnd *pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)

public:
    // A null window gives the screen DC.
    explicit CWindowDC(CWnd *pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
