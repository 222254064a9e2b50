// CControlBar: the base of the bars a frame lays out along its edges. A bar
// keeps its bar style (CBRS_ flags) apart from its window style, reports the
// size it wants through CalcFixedLayout or CalcDynamicLayout, paints its
// borders and gripper, and, once docking is enabled, owns the dock context
// that a left-button press on it starts a drag with. A docked bar is a child
// of a dock bar (platform/dock_bar.h); a floating one is a child of the
// floating dock bar inside a mini frame (platform/mini_frame_wnd.h).
#pragma once

#include <tessiv/platform/cwnd.h>

// Bar styles: the edge a bar is aligned to and the borders it draws.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_NOALIGN = 0x00000000;
// Behaviour flags. Tool tips and fly-by texts are kept as flags only.
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ORIENT_ANY = CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;   // stretch to the frame's length
constexpr DWORD LM_HORZ = 0x02;      // horizontal, else vertical
constexpr DWORD LM_MRUWIDTH = 0x04;  // the most recently used floating width
constexpr DWORD LM_HORZDOCK = 0x08;  // as docked horizontally
constexpr DWORD LM_VERTDOCK = 0x10;  // as docked vertically
constexpr DWORD LM_LENGTHY = 0x20;   // nLength is a height, else a width
constexpr DWORD LM_COMMIT = 0x40;    // remember the floating width

// Control IDs of a frame's dock bars and of a floating frame's dock bar.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
constexpr UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;

class CDockBar;
class CDockContext;
class CControlBarInfo;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    // Deletes the dock context.
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    // The frame the bar docks in: the frame the dock bar belongs to, or the
    // bar's parent frame before it is docked.
    CFrameWnd *GetDockingFrame() const;
    BOOL IsFloating() const;
    // Visible: the window style, not the parent's state.
    BOOL IsVisible() const;
    // Which edges the bar may dock at (CBRS_ALIGN_ flags, CBRS_FLOAT_MULTI);
    // a non-zero style makes the dock context when there is none yet.
    void EnableDocking(DWORD dwDockStyle);

    // The bar's size along and across its edge: cx for a bar on the top or
    // bottom edge is its length (stretched bars take the whole edge).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // nLength is the length asked for (-1: the natural one), nMode the LM_
    // flags. The base answers with CalcFixedLayout.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // Shrinks a rectangle by the borders and the gripper.
    virtual void CalcInsideRect(CRect &rect, BOOL bHorz) const;

    // Paints the border lines the style asks for and shrinks rect by them.
    void DrawBorders(CDC *pDC, CRect &rect);
    // A gripper of two raised lines at the leading edge, with CBRS_GRIPPER
    // on a docked bar.
    virtual void DrawGripper(CDC *pDC, CRect const &rect);
    // Paints the client area; the base draws the borders and the gripper.
    virtual void DoPaint(CDC *pDC);

    // The index of the item under a client point, -1 over empty space; a
    // press on empty space of a docked or floating bar starts a drag.
    virtual int OnToolHitTest(CPoint point) const;

    // Bar information for dock state records.
    void GetBarInfo(CControlBarInfo *pInfo);
    // Applies a record: docks, floats or hides the bar as it says.
    void SetBarInfo(CControlBarInfo *pInfo, CFrameWnd *pFrameWnd);

    // Registers the bar with its parent frame, which becomes its dock site.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    // On empty space of a docked or floating bar with a dock context: starts
    // a drag; otherwise default processing.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    // Leaves the dock bar and the dock site's list.
    afx_msg void OnDestroy();

    DWORD m_dwDockStyle = 0;                 // edges the bar may dock at
    CFrameWnd *m_pDockSite = nullptr;        // the frame the bar docks in
    CDockBar *m_pDockBar = nullptr;          // the dock bar holding the bar
    CDockContext *m_pDockContext = nullptr;  // owned
    int m_nMRUWidth = 32767;                 // most recently used floating width
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;

    static constexpr int kGripperWidth = 8;

protected:
    CControlBar() = default;
    DWORD m_dwStyle = 0;

    DECLARE_MESSAGE_MAP()
};
