// CMenu: the framework's object for a menu handle. A menu attached to a
// CMenu is destroyed with it; FromHandle of a handle without a permanent
// object gives a temporary wrapper that does not own the menu and lives
// until DeleteTempMap. A null or destroyed handle gives null.
#pragma once

#include <tessiv/platform/cobject.h>
#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/winuser.h>

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)

public:
    CMenu() = default;
    // Destroys the attached menu.
    ~CMenu() override;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    static CMenu *FromHandle(HMENU hMenu);
    static void DeleteTempMap();
    // FALSE when this object already holds a menu, the handle is not a menu,
    // or the menu already has a permanent object.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    // Loads the RT_MENU resource from the module AfxFindResourceHandle names
    // and attaches it; FALSE when it cannot be loaded or attached.
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource);
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Destroys the menu (and its submenus) and detaches it.
    BOOL DestroyMenu();
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    int GetMenuString(UINT nIDItem, CString &rString, UINT nFlags) const;
    // The submenu at the position (a permanent or temporary object), or null.
    CMenu *GetSubMenu(int nPos) const;
    // Shows the menu; the chosen command reaches pWnd as WM_COMMAND (or is
    // returned with TPM_RETURNCMD).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd, LPCRECT lpRect = nullptr);

private:
    friend class tessiv_menu_access;
    bool m_temporary = false;
};
