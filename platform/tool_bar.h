// CToolBar: a bar of push buttons, each with a command ID and an image of
// the bar's image lists. The bar is its own tool-bar control: the TB_
// messages set and read its normal, hot and disabled image lists (each set
// message returns the previous list) and its button states. Buttons are
// painted from those lists after DoPaint: the hot list for the button under
// the cursor, the disabled list for disabled buttons, the normal list for
// the rest. A click (press and release on the same enabled button) sends
// WM_COMMAND with the button's ID to the bar's owner, else its parent frame.
// Mouse input on buttons is the control's default processing (DefWindowProc),
// so a derived bar's handlers reach it through Default; a press outside
// every button starts a drag through the dock context.
#pragma once

#include <tessiv/platform/control_bar.h>
#include <tessiv/platform/image_list.h>

#include <vector>

// Tool-bar control messages.
constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
constexpr UINT TB_SETSTATE = WM_USER + 17;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_SETIMAGELIST = WM_USER + 48;
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
constexpr UINT TB_SETHOTIMAGELIST = WM_USER + 52;
constexpr UINT TB_GETHOTIMAGELIST = WM_USER + 53;
constexpr UINT TB_SETDISABLEDIMAGELIST = WM_USER + 54;
constexpr UINT TB_GETDISABLEDIMAGELIST = WM_USER + 55;
constexpr UINT TB_GETHOTITEM = WM_USER + 71;
constexpr UINT TB_SETHOTITEM = WM_USER + 72;

// Button states (TB_SETSTATE, TB_GETSTATE).
constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
// Control styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;
// Button styles of SetButtonStyle/GetButtonStyle: the kind in the low word,
// the state in the high word (TBBS_DISABLED is a disabled button).
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x00010000;
constexpr UINT TBBS_PRESSED = 0x00020000;
constexpr UINT TBBS_DISABLED = 0x00040000;

class CToolBar;

// The control side of a tool bar, as GetToolBarCtrl gives it: a thin
// wrapper sending the TB_ messages to the bar's window.
class CToolBarCtrl {
public:
    HWND m_hWnd = nullptr;

    // Each returns the list the bar had before (null when none).
    HIMAGELIST SetImageList(CImageList *pImageList);
    HIMAGELIST SetHotImageList(CImageList *pImageList);
    HIMAGELIST SetDisabledImageList(CImageList *pImageList);
    HIMAGELIST GetImageList() const;
    HIMAGELIST GetHotImageList() const;
    HIMAGELIST GetDisabledImageList() const;
    BOOL EnableButton(int nID, BOOL bEnable = TRUE);
    BOOL CheckButton(int nID, BOOL bCheck = TRUE);
    BOOL IsButtonEnabled(int nID) const;
    BOOL IsButtonChecked(int nID) const;
    BOOL SetState(int nID, UINT nState);
    int GetState(int nID) const;
    int GetButtonCount() const;
    int GetHotItem() const;
    int SetHotItem(int nHot);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar();

    using CWnd::Create;
    using CWnd::CreateEx;
    // Creates the bar as a child of the parent with no buttons; the bar
    // style comes from the CBRS_ bits of dwStyle.
    virtual BOOL Create(CWnd *pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd *pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

    // One button per ID (ID_SEPARATOR, 0, makes a separator); the n-th
    // non-separator button shows image n. A null array makes nIDCount
    // empty buttons. FALSE for a negative count.
    BOOL SetButtons(UINT const *lpIDArray, int nIDCount);
    // Button and image sizes; the button must be larger than the image by
    // at least 7 x 6. A set normal image list takes its image size.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    CSize GetButtonSize() const { return m_sizeButton; }
    CSize GetImageSize() const { return m_sizeImage; }
    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    // Index of the first button with the ID, -1 when none.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The button's rectangle in client coordinates; empty out of range.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    CToolBarCtrl &GetToolBarCtrl() const { return m_ctrl; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Horizontal modes lay the buttons out in one row, vertical ones in one
    // column; LM_MRUWIDTH and a length wrap them into rows of that width.
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;

    // The index of the button under a client point, -1 over empty space
    // (where a press starts a drag).
    int OnToolHitTest(CPoint point) const override;

    afx_msg void OnPaint();

protected:
    // The control: the TB_ messages, and the mouse messages of its buttons
    // (press, hot tracking, the click's WM_COMMAND), as default processing.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    struct Button {
        UINT id = 0;
        UINT style = TBBS_BUTTON;  // TBBS_BUTTON, TBBS_SEPARATOR or TBBS_CHECKBOX
        BYTE state = TBSTATE_ENABLED;
        int image = -1;
        CRect rect{0, 0, 0, 0};  // client coordinates, set by the layout
    };
    // Places the buttons in rows no longer than nLength (-1: one row or
    // column) and returns the size of the whole bar.
    CSize LayoutButtons(int nLength, BOOL bHorz);
    // Draws every visible button from the image lists.
    void PaintButtons(CDC *pDC);
    int HitTestButton(CPoint point) const;

    std::vector<Button> m_buttons;
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    HIMAGELIST m_hNormalList = nullptr;
    HIMAGELIST m_hHotList = nullptr;
    HIMAGELIST m_hDisabledList = nullptr;
    int m_iHot = -1;      // button under the cursor, -1 when none
    int m_iPressed = -1;  // button being clicked
    BOOL m_bHorzLayout = TRUE;
    mutable CToolBarCtrl m_ctrl;

    static constexpr int kSeparatorWidth = 8;

    DECLARE_MESSAGE_MAP()
};
