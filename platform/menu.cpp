// Menus of the headless screen: item trees, system menus, and popup menus
// whose choice a test or script gives in advance.
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/winuser.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct MenuItem {
    UINT flags = 0;  // MF_ state and kind bits, without MF_BYPOSITION
    UINT_PTR id = 0;
    HMENU submenu = nullptr;
    std::string text;
};

struct Menu {
    std::vector<MenuItem> items;
};

std::map<std::uintptr_t, std::unique_ptr<Menu>> &menu_table()
{
    static auto *table = new std::map<std::uintptr_t, std::unique_ptr<Menu>>;
    return *table;
}
std::map<HWND, HMENU> &system_menus()
{
    static auto *menus = new std::map<HWND, HMENU>;
    return *menus;
}

UINT popup_choice = 0;
TessivPopupMenuCall last_popup;

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;
constexpr UINT kNotFound = 0xFFFFFFFF;

Menu *find_menu(HMENU handle)
{
    auto it = menu_table().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == menu_table().end() ? nullptr : it->second.get();
}

HMENU new_menu()
{
    HMENU handle = reinterpret_cast<HMENU>(tessiv_platform::next_handle_value());
    menu_table()[reinterpret_cast<std::uintptr_t>(handle)] = std::make_unique<Menu>();
    return handle;
}

// The item named by position or by command; a command is also looked for in
// submenus, as on Win32. Sets *owner to the menu that holds it.
MenuItem *find_item(HMENU handle, UINT item, UINT flags, Menu **owner = nullptr)
{
    Menu *menu = find_menu(handle);
    if (!menu)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= menu->items.size())
            return nullptr;
        if (owner)
            *owner = menu;
        return &menu->items[item];
    }
    for (MenuItem &entry : menu->items) {
        if (!entry.submenu && entry.id == item) {
            if (owner)
                *owner = menu;
            return &entry;
        }
        if (entry.submenu)
            if (MenuItem *found = find_item(entry.submenu, item, flags, owner))
                return found;
    }
    return nullptr;
}

MenuItem make_item(UINT flags, UINT_PTR id_or_submenu, LPCSTR text)
{
    MenuItem entry;
    entry.flags = flags & (kStateBits | MF_SEPARATOR | MF_POPUP);
    if (flags & MF_POPUP)
        entry.submenu = reinterpret_cast<HMENU>(id_or_submenu);
    else
        entry.id = id_or_submenu;
    if (text && !(flags & MF_SEPARATOR))
        entry.text = text;
    return entry;
}

BOOL take_item(HMENU menu, UINT position, UINT flags, bool destroy_submenu)
{
    Menu *owner = nullptr;
    MenuItem *entry = find_item(menu, position, flags, &owner);
    if (!entry) {
        tessiv_platform::set_last_error(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMENU submenu = entry->submenu;
    owner->items.erase(owner->items.begin() + (entry - owner->items.data()));
    if (destroy_submenu && submenu)
        DestroyMenu(submenu);
    return TRUE;
}

}  // namespace

HMENU CreateMenu() { return new_menu(); }
HMENU CreatePopupMenu() { return new_menu(); }

BOOL DestroyMenu(HMENU handle)
{
    std::unique_ptr<Menu> doomed;
    {
        auto it = menu_table().find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == menu_table().end())
            return FALSE;
        doomed = std::move(it->second);
        menu_table().erase(it);
    }
    for (MenuItem const &entry : doomed->items)
        if (entry.submenu)
            DestroyMenu(entry.submenu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return find_menu(menu) != nullptr; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id_or_submenu, LPCSTR text)
{
    Menu *target = find_menu(menu);
    if (!target || ((flags & MF_POPUP) && !find_menu(reinterpret_cast<HMENU>(id_or_submenu)))) {
        tessiv_platform::set_last_error(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    target->items.push_back(make_item(flags, id_or_submenu, text));
    return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id_or_submenu, LPCSTR text)
{
    Menu *target = find_menu(menu);
    if (!target || ((flags & MF_POPUP) && !find_menu(reinterpret_cast<HMENU>(id_or_submenu))))
        return FALSE;
    std::size_t index = target->items.size();
    if (flags & MF_BYPOSITION) {
        index = std::min<std::size_t>(position, target->items.size());
    } else {
        Menu *owner = nullptr;
        MenuItem *before = find_item(menu, position, MF_BYCOMMAND, &owner);
        if (before && owner == target)
            index = static_cast<std::size_t>(before - target->items.data());
    }
    target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index),
                         make_item(flags, id_or_submenu, text));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return take_item(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return take_item(menu, position, flags, false); }

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem *entry = find_item(menu, item, flags);
    if (!entry)
        return kNotFound;
    UINT previous = entry->flags & (MF_GRAYED | MF_DISABLED);
    entry->flags = (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem *entry = find_item(menu, item, flags);
    if (!entry)
        return kNotFound;
    DWORD previous = entry->flags & MF_CHECKED;
    entry->flags = (entry->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    MenuItem *entry = find_item(menu, item, flags);
    if (!entry)
        return kNotFound;
    UINT state = entry->flags & (kStateBits | MF_SEPARATOR | MF_POPUP);
    if (Menu *submenu = find_menu(entry->submenu))
        state |= static_cast<UINT>(submenu->items.size()) << 8;  // item count in the high byte
    return state;
}

int GetMenuItemCount(HMENU menu)
{
    Menu *target = find_menu(menu);
    return target ? static_cast<int>(target->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    MenuItem *entry = position < 0 ? nullptr : find_item(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!entry || entry->submenu)
        return kNotFound;
    return static_cast<UINT>(entry->id);
}

HMENU GetSubMenu(HMENU menu, int position)
{
    MenuItem *entry = position < 0 ? nullptr : find_item(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return entry ? entry->submenu : nullptr;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags)
{
    MenuItem *entry = find_item(menu, item, flags);
    if (!entry)
        return 0;
    int length = static_cast<int>(entry->text.size());
    if (!buffer || size <= 0)
        return length;
    length = std::min(length, size - 1);
    std::memcpy(buffer, entry->text.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

HMENU GetSystemMenu(HWND window, BOOL revert)
{
    if (!IsWindow(window))
        return nullptr;
    HMENU existing = nullptr;
    {
        auto it = system_menus().find(window);
        if (it != system_menus().end())
            existing = it->second;
    }
    if (revert) {
        if (existing) {
            DestroyMenu(existing);
            system_menus().erase(window);
        }
        return nullptr;
    }
    if (existing && IsMenu(existing))
        return existing;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, SC_RESTORE, "Restore");
    AppendMenuA(menu, MF_STRING, SC_MOVE, "Move");
    AppendMenuA(menu, MF_STRING, SC_SIZE, "Size");
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Minimize");
    AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Maximize");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "Close");
    system_menus()[window] = menu;
    return menu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, RECT const *)
{
    if (!IsMenu(menu) || !IsWindow(owner)) {
        tessiv_platform::set_last_error(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    last_popup = TessivPopupMenuCall{menu, flags, POINT{x, y}, owner};
    UINT choice = popup_choice;
    popup_choice = 0;
    MenuItem *entry = choice ? find_item(menu, choice, MF_BYCOMMAND) : nullptr;
    if (!entry || (entry->flags & (MF_GRAYED | MF_DISABLED)))
        return (flags & TPM_RETURNCMD) ? 0 : TRUE;
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(choice);
    PostMessageA(owner, WM_COMMAND, choice, 0);
    return TRUE;
}

void TessivSetPopupMenuChoice(UINT command) { popup_choice = command; }
TessivPopupMenuCall TessivLastPopupMenu() { return last_popup; }
