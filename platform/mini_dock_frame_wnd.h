// CMiniDockFrameWnd: the floating frame of a frame's bars. It holds one
// floating dock bar (control ID AFX_IDW_DOCKBAR_FLOAT) that carries the
// floating bar, sizes itself around it, lets its caption drag the bar, and
// hides the bar rather than closing.
#pragma once

#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/mini_frame_wnd.h>

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)

public:
    CMiniDockFrameWnd();

    // Creates the frame (hidden) for the frame pParent and its dock bar with
    // the bar style (CBRS_ALIGN_TOP: horizontal, CBRS_ALIGN_LEFT: vertical).
    virtual BOOL Create(CWnd *pParent, DWORD dwBarStyle);
    using CMiniFrameWnd::Create;
    // Sizes the frame around its dock bar.
    void RecalcLayout(BOOL bNotify = TRUE) override;

    afx_msg void OnClose();
    // A press on the caption drags the floating bar.
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);

    CDockBar m_wndDockBar;

protected:
    DECLARE_MESSAGE_MAP()
};
