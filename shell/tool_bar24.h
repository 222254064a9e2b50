// Tool bars with 24-bit images and their own dock context.
//
// CToolBar24 builds its normal, hot and disabled image lists from one
// full-colour bitmap strip of 36-pixel buttons: the hot images are the strip
// as drawn, the normal ones a little lighter (MakeNotActive), the disabled
// ones gray and much lighter (MakeDisabled) or taken from a second strip.
// It paints its own non-client area and gripper.
//
// CMyToolBar adds the shown flag its child frame keeps, guards the mouse
// buttons so a drag never runs with both held, and can remove the close
// command of its floating frame. Its run-time class and message map go
// straight to CToolBar, so CToolBar24's WM_NCPAINT handler does not reach it.
//
// MyDockContext is the drag loop of those bars: the framework's loop, except
// that near the right screen edge the vertical outline stops at the screen
// width - 10 before it follows the mouse step.
#pragma once

#include <tessiv/imaging/en_bitmap.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/image_list.h>
#include <tessiv/platform/tool_bar.h>

class CToolBar24 : public CToolBar {
    DECLARE_DYNAMIC(CToolBar24)

public:
    CToolBar24();
    ~CToolBar24() override;

    // Builds the three image lists from the bitmap resource (found through
    // the resource chain); pixels of the mask colour are transparent in all
    // three. A resource that fails to load leaves its list without images.
    void SetFullColorImage(UINT bitmapId, COLORREF mask);
    // The same, with the disabled images taken unchanged from a second resource.
    void SetFullColorImage(UINT bitmapId, UINT disabledBitmapId, COLORREF mask);
    // Hides CControlBar::EnableDocking: sets the dock style, gives the bar a
    // MyDockContext when it has no context, and makes the parent its owner
    // when it has none.
    void EnableDocking(DWORD style);
    void EraseNonClient();

    void DoPaint(CDC *pDC) override;
    void DrawGripper(CDC *pDC, CRect const &rect) override;

    afx_msg void OnNcPaint();

    // Button images are this many pixels square.
    static constexpr int kImageSize = 36;

protected:
    CImageList m_hotImageList;
    CImageList m_disabledImageList;
    CImageList m_normalImageList;
    CBitmap m_bitmap;
    CEnBitmap m_disabledBitmap;
    CEnBitmap m_normalBitmap;

    DECLARE_MESSAGE_MAP()

private:
    void BuildLists(UINT bitmapId, UINT disabledBitmapId, bool disabledFromEffect, COLORREF mask);
};

class CMyToolBar : public CToolBar24 {
    DECLARE_DYNAMIC(CMyToolBar)

public:
    CMyToolBar() = default;

    // Removes the close command from the system menu of the floating frame
    // the bar sits in; a bar docked in the main window is left alone.
    void DisableCloseButton();

    bool m_bShown = true;         // shown when the frame shows its bars
    bool m_bLButtonDown = false;  // between WM_LBUTTONDOWN and WM_LBUTTONUP
    bool m_bRButtonDown = false;  // between an accepted WM_RBUTTONDOWN and WM_RBUTTONUP

    afx_msg void OnWindowPosChanged(WINDOWPOS *lpwndpos);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()
};

class MyDockContext : public CDockContext {
public:
    explicit MyDockContext(CControlBar *pBar) : CDockContext(pBar) {}

    // Runs the drag loop with this context's Move.
    void StartDrag(CPoint pt) override;
    // The framework's Move with the right-edge rule for the vertical outline.
    void Move(CPoint pt);

private:
    // The tracking loop over GetMessage; TRUE when the button was released.
    BOOL TrackDrag();
};
