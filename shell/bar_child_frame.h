// CBarChildFrame: the MDI child frame of a document window. It owns the
// two-pane splitter the host creates its views in, and keeps two lists of
// control bars that it shows and hides in the application's main window:
// the document's tool bars and other bars. It remembers which tool bars the
// user had closed, docks one tool bar beside another, splits its client area
// evenly, and keeps the docking layout of its tool bars in the profile.
#pragma once

#include <tessiv/platform/mdi_child_wnd.h>
#include <tessiv/shell/st_splitter_wnd.h>
#include <tessiv/shell/tool_bar24.h>

#include <vector>

class CDockState;

// The bars in the lists are borrowed: the derived frame creates, fills and
// destroys them. The splitter is a member and writes its layout to the
// profile when the frame object goes.
class CBarChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CBarChildFrame)

protected:
    // Takes the current thread's main window (null without a thread object
    // or when the main window is not a frame).
    CBarChildFrame();

public:
    ~CBarChildFrame() override;

    CBarChildFrame(CBarChildFrame const &) = delete;
    CBarChildFrame &operator=(CBarChildFrame const &) = delete;

    // Shows (show non-zero) or hides the bars of both lists in the main
    // window, with the main window's ShowControlBar and its delay flag. A
    // tool bar whose shown flag is false stays hidden. Returns 0.
    virtual int ShowBars(int show, int delay);
    // Each tool bar's shown flag := whether its window has WS_VISIBLE.
    void SaveToolbarStatus();
    // Docks bar into this frame's dock bar on leftOf's edge, one pixel right
    // of leftOf's window rectangle.
    void DockControlBarLeftOf(CMyToolBar *bar, CMyToolBar *leftOf);
    // Gives the splitter's first column and first row half of the client
    // area, less the split bar. Nothing without a split.
    void ResizeSplitter();
    // Reads the tool bars' dock layout saved under the profile name (with
    // the module's resources current) and applies it.
    void LoadBarState(LPCTSTR profileName);
    void SaveBarState(LPCTSTR profileName) const;
    // Applies a layout to this frame's tool bars; records of other bars are
    // skipped. The layout is recalculated at the next idle time.
    void SetDockState(CDockState const &state);
    // One record per tool bar, in list order; other bars are not part of it.
    void GetDockState(CDockState &state) const;
    // The tool bar with the control ID; null for 0 or when none has it.
    CMyToolBar *GetControlBar(UINT id);

protected:
    CFrameWnd *m_pMainFrame = nullptr;
    std::vector<CMyToolBar *> m_arrToolBars;
    std::vector<CControlBar *> m_arrOtherBars;
    // Declared last so it is destroyed first, writing its layout while the
    // rest of the frame object still exists.
    ST_SplitterWnd m_wndSplitter{0};

    DECLARE_MESSAGE_MAP()
};
