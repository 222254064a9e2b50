// CWnd: the framework's object for a window. A CWnd created through Create
// or CreateEx is attached to its window before the window's first message
// and receives every message through its message map: WindowProc hands the
// message to OnWndMsg, which calls the first matching entry of the map chain;
// what no entry handles goes to the virtual DefWindowProc.
//
// Handle map: each thread keeps a map from window handles to their permanent
// CWnd objects. FromHandle of a handle without one (a window created by
// plain Win32 calls) gives a temporary CWnd that is not subclassed, so it
// sees no messages; temporaries live until DeleteTempMap (which the message
// loop's idle processing calls), so callers must not keep them across
// messages. FromHandle of a null or destroyed handle gives null.
//
// Default() runs the default processing (DefWindowProc) of the message this
// window is handling; called outside a handler of this window it does
// nothing and returns 0. Re-entrant SendMessage from a handler is allowed:
// the message being handled is restored when the nested one returns.
//
// When the window is destroyed, the object is detached at WM_NCDESTROY and
// PostNcDestroy runs (CView and CFrameWnd delete themselves there). A message
// sent to a destroyed window returns 0. A handler may destroy its own window;
// the dispatch does not touch the object afterwards.
//
// Objects belong to the thread that created their windows: the handle map is
// per thread, so a message delivered on another thread finds no object and
// gets ::DefWindowProc.
#pragma once

#include <tessiv/platform/cmd_target.h>
#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>


struct CCreateContext;
class CFrameWnd;
class CMenu;
class CDC;

// Window procedure of every framework window: finds the permanent CWnd of
// window and calls its WindowProc; a window without one gets ::DefWindowProc.
LRESULT AfxWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers (once) and returns the name of a window class with these
// attributes and the default window procedure. The name stays valid for the
// life of the process; null when registration fails.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                           HICON hIcon = nullptr);

// Control IDs and styles the framework gives its own windows.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;
// Sent by a frame to its descendants to run each view's OnInitialUpdate.
constexpr UINT WM_INITIALUPDATE = 0x0364;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd() = default;
    // A window still attached is destroyed with the object; its messages no
    // longer reach the object from that point.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handle map.
    static CWnd *FromHandle(HWND window);
    static CWnd *FromHandlePermanent(HWND window);
    static void DeleteTempMap();
    // Makes this the permanent object of window without subclassing it; FALSE
    // when this object already has a window or window already has an object.
    BOOL Attach(HWND window);
    HWND Detach();
    // Attach, then route window's messages through this object; its previous
    // procedure becomes the one DefWindowProc calls.
    BOOL SubclassWindow(HWND window);
    HWND UnsubclassWindow();

    // Creation. Create makes a child window; CreateEx any window. Both give
    // PreCreateWindow the chance to change the creation structure first.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, RECT const &rect,
                        CWnd *pParentWnd, UINT nID, CCreateContext *pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  RECT const &rect, CWnd *pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    // The base fills in a default class when none is named.
    virtual BOOL PreCreateWindow(CREATESTRUCT &cs);
    virtual BOOL DestroyWindow();

    // Dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG *pMsg);
    LRESULT Default();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends to every descendant (children first-level first when deep).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);

    // Window state and geometry.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Grows a client rectangle to the window rectangle this window's styles
    // give (adjustOutside also counts scroll bars, which the layer has none of).
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(CWnd const *pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString &rString) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);

    // Relations; the results are permanent or temporary objects.
    CWnd *GetParent() const;
    CWnd *SetParent(CWnd *pWndNewParent);
    CFrameWnd *GetParentFrame() const;
    CWnd *GetTopLevelParent() const;
    // The owner: the window set with SetOwner, else the parent.
    CWnd *GetOwner() const;
    void SetOwner(CWnd *pOwnerWnd);
    CWnd *GetDlgItem(int nID) const;
    // The first descendant with the control ID, breadth first; with
    // bOnlyPerm only one with a permanent object.
    CWnd *GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CWnd *GetWindow(UINT nCmd) const;
    CWnd *GetTopWindow() const;
    BOOL IsChild(CWnd const *pWnd) const;
    CMenu *GetSystemMenu(BOOL bRevert) const;

    // Input.
    CWnd *SetFocus();
    static CWnd *GetFocus();
    CWnd *SetCapture();
    static CWnd *GetCapture();

    // Device contexts of the window.
    CDC *GetDC();
    CDC *GetWindowDC();
    int ReleaseDC(CDC *pDC);

    // Default handlers: each runs the default processing of its message.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Runs the default processing, detaches the window and calls PostNcDestroy.
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC *pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanged(WINDOWPOS *lpwndpos);
    afx_msg void OnWindowPosChanging(WINDOWPOS *lpwndpos);
    afx_msg void OnSetFocus(CWnd *pOldWnd);
    afx_msg void OnKillFocus(CWnd *pNewWnd);
    afx_msg void OnCaptureChanged(CWnd *pWnd);
    afx_msg void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd *pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnContextMenu(CWnd *pWnd, CPoint pos);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnInitMenuPopup(CMenu *pPopupMenu, UINT nIndex, BOOL bSysMenu);

protected:
    // Called after the window is gone and the object detached; the base does
    // nothing, classes that own themselves delete themselves here.
    virtual void PostNcDestroy();

    WNDPROC m_pfnSuper = nullptr;  // the procedure DefWindowProc calls

public:
    HWND m_hWndOwner = nullptr;  // set by SetOwner; null: the parent owns

protected:

    DECLARE_MESSAGE_MAP()

private:
    friend class tessiv_window_access;  // the handle map and dispatch in cwnd.cpp
    bool m_temporary = false;
    // The last message-map lookup of this object, keyed by the object's
    // virtual table (its dynamic type, which decides its map) rather than by
    // the map itself. m_directTable is that table again when an entry was
    // found and the type keeps CWnd's WindowProc and OnWndMsg, so the
    // dispatch may call the entry at once.
    AFX_MSGMAP_ENTRY const *find_entry(UINT message);
    UINT m_lastMessage = 0;
    void const *m_lastTable = nullptr;
    void const *m_directTable = nullptr;
    AFX_MSGMAP_ENTRY const *m_lastEntry = nullptr;
};
