// CMiniFrameWnd: a frame with a caption and a sizing frame, as floating
// bars use (platform/mini_dock_frame_wnd.h).
#pragma once

#include <tessiv/platform/frame_wnd.h>

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)

public:
    CMiniFrameWnd() = default;

    // A top-level popup owned by pParentWnd's top-level window.
    virtual BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, RECT const &rect,
                        CWnd *pParentWnd = nullptr, UINT nID = 0);
    using CFrameWnd::Create;

    // Grows a client rectangle to the window rectangle of a mini frame with
    // the style, as the window layer computes non-client areas.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = 0, DWORD dwExStyle = 0);
};
