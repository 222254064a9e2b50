// The viewer's windows: the main frame (an MDI frame with the tool bar and
// the status bar) and the document frame (a CBarChildFrame whose splitter
// shows the model in two views: the standard pose on the left, the top
// view, or a second standard view, on the right).
#pragma once

#include "model.h"
#include "viewer_view.h"

#include <tessiv/tessiv.h>

#include <vector>

namespace viewer {

class CViewerMainFrame : public CMDIFrameWnd {
public:
    // Creates the window, the status bar and the tool bar (docked at the
    // top, built from the 24-bit strip with a magenta mask). FALSE when a
    // window cannot be made.
    bool CreateAll(CRect const &rect);

    CStatusBar m_statusBar;
    CMyToolBar m_toolBar;
};

class CViewerChildFrame : public CBarChildFrame {
    DECLARE_DYNCREATE(CViewerChildFrame)

public:
    CViewerChildFrame() = default;

    // Registers the main frame's bars as this frame's bars.
    void AdoptBars(CViewerMainFrame &main);
    // The three views: left, right (top view), right (standard, switched to).
    CViewerView *View(int index) const { return m_views[static_cast<std::size_t>(index)]; }
    int ViewCount() const { return static_cast<int>(m_views.size()); }
    ST_SplitterWnd &Splitter() { return m_wndSplitter; }
    // The mouse mode the tool bar chose last (CBaseView::kMouse...).
    int MouseMode() const { return m_mouseMode; }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;

    afx_msg void OnModeRotate() { SetMouseMode(CBaseView::kMouseRotate); }
    afx_msg void OnModePan() { SetMouseMode(CBaseView::kMousePan); }
    afx_msg void OnModeZoom() { SetMouseMode(CBaseView::kMouseZoom); }
    afx_msg void OnTogglePane();
    afx_msg void OnSwitchView();

    DECLARE_MESSAGE_MAP()

private:
    void SetMouseMode(int mode);

    std::vector<CViewerView *> m_views;
    int m_mouseMode = CBaseView::kMouseRotate;
};

}  // namespace viewer
