// CDockContext: the drag-to-dock and resize loop of one control bar. A
// left-button press on a bar calls StartDrag; the context then takes the
// mouse capture and follows the mouse in a modal loop over GetMessage,
// drawing the outline the bar would take (docked horizontally, docked
// vertically, or floating) with focus rectangles on the screen DC, until
// the button is released (the bar docks or floats there), Escape or the
// right button cancels, or the capture is lost. Ctrl held forces floating.
// The bar owns its context.
#pragma once

#include <tessiv/platform/windef.h>

class CControlBar;
class CDockBar;
class CFrameWnd;
class CDC;

class CDockContext {
public:
    explicit CDockContext(CControlBar *pBar);
    virtual ~CDockContext();
    CDockContext(CDockContext const &) = delete;
    CDockContext &operator=(CDockContext const &) = delete;

    // Runs the drag loop from a screen point on the bar.
    virtual void StartDrag(CPoint pt);
    // Runs the resize loop of a floating bar from a hit-test code of its frame.
    void StartResize(int nHitTest, CPoint pt);
    // Docks a floating bar where it last was docked, or floats a docked one
    // where it last floated.
    void ToggleDocking();

    // Drag: follow the cursor, update the outline and the dock style under it.
    void Move(CPoint pt);
    // Ends a drag: docks at the dock bar under the outline or floats there.
    void EndDrag();
    // Resize: the floating bar's outline follows the edge being dragged.
    void Stretch(CPoint pt);
    void EndResize();
    // Ctrl forces a floating outline while it is held.
    void OnKey(int nChar, BOOL bDown);
    // The tracking loop; TRUE when the drag or resize ended with the button
    // released, FALSE when it was cancelled or never started.
    BOOL Track();
    // Takes the screen DC and resets the outline state; CancelLoop undoes
    // the outline, releases the capture and the DC.
    void InitLoop();
    void CancelLoop();
    // Draws the current outline (removing the last one); with bRemoveRect
    // only removes it.
    void DrawFocusRect(BOOL bRemoveRect = FALSE);
    // The dock style (CBRS_ALIGN_ flag) of the dock bar the current outline
    // would dock in, 0 when it would float.
    DWORD CanDock();
    // The dock bar of the frame that takes the outline for that style.
    CDockBar *GetDockBar(DWORD dwOverDockStyle);

    CPoint m_ptLast{0, 0};  // last cursor position, screen
    CRect m_rectLast{0, 0, 0, 0};
    CSize m_sizeLast{0, 0};
    BOOL m_bDitherLast = FALSE;
    // Outlines while docked horizontally or vertically, and while floating
    // horizontally or vertically (screen coordinates).
    CRect m_rectDragHorz{0, 0, 0, 0};
    CRect m_rectDragVert{0, 0, 0, 0};
    CRect m_rectFrameDragHorz{0, 0, 0, 0};
    CRect m_rectFrameDragVert{0, 0, 0, 0};

    CControlBar *m_pBar = nullptr;
    CFrameWnd *m_pDockSite = nullptr;
    DWORD m_dwDockStyle = 0;      // the bar's allowed dock style
    DWORD m_dwOverDockStyle = 0;  // dock style under the cursor
    DWORD m_dwStyle = 0;          // the bar's style when the loop began
    BOOL m_bFlip = FALSE;
    BOOL m_bForceFrame = FALSE;   // Ctrl held: float
    CDC *m_pDC = nullptr;         // the screen DC during a loop
    BOOL m_bDragging = FALSE;     // drag, else resize
    int m_nHitTest = 0;           // resize edge

    UINT m_uMRUDockID = 0;        // dock bar last docked in
    CRect m_rectMRUDockPos{0, 0, 0, 0};
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{0, 0};

protected:
    // Starts a drag from the screen point: steps shared by every drag loop
    // (the dragging flag, InitLoop, the four outlines from the bar's layout
    // around the point, the dock style under it).
    void PrepareDrag(CPoint pt);
    // The tracking loop with the handler of mouse moves while dragging.
    BOOL TrackLoop(void (*onDragMove)(CDockContext &context, CPoint pt));
};
