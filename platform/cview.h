// CView: a child window that shows a document inside a frame. It paints
// through OnDraw on every WM_PAINT, gets OnInitialUpdate once its frame is
// set up, is told by its frame when it becomes or stops being the active
// view, and deletes itself when its window is destroyed.
#pragma once

#include <tessiv/platform/cwnd.h>

class CDocument;
struct CPrintInfo;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)

public:
    // Leaves the document it belongs to.
    ~CView() override;

    CDocument *GetDocument() const { return m_pDocument; }

    // Views are made on the heap by their frame and delete themselves.
    BOOL PreCreateWindow(CREATESTRUCT &cs) override;
    // Routes a command to the view, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo) override;

    // The base calls OnUpdate(null, 0, null), which invalidates the window.
    virtual void OnInitialUpdate();
    // bActivate is the new state; activating a view gives it the focus.
    virtual void OnActivateView(BOOL bActivate, CView *pActivateView, CView *pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd *pFrameWnd);
    virtual void OnUpdate(CView *pSender, LPARAM lHint, CObject *pHint);
    virtual void OnPrepareDC(CDC *pDC, CPrintInfo *pInfo = nullptr);
    virtual void OnDraw(CDC *pDC) = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Stops being its frame's active view.
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    // Makes this view its frame's active view.
    afx_msg int OnMouseActivate(CWnd *pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

protected:
    CView() = default;
    void PostNcDestroy() override;

    CDocument *m_pDocument = nullptr;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};
