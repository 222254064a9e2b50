// CMDIFrameWnd: the main frame of a multiple-document application. Its
// client area holds the MDI client window (control ID AFX_IDW_PANE_FIRST,
// so RecalcLayout gives it what the control bars leave), in which the
// document frames (CMDIChildWnd) live. The frame keeps which child frame is
// active and routes commands to it before handling them itself.
#pragma once

#include <tessiv/platform/frame_wnd.h>

class CMenu;
class CMDIChildWnd;

// MDI messages: sent to the MDI client (activate, destroy, next, get
// active) and, for WM_MDIACTIVATE, to the children losing and gaining
// activation (wParam the one losing it, lParam the one gaining it).
constexpr UINT WM_MDIDESTROY = 0x0221;
constexpr UINT WM_MDINEXT = 0x0224;
constexpr UINT WM_MDIMAXIMIZE = 0x0225;
constexpr UINT WM_MDIGETACTIVE = 0x0229;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)

public:
    CMDIFrameWnd() = default;

    // Makes the MDI client window filling the client area. The window menu
    // is not used: frames carry no menus here. FALSE when a client exists
    // already or cannot be made.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu *pWindowMenu);
    // Creates the frame as a top-level window titled by the string resource
    // nIDResource (the text before the first '\n'; empty when missing).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW, CWnd *pParentWnd = nullptr,
                           CCreateContext *pContext = nullptr);

    // Activates a child frame of the MDI client: it goes to the top, the
    // previous active child gets WM_MDIACTIVATE (FALSE), the new one
    // WM_MDIACTIVATE (TRUE). Anything else is ignored.
    void MDIActivate(CWnd *pWndActivate);
    // The active child frame, or null; *pbMaximized tells whether it has
    // WS_MAXIMIZE. A destroyed active child gives way to the topmost one.
    CMDIChildWnd *MDIGetActive(BOOL *pbMaximized = nullptr) const;
    // Activates the child below the active one (the topmost after the last).
    void MDINext();
    // Makes the child fill the MDI client and keep filling it when it resizes.
    void MDIMaximize(CWnd *pWnd);

    // The active child frame first, then the frame and the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo) override;
    CDocument *GetActiveDocument() override;

    HWND m_hWndMDIClient = nullptr;

protected:
    // Makes the MDI client; the context's view class, if any, is not used.
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;

    DECLARE_MESSAGE_MAP()
};
