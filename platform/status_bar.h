// CStatusBar: a bar of text panes along the bottom of a frame. Each pane has
// a command ID, a style, a width and its text; SetPaneText changes a pane's
// text, which tests and hosts read back with GetPaneText. WM_SETTEXT sets
// the text of pane 0.
#pragma once

#include <tessiv/platform/control_bar.h>

#include <vector>

constexpr UINT ID_SEPARATOR = 0;
// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar() = default;

    using CWnd::Create;
    // Creates the bar as a child of the parent, with one empty stretching pane.
    virtual BOOL Create(CWnd *pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per ID, with empty text. FALSE for a negative count or null
    // IDs with a positive count.
    BOOL SetIndicators(UINT const *lpIDArray, int nIDCount);
    // FALSE for an index out of range; a null text empties the pane. With
    // bUpdate a changed pane is repainted.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    // Empty for an index out of range.
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString &rString) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // The index of the first pane with the ID, or -1.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT &nID, UINT &nStyle, int &cxWidth) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // Client-area rectangle of the pane; empty for an index out of range.
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM);
    afx_msg void OnPaint();

    static constexpr int kHeight = 20;  // pixels, on the headless screen

protected:
    struct Pane {
        UINT id = 0;
        UINT style = SBPS_NORMAL;
        int width = 0;
        CString text;
    };
    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};
