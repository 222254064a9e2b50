// The Win32 base types the system is written against: integer and handle
// types, RECT/POINT/SIZE with their MFC wrappers CRect/CPoint/CSize, and
// COLORREF with its byte macros, and the word-packing macros of LPARAM. Sizes follow the original 32-bit platform
// where they reach files or arithmetic: BOOL is int, UINT 32-bit, DWORD and
// COLORREF uint32_t; WPARAM/LPARAM/LRESULT are pointer-sized.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using ATOM = std::uint16_t;
using LPVOID = void *;
using LPCVOID = void const *;
using LPSTR = char *;
using LPCSTR = char const *;
using LPCTSTR = char const *;
using LPTSTR = char *;
using TCHAR = char;

// Handles are opaque: each names an entry of the platform layer's tables and
// is never dereferenced, so a stale handle is refused rather than followed.
#define TESSIV_DECLARE_HANDLE(name) \
    struct name##__;                \
    using name = name##__ *
TESSIV_DECLARE_HANDLE(HWND);
TESSIV_DECLARE_HANDLE(HDC);
TESSIV_DECLARE_HANDLE(HGLRC);
TESSIV_DECLARE_HANDLE(HBITMAP);
TESSIV_DECLARE_HANDLE(HBRUSH);
TESSIV_DECLARE_HANDLE(HPEN);
TESSIV_DECLARE_HANDLE(HFONT);
TESSIV_DECLARE_HANDLE(HRGN);
TESSIV_DECLARE_HANDLE(HICON);
TESSIV_DECLARE_HANDLE(HMENU);
TESSIV_DECLARE_HANDLE(HINSTANCE);
TESSIV_DECLARE_HANDLE(HRSRC);
#undef TESSIV_DECLARE_HANDLE
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using HGDIOBJ = void *;
using HANDLE = void *;
using HGLOBAL = void *;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A COLORREF is 0x00BBGGRR: red in the low byte.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xff); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xff); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xff); }

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xffff); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xffff); }
constexpr BYTE LOBYTE(std::uintptr_t value) { return static_cast<BYTE>(value & 0xff); }
constexpr BYTE HIBYTE(std::uintptr_t value) { return static_cast<BYTE>((value >> 8) & 0xff); }
constexpr DWORD MAKELONG(WORD low, WORD high)
{
    return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
// Packs two 16-bit words; negative coordinates keep their low 16 bits, as on Win32.
constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>(static_cast<LONG>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}
constexpr WPARAM MAKEWPARAM(int low, int high)
{
    return static_cast<WPARAM>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high)));
}
constexpr LRESULT MAKELRESULT(int low, int high) { return MAKELPARAM(low, high); }
// Mouse coordinates are signed 16-bit words: a point left of a window is negative.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp))); }
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return static_cast<SHORT>(HIWORD(wp)); }
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp) { return LOWORD(wp); }

struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};
struct RECT {
    LONG left, top, right, bottom;
};
using LPPOINT = POINT *;
using LPRECT = RECT *;
using LPCRECT = RECT const *;

// The rectangle functions of USER32: a rectangle holds the pixels from
// left/top up to but excluding right/bottom.
inline BOOL IsRectEmpty(RECT const *r) { return !r || r->right <= r->left || r->bottom <= r->top; }
inline BOOL SetRect(RECT *r, int left, int top, int right, int bottom)
{
    if (!r)
        return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}
inline BOOL SetRectEmpty(RECT *r) { return SetRect(r, 0, 0, 0, 0); }
inline BOOL OffsetRect(RECT *r, int dx, int dy)
{
    if (!r)
        return FALSE;
    *r = RECT{r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
    return TRUE;
}
inline BOOL InflateRect(RECT *r, int dx, int dy)
{
    if (!r)
        return FALSE;
    *r = RECT{r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
    return TRUE;
}
inline BOOL PtInRect(RECT const *r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
inline BOOL EqualRect(RECT const *a, RECT const *b)
{
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}
// An empty intersection is stored as the empty rectangle (0, 0, 0, 0).
inline BOOL IntersectRect(RECT *out, RECT const *a, RECT const *b)
{
    if (!out || !a || !b)
        return FALSE;
    RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
           a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
    if (IsRectEmpty(&r)) {
        *out = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *out = r;
    return TRUE;
}
// Empty inputs do not widen the union.
inline BOOL UnionRect(RECT *out, RECT const *a, RECT const *b)
{
    if (!out || !a || !b)
        return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        *out = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (IsRectEmpty(a)) {
        *out = *b;
        return TRUE;
    }
    if (IsRectEmpty(b)) {
        *out = *a;
        return TRUE;
    }
    *out = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
                a->right > b->right ? a->right : b->right, a->bottom > b->bottom ? a->bottom : b->bottom};
    return TRUE;
}

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    CPoint(POINT p) : POINT(p) {}

    CPoint &operator+=(POINT p) { x += p.x; y += p.y; return *this; }
    CPoint &operator-=(POINT p) { x -= p.x; y -= p.y; return *this; }
    friend CPoint operator+(CPoint a, POINT b) { return a += b; }
    friend CPoint operator-(CPoint a, POINT b) { return a -= b; }
    friend bool operator==(CPoint const &a, CPoint const &b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(CPoint const &a, CPoint const &b) { return !(a == b); }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
    CSize(SIZE s) : SIZE(s) {}

    friend bool operator==(CSize const &a, CSize const &b) { return a.cx == b.cx && a.cy == b.cy; }
    friend bool operator!=(CSize const &a, CSize const &b) { return !(a == b); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(RECT const &r) : RECT(r) {}
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    BOOL IntersectRect(RECT const *a, RECT const *b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(RECT const *a, RECT const *b) { return ::UnionRect(this, a, b); }
    void NormalizeRect()
    {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    operator RECT *() { return this; }
    operator RECT const *() const { return this; }

    friend bool operator==(CRect const &a, CRect const &b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(CRect const &a, CRect const &b) { return !(a == b); }
};
