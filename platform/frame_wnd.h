// CFrameWnd: a window that hosts views and control bars. It creates its
// first view from the creation context, keeps the active view (which gets
// commands first), lays out its control bars along its edges with the view
// pane in the rest (RecalcLayout), and deletes itself when its window is
// destroyed.
#pragma once

#include <tessiv/platform/create_context.h>
#include <tessiv/platform/cwnd.h>

class CView;
class CDocument;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd() = default;

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

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd *pOldWnd);
    afx_msg void OnDestroy();

protected:
    // Creates the view the context names, if any.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext);
    void PostNcDestroy() override;

    CView *m_pViewActive = nullptr;

    DECLARE_MESSAGE_MAP()
};
