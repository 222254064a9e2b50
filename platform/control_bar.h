// CControlBar: the base of the bars a frame lays out along its edges. A bar
// keeps its bar style (CBRS_ flags) apart from its window style and reports
// the size it wants through CalcFixedLayout.
#pragma once

#include <tessiv/platform/cwnd.h>

// Bar styles: the edge a bar is aligned to and the borders it draws.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // The bar's size along and across its edge: cx for a bar on the top or
    // bottom edge is its length (stretched bars take the whole edge).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);

protected:
    CControlBar() = default;
    DWORD m_dwStyle = 0;
};
