// ST_SplitterWnd: the two-pane splitter of the document windows. Either side
// can be hidden while the other fills the window and shown again; each side
// can hold several views of which one is shown; a side can hold another
// splitter (a sub-division, one level deeper); the layout is kept in the
// application profile; the active pane's border is drawn in yellow.
#pragma once

#include <tessiv/platform/splitter_wnd.h>

#include <vector>

// Owns the views it makes (they are its child windows) and its
// sub-divisions, which it frees after its own layout, theirs included, has
// been written to the profile. "Side" s is the pane (0, s) of a vertical
// split and (s, 0) of a horizontal one.
class ST_SplitterWnd : public CSplitterWnd {
    DECLARE_DYNAMIC(ST_SplitterWnd)

public:
    // level names the profile entry "Panes_<level>".
    explicit ST_SplitterWnd(int level = 0);
    // Writes the layout to the profile (SaveToRegistry) first.
    ~ST_SplitterWnd() override;

    ST_SplitterWnd(ST_SplitterWnd const &) = delete;
    ST_SplitterWnd &operator=(ST_SplitterWnd const &) = delete;

    using CSplitterWnd::Create;
    // A static splitter of 1 x 2 panes (vertical) or 2 x 1 with the given
    // views (either may be null); failures of the steps are not reported.
    bool Create(CWnd *parent, CRuntimeClass *view0, CRuntimeClass *view1, CCreateContext *context,
                bool vertical, int id);
    // A splitter one level deeper in the side's pane; returns it.
    ST_SplitterWnd *AddSubDivision(int side, CRuntimeClass *view0, CRuntimeClass *view1,
                                   CCreateContext *context, bool vertical);
    // One more view in the side, shown in place of the current one; its
    // index, or -1 when it cannot be made.
    int AddView(int side, CRuntimeClass *viewClass, CCreateContext *context);
    // Shows view number view of the side; -1 shows the next one, cyclically.
    void SwitchToView(int side, int view);
    // Hides the side when nothing is hidden, shows it when it is the hidden
    // one, else does nothing.
    void ToggleSide(int side);
    bool IsSideHidden(int side) const;
    // Reads the stored layout, applies it, then does the same for the
    // sub-divisions. The owner calls it once the views exist.
    void SetInitialStatus();
    void SetMinSize(int side, int size);
    void SetRegistryKey(char const *section);
    // The split-done flag: set when tracking a split bar ends.
    bool &SplitWindow() { return m_splitDone; }
    bool IsSplittverticaly() const { return m_vertical; }
    // Bar width and height with their borders.
    int GetCxSplitter() const { return m_cxSplitter + 2 * m_cxBorder; }
    int GetCySplitter() const { return m_cySplitter + 2 * m_cyBorder; }
    bool IsSplitted() const;
    // Removes every row and column but the active pane's.
    void UndoSplit();
    // Splits at once at the keyboard split's starting position.
    BOOL DoAutomaticSplit();
    BOOL DoKeyboardSplit() override;
    // Invalidates every split bar and border.
    void RefreshSplitBars();
    void StopTracking(BOOL accept) override;

    // Views made by AddView for a side, in the order made, and which is shown.
    std::vector<CWnd *> const &Views(int side) const { return m_views[side]; }
    int CurrentView(int side) const { return m_currentView[side]; }
    ST_SplitterWnd *SubDivision(int side) const { return m_subDivision[side]; }

protected:
    void OnDrawSplitter(CDC *pDC, ESplitType nType, CRect const &rect) override;
    void StartTracking(int ht) override;

    void SaveToRegistry();
    void RememberSize();
    void HideColumn(int col);
    void ShowColumn();
    void HideRow(int row);
    void ShowRow();
    bool HideView(int row, int col);
    bool ShowView(int row, int col, CWnd *window);
    void SideToRowCol(int side, int *row, int *col) const;

    // With a side hidden the bar is inert: these pass the message to
    // Default. They act only where a derived class's message map routes the
    // messages to them.
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
    // Does nothing, so double-clicking a bar has no effect.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);

    ST_SplitterWnd *m_subDivision[2] = {nullptr, nullptr};
    int m_hiddenColumn = -1;
    int m_hiddenRow = -1;
    int m_paneSize[2] = {100, 100};
    int m_minSize[2] = {10, 10};
    bool m_vertical = false;
    CString m_registrySection;
    int m_level;
    std::vector<CWnd *> m_views[2];
    int m_currentView[2] = {0, 0};
    bool m_splitDone = false;
    bool m_automaticSplit = false;

    DECLARE_MESSAGE_MAP()

private:
    HCURSOR m_trackingCursor = nullptr;  // the shape before tracking began
};
