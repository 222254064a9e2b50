// Menu wrappers and their handle map.
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/handle_maps.h>

#include <string>

namespace {

using tessiv_platform::HandleMap;

HandleMap<HMENU, CMenu> &menu_map()
{
    thread_local HandleMap<HMENU, CMenu> map;
    return map;
}

}  // namespace

// Private access to CMenu's temporary flag.
class tessiv_menu_access {
public:
    static std::unique_ptr<CMenu> make_temporary(HMENU menu)
    {
        auto object = std::make_unique<CMenu>();
        object->m_hMenu = menu;
        object->m_temporary = true;
        return object;
    }
};

CMenu *AfxMenuFromHandle(HMENU menu) { return CMenu::FromHandle(menu); }

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu()
{
    if (!m_temporary && m_hMenu)
        DestroyMenu();
}

CMenu *CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu || !IsMenu(hMenu))
        return nullptr;
    return menu_map().find_or_make(hMenu, &tessiv_menu_access::make_temporary);
}

void CMenu::DeleteTempMap()
{
    menu_map().drop_temporaries([](CMenu &object) { object.m_hMenu = nullptr; });
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || m_temporary || !IsMenu(hMenu) || !menu_map().add_permanent(hMenu, this))
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    if (!m_temporary)
        menu_map().remove_permanent(menu, this);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

int CMenu::GetMenuString(UINT nIDItem, CString &rString, UINT nFlags) const
{
    int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    int copied = ::GetMenuStringA(m_hMenu, nIDItem, text.data(), static_cast<int>(text.size()), nFlags);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    rString = CString(std::move(text));
    return copied;
}

CMenu *CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
