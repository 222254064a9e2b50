// CMiniFrameWnd: a frame with a caption and a sizing frame, as floating
// bars use (platform/mini_dock_frame_wnd.h).
#pragma once

#include <tessiv/platform/frame_wnd.h>

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)

public:
    CMiniFrameWnd() = default;

    // A top-level popup owned by pParentWnd's top-level window (the control
    // ID and context are not used). The frame's own Create stays available.
    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, RECT const &rect, CWnd *pParentWnd,
                UINT nID, CCreateContext *pContext = nullptr) override;
    using CFrameWnd::Create;

    // Grows a client rectangle to the window rectangle of a mini frame with
    // the style, as the window layer computes non-client areas.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = 0, DWORD dwExStyle = 0);
};
