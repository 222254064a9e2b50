// CFrameWnd: a window that hosts views and control bars. It creates its
// first view from the creation context, keeps the active view (which gets
// commands first), lays out its control bars along its edges with the view
// pane in the rest (RecalcLayout), and deletes itself when its window is
// destroyed.
//
// Docking: EnableDocking gives the frame a dock bar on each edge the style
// names; DockControlBar puts a bar into one of them, FloatControlBar into a
// floating frame of its own (CreateFloatingFrame); RecalcLayout places the
// dock bars and other bars around the client. DelayRecalcLayout marks the
// layout for the next idle time (WM_IDLEUPDATECMDUI, which the thread's idle
// processing sends to its main window and every descendant), and
// LoadBarState/SaveBarState keep the bars' layout in the profile
// (platform/dock_state.h).
#pragma once

#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/create_context.h>
#include <tessiv/platform/cwnd.h>

#include <vector>

class CView;
class CDocument;
class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;

// Sent by the idle processing to the main window and its descendants.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd() = default;
    // Deletes the dock bars EnableDocking made.
    ~CFrameWnd() override;

    static CRect const rectDefault;  // lets the system place and size the frame

    using CWnd::Create;
    // A menu name cannot be loaded yet: frames are made without menus.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        RECT const &rect = rectDefault, CWnd *pParentWnd = nullptr,
                        LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                        CCreateContext *pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT &cs) override;

    // Makes a view of pContext->m_pNewViewClass as a child with the control
    // ID; null when the class is missing, not a window class, or creation
    // fails (the view then deletes itself).
    virtual CWnd *CreateView(CCreateContext *pContext, UINT nID = AFX_IDW_PANE_FIRST);
    CView *GetActiveView() const { return m_pViewActive; }
    // With bNotify the old view gets OnActivateView(FALSE, ...) and the new
    // one OnActivateView(TRUE, ...). A null view clears the active view.
    void SetActiveView(CView *pViewNew, BOOL bNotify = TRUE);
    virtual CDocument *GetActiveDocument();
    // Control bars (visible children that are CControlBar) go to their edges
    // in child order, the pane AFX_IDW_PANE_FIRST fills what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Makes the first pane the active view when there is none, sends
    // WM_INITIALUPDATE to every descendant and shows the frame when asked.
    void InitialUpdateFrame(CDocument *pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Routes a command to the active view, then to the frame, then to the
    // application object.
    BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo) override;

    // Docking.
    // Creates the dock bars for the CBRS_ALIGN_ edges of the style that do
    // not exist yet (top, bottom, left, right, in that order).
    void EnableDocking(DWORD dwDockStyle);
    // Docks into the dock bar with the ID (0: the first of the frame's dock
    // bars the bar may dock in), at the screen rectangle when given.
    void DockControlBar(CControlBar *pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar *pBar, CDockBar *pDockBar, LPCRECT lpRect = nullptr);
    // Floats the bar in a new floating frame at the screen point, laid out
    // horizontally for CBRS_ALIGN_TOP, vertically for CBRS_ALIGN_LEFT.
    void FloatControlBar(CControlBar *pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Shows or hides the bar (its floating frame follows); with bDelay the
    // layout is only marked for the next idle time.
    void ShowControlBar(CControlBar *pBar, BOOL bShow, BOOL bDelay);
    // A new hidden floating frame for this frame's bars, or null.
    CMiniDockFrameWnd *CreateFloatingFrame(DWORD dwStyle);
    // The bar of this frame (docked, floating or plain) with the control ID.
    CControlBar *GetControlBar(UINT nID);
    // The dock style (CBRS_ALIGN_ flag) of a dock bar of this frame that the
    // screen rectangle overlaps and the bar style allows, 0 when none; the
    // dock bar itself through ppDockBar.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar **ppDockBar = nullptr);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    void LoadBarState(LPCTSTR lpszProfileName);
    void SaveBarState(LPCTSTR lpszProfileName) const;
    void SetDockState(CDockState const &state);
    void GetDockState(CDockState &state) const;
    // Bars register here when they are created in or docked to this frame.
    void AddControlBar(CControlBar *pBar);
    void RemoveControlBar(CControlBar *pBar);
    // The frame's dock bar with the ID, or null.
    CDockBar *DockBarFromID(UINT nID) const;

    // Idle flags (m_nIdleFlags).
    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;
    // The bars of this frame and of its floating frames; not owned.
    std::vector<CControlBar *> m_listControlBars;
    CRuntimeClass *m_pFloatingFrameClass = nullptr;  // CMiniDockFrameWnd when null

    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd *pOldWnd);
    afx_msg void OnDestroy();

protected:
    // Creates the view the context names, if any.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext);
    void PostNcDestroy() override;

    CView *m_pViewActive = nullptr;
    std::vector<CDockBar *> m_ownedDockBars;  // made by EnableDocking

    DECLARE_MESSAGE_MAP()
};
