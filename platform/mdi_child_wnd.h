// CMDIChildWnd: a document frame that lives inside another frame. Hosts
// views like CFrameWnd; it is a child window of the frame given to Create
// (a top-level window when none is given).
#pragma once

#include <tessiv/platform/frame_wnd.h>

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)

public:
    CMDIChildWnd() = default;

    using CFrameWnd::Create;
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        RECT const &rect = rectDefault, CFrameWnd *pParentWnd = nullptr,
                        CCreateContext *pContext = nullptr);
    // The frame this child lives in, or null.
    CFrameWnd *GetMDIFrame() const;
    // Brings the child to the top and gives it the focus.
    void MDIActivate();
    void MDIDestroy();

    DECLARE_MESSAGE_MAP()
};
