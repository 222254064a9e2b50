// CSplitterWnd: a static splitter, a child window whose client area is cut
// into a grid of panes (at most 16 x 16) separated by split bars. Each pane
// is a child window with the control ID AFX_IDW_PANE_FIRST + row * 16 + col;
// the splitter finds its panes by those IDs alone, so a derived class may
// hide a pane or move it to another cell by changing its ID.
//
// Layout: every row and column has an ideal size (set by SetRowInfo,
// SetColumnInfo, CreateView and tracking) and a minimum. RecalcLayout gives
// each row and column but the last its ideal size, clipped to the space
// left, and the last one the rest; one whose size comes out below its
// minimum gets size 0 (its panes are moved to an empty rectangle). Between
// two cells lies a gap of m_cxSplitterGap (m_cySplitterGap) pixels; each
// pane is inset by m_cxBorder (m_cyBorder) from its cell, and the frame in
// that inset is the pane border the splitter paints (splitBorder).
//
// Tracking: a left press on a split bar (or DoKeyboardSplit) starts moving
// an inverted tracker with the mouse or the arrow keys; releasing the button
// or Enter accepts the new position, Escape, losing the capture or
// WM_CANCELMODE cancel it. The splitter holds the capture while tracking.
//
// Painting goes through OnDrawSplitter for every bar and pane border, so a
// derived class can colour them; with no device context an item's rectangle
// is invalidated instead.
#pragma once

#include <tessiv/platform/cdc.h>
#include <tessiv/platform/create_context.h>
#include <tessiv/platform/cwnd.h>

struct CRuntimeClass;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)

public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    // Creates the window with nRows x nCols empty cells (each 1 to 16); the
    // panes are added with CreateView. FALSE when the counts are out of range,
    // the window exists already or cannot be created.
    virtual BOOL CreateStatic(CWnd *pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                              UINT nID = AFX_IDW_PANE_FIRST);
    // Makes a view of pViewClass as the pane at (row, col); sizeInit becomes
    // the ideal width of the column and the ideal height of the row. FALSE
    // when the cell is outside the grid, the class is not a window class or
    // the window cannot be created. Lays out when the splitter is visible.
    virtual BOOL CreateView(int row, int col, CRuntimeClass *pViewClass, SIZE sizeInit,
                            CCreateContext *pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetMaxRowCount() const { return m_nMaxRows; }
    int GetMaxColumnCount() const { return m_nMaxCols; }
    // Current size (from the last layout) and minimum of a row or column;
    // rows and columns up to the maximum counts are valid.
    void GetRowInfo(int row, int &cyCur, int &cyMin) const;
    void GetColumnInfo(int col, int &cxCur, int &cxMin) const;
    // Sets the ideal size and the minimum; takes effect at RecalcLayout.
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void SetColumnInfo(int col, int cxIdeal, int cxMin);

    // The child with the control ID of (row, col), or null.
    CWnd *GetPane(int row, int col) const;
    // TRUE when pWnd is a child of this splitter whose ID names a cell of the
    // current grid; its row and column are returned when asked.
    BOOL IsChildPane(CWnd *pWnd, int *pRow, int *pCol);
    int IdFromRowCol(int row, int col) const;

    // The pane that is the parent frame's active view, or else the pane that
    // has the focus; null when neither is a pane of this splitter.
    virtual CWnd *GetActivePane(int *pRow = nullptr, int *pCol = nullptr);
    // Makes pWnd (null: the pane at (row, col)) the frame's active view when
    // it is a view in a frame, else gives it the focus.
    virtual void SetActivePane(int row, int col, CWnd *pWnd = nullptr);

    // Places every pane from the row and column infos and repaints the bars.
    virtual void RecalcLayout();
    // Destroy the panes of a row (column), move the ones below (to the right)
    // up by one cell, and lay out. Nothing when it is the last row (column).
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);

    // Starts tracking the bar between the first two rows or columns (both,
    // at their crossing, when the grid has several of each), with the cursor
    // put at the tracker's centre. FALSE when there is no bar.
    virtual BOOL DoKeyboardSplit();

    enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
    virtual void OnDrawSplitter(CDC *pDC, ESplitType nType, CRect const &rect);
    virtual void OnInvertTracker(CRect const &rect);

    // Hit-test codes: the bar below row n is vSplitterBar1 + n, the bar to
    // the right of column n is hSplitterBar1 + n, their crossing is
    // splitterIntersection1 + row * 15 + column.
    enum HitTestValue {
        noHit = 0,
        vSplitterBar1 = 101,
        vSplitterBar15 = 115,
        hSplitterBar1 = 201,
        hSplitterBar15 = 215,
        splitterIntersection1 = 301,
        splitterIntersection225 = 525
    };
    // What lies under a client point.
    int HitTest(CPoint pt) const;

    struct CRowColInfo {
        int nMinSize;    // below this the row or column is not shown
        int nIdealSize;  // the size the user or the program asked for
        int nCurSize;    // the size of the last layout
    };

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnCaptureChanged(CWnd *pWnd);
    afx_msg LRESULT OnCancelMode(WPARAM, LPARAM);

protected:
    virtual void StartTracking(int ht);
    virtual void StopTracking(BOOL bAccept);
    // The client area available to the panes.
    virtual void GetInsideRect(CRect &rect) const;
    // Paints (or, with no device context, invalidates) every split bar and
    // pane border of the area cxInside x cyInside.
    void DrawAllSplitBars(CDC *pDC, int cxInside, int cyInside);
    // The rectangle of the bar or crossing a hit-test code names.
    void GetHitRect(int ht, CRect &rect) const;
    // Take the tracker's position as the new ideal size of the row (column)
    // above (left of) the bar.
    void TrackRowSize(int y, int row);
    void TrackColumnSize(int x, int col);

    CRuntimeClass *m_pDynamicViewClass = nullptr;
    int m_nMaxRows = 0;
    int m_nMaxCols = 0;

    // Bar thickness, distance between panes, pane inset.
    int m_cxSplitter;
    int m_cySplitter;
    int m_cxBorderShare;
    int m_cyBorderShare;
    int m_cxSplitterGap;
    int m_cySplitterGap;
    int m_cxBorder;
    int m_cyBorder;

    int m_nRows = 0;
    int m_nCols = 0;
    BOOL m_bHasHScroll = FALSE;
    BOOL m_bHasVScroll = FALSE;
    CRowColInfo *m_pColInfo = nullptr;  // m_nMaxCols entries
    CRowColInfo *m_pRowInfo = nullptr;  // m_nMaxRows entries

    // Tracking state: the tracker (and the second one of a crossing), where
    // it may go, the grip offset and the code being tracked.
    BOOL m_bTracking = FALSE;
    BOOL m_bTracking2 = FALSE;
    CPoint m_ptTrackOffset;
    CRect m_rectLimit;
    CRect m_rectTracker;
    CRect m_rectTracker2;
    int m_htTrack = noHit;

    DECLARE_MESSAGE_MAP()

private:
    // The cells' pixel extent of the last layout.
    void CellExtent(CRowColInfo const *info, int count, int index, int gap, int &start, int &end) const;
    void LayoutOne(CRowColInfo *info, int count, int space, int gap, int border);
    void MoveTracker(CPoint pt);
    void SetTrackerCursor(int ht);
    HWND m_focusBeforeTracking = nullptr;  // gets the focus back when tracking ends
};
