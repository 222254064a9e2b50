// CMDIChildWnd: a document frame that lives inside another frame. Hosts
// views like CFrameWnd. Created for a CMDIFrameWnd it becomes a child of
// that frame's MDI client and takes part in its activation; for any other
// frame it is a child of that frame; with none it is a top-level window.
#pragma once

#include <tessiv/platform/frame_wnd.h>

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)

public:
    CMDIChildWnd() = default;

    using CFrameWnd::Create;
    // A child placed at rectDefault fills the client area it lives in; in an
    // MDI client it is made maximized, so it keeps filling it.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        RECT const &rect = rectDefault, CFrameWnd *pParentWnd = nullptr,
                        CCreateContext *pContext = nullptr);
    // Create at rectDefault, titled by the string resource nIDResource (the
    // text before the first '\n'; empty when missing). A null parent means
    // the current thread's main window when that is a frame.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                           CWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr);
    // The frame this child lives in, or null.
    CFrameWnd *GetMDIFrame() const;
    // Through the MDI frame when there is one; otherwise brings the child to
    // the top and gives it the focus.
    void MDIActivate();
    void MDIDestroy();

    // WM_MDIACTIVATE reaches this: on activation the active view, or else
    // the frame, gets the focus. Virtual so that derived frames can follow
    // their activation without a map entry of their own.
    virtual void OnMDIActivate(BOOL bActivate, CWnd *pActivateWnd, CWnd *pDeactivateWnd);

protected:
    afx_msg LRESULT OnMDIActivateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
