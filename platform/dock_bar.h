// CDockBar: the bar along one edge of a frame (or inside a floating frame)
// that holds docked control bars in rows. Its bars are its children; the
// list keeps them in order with null entries as row breaks. Its size is what
// its rows need, so a frame's RecalcLayout places it like any bar.
#pragma once

#include <tessiv/platform/control_bar.h>

#include <vector>

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)

public:
    explicit CDockBar(BOOL bFloating = FALSE);

    using CWnd::Create;

    // Creates the dock bar as an invisible-until-used child with the ID.
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID);

    // Adds the bar (re-parenting it); with a rectangle in screen coordinates
    // the row and the place in it follow the rectangle's top-left, without
    // one the bar starts a new last row.
    void DockControlBar(CControlBar *pBar, LPCRECT lpRect = nullptr);
    // Takes the bar out of the list; FALSE when it is not there.
    BOOL RemoveControlBar(CControlBar *pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    // Index of the bar in the list, -1 when absent.
    int FindBar(CControlBar *pBar, int nPosExclude = -1) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // The docked bars, rows separated by null.
    std::vector<CControlBar *> const &Bars() const { return m_arrBars; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Moves the bars to their places in the current size.
    void LayoutBars();

    BOOL m_bFloating;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();

protected:
    // Where each docked bar sits in the dock bar's client area, by index.
    std::vector<CPoint> m_arrPositions;
    std::vector<CControlBar *> m_arrBars;

    DECLARE_MESSAGE_MAP()
};
