// The window tree, window classes, geometry, show state and painting of the
// headless display. Windows are created and used on the user-interface
// thread; another thread only posts to them (see README.md).
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/winuser.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <strings.h>

namespace tessiv_platform {
namespace {

// Only the user-interface thread changes the window table, and it reads the
// table without locking; other threads read it under the lock, and only for
// a window's thread (posting) or the windows waiting to paint.
std::mutex table_mutex;
std::map<std::uintptr_t, std::unique_ptr<Window>> &window_table()
{
    static auto *table = new std::map<std::uintptr_t, std::unique_ptr<Window>>;
    return *table;
}
std::vector<std::shared_ptr<WindowClass>> &class_table()
{
    static auto *table = new std::vector<std::shared_ptr<WindowClass>>;
    return *table;
}

std::shared_ptr<WindowClass> find_class(char const *name)
{
    if (!name)
        return nullptr;
    for (auto const &entry : class_table())
        if (strcasecmp(entry->name.c_str(), name) == 0)
            return entry;
    return nullptr;
}

std::uintptr_t handle_key(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

// Frame thicknesses of the window styles on the headless screen.
constexpr int kCaptionHeight = 23;
constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kEdge = 2;

void unlink_from_parent(Window &window)
{
    if (Window *parent = find_window(window.parent)) {
        auto &siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window.handle), siblings.end());
    }
}

bool visible_chain(HWND handle)
{
    for (Window *window = find_window(handle); window; window = find_window(window->parent)) {
        if (!(window->style & WS_VISIBLE))
            return false;
        if (!(window->style & WS_CHILD))
            return true;
    }
    return false;
}

RECT client_area(Window const &window)
{
    RECT inner = client_rect_in_window(window);
    return RECT{0, 0, inner.right - inner.left, inner.bottom - inner.top};
}

// Client origin of a window in screen coordinates.
POINT client_origin_on_screen(HWND handle)
{
    POINT origin{0, 0};
    for (Window *window = find_window(handle); window; window = find_window(window->parent)) {
        RECT inner = client_rect_in_window(*window);
        origin.x += window->rect.left + inner.left;
        origin.y += window->rect.top + inner.top;
        if (!(window->style & WS_CHILD))
            break;
    }
    return origin;
}

void invalidate(HWND handle, RECT const *rect, UINT flags);

void send_size_and_move(HWND handle)
{
    Window *window = find_window(handle);
    if (!window)
        return;
    RECT client = client_area(*window);
    RECT inner = client_rect_in_window(*window);
    WPARAM kind = window->show_state == SW_SHOWMINIMIZED   ? SIZE_MINIMIZED
                  : window->show_state == SW_SHOWMAXIMIZED ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
    LPARAM move = MAKELPARAM(window->rect.left + inner.left, window->rect.top + inner.top);
    SendMessageA(handle, WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
    SendMessageA(handle, WM_MOVE, 0, move);
}

HWND focus_window = nullptr;
HWND capture_window = nullptr;
HWND active_window = nullptr;

void drop_window_state(HWND handle)
{
    if (capture_window == handle) {
        capture_window = nullptr;
        SendMessageA(handle, WM_CAPTURECHANGED, 0, 0);
    }
    if (focus_window == handle) {
        SendMessageA(handle, WM_KILLFOCUS, 0, 0);
        focus_window = nullptr;
    }
    if (active_window == handle)
        active_window = nullptr;
}

}  // namespace

Window *find_window(HWND handle)
{
    if (!handle)
        return nullptr;
    auto &table = window_table();
    auto it = table.find(handle_key(handle));
    return it == table.end() ? nullptr : it->second.get();
}

DWORD window_thread(HWND handle)
{
    std::lock_guard<std::mutex> lock(table_mutex);
    auto it = window_table().find(handle_key(handle));
    return it == window_table().end() ? 0 : it->second->thread;
}

std::uintptr_t next_handle_value()
{
    // Handles start above the range of integer resource names and the special
    // insert-after values, and step by four so they look like aligned pointers.
    static std::atomic<std::uintptr_t> next{0x10000};
    return next.fetch_add(4);
}

// The widths of the non-client area a window of these styles has: the frame
// on every side and the caption above the client.
void non_client_insets(DWORD style, DWORD ex_style, int *frame_width, int *caption_height)
{
    int frame = 0;
    if (style & WS_THICKFRAME)
        frame = kSizingFrame;
    else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME))
        frame = kDialogFrame;
    else if (style & WS_BORDER)
        frame = kBorder;
    if (ex_style & WS_EX_CLIENTEDGE)
        frame += kEdge;
    if (ex_style & WS_EX_STATICEDGE)
        frame += 1;
    *frame_width = frame;
    *caption_height = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
}

RECT client_rect_in_window(Window const &window)
{
    int frame = 0, caption = 0;
    non_client_insets(window.style, window.ex_style, &frame, &caption);
    int width = window.rect.right - window.rect.left;
    int height = window.rect.bottom - window.rect.top;
    RECT inner{frame, frame + caption, width - frame, height - frame};
    inner.right = std::max(inner.right, inner.left);
    inner.bottom = std::max(inner.bottom, inner.top);
    return inner;
}

void fit_surface(Window &window)
{
    // A surface above this many pixels is not allocated: drawing into such a
    // window fails instead of exhausting memory.
    constexpr long long kMaxSurfacePixels = 1LL << 26;
    int width = std::max(0, static_cast<int>(window.rect.right - window.rect.left));
    int height = std::max(0, static_cast<int>(window.rect.bottom - window.rect.top));
    if (width == window.surface_width && height == window.surface_height)
        return;
    if (static_cast<long long>(width) * height > kMaxSurfacePixels) {
        width = height = 0;
    }
    std::vector<std::uint32_t> fresh(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    int keep_width = std::min(width, window.surface_width);
    int keep_height = std::min(height, window.surface_height);
    for (int y = 0; y < keep_height; ++y)
        std::memcpy(&fresh[static_cast<std::size_t>(y) * width],
                    &window.surface[static_cast<std::size_t>(y) * window.surface_width],
                    static_cast<std::size_t>(keep_width) * 4);
    window.surface = std::move(fresh);
    window.surface_width = width;
    window.surface_height = height;
}

HWND &focus_slot() { return focus_window; }

}  // namespace tessiv_platform

using namespace tessiv_platform;

ATOM RegisterClassA(WNDCLASSA const *window_class)
{
    if (!window_class || !window_class->lpszClassName || !window_class->lpfnWndProc) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (find_class(window_class->lpszClassName)) {
        set_last_error(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto entry = std::make_shared<WindowClass>();
    entry->info = *window_class;
    entry->name = window_class->lpszClassName;
    entry->info.lpszClassName = nullptr;
    entry->info.lpszMenuName = nullptr;
    class_table().push_back(entry);
    return static_cast<ATOM>(0xC000 + class_table().size());
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE)
{
    auto &table = class_table();
    auto it = std::find_if(table.begin(), table.end(), [&](auto const &entry) {
        return class_name && strcasecmp(entry->name.c_str(), class_name) == 0;
    });
    if (it == table.end()) {
        set_last_error(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    table.erase(it);
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR class_name, WNDCLASSA *window_class)
{
    auto entry = find_class(class_name);
    if (!entry || !window_class) {
        set_last_error(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    *window_class = entry->info;
    window_class->lpszClassName = entry->name.c_str();
    return TRUE;
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    auto window_class = find_class(class_name);
    if (!window_class) {
        set_last_error(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    bool child = (style & WS_CHILD) != 0;
    if (child && !find_window(parent)) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : 640;
        height = child ? 0 : 480;
    }
    auto window = std::make_unique<Window>();
    HWND handle = reinterpret_cast<HWND>(next_handle_value());
    window->handle = handle;
    window->window_class = window_class;
    window->text = window_name ? window_name : "";
    window->style = style & ~WS_VISIBLE;
    window->ex_style = ex_style;
    window->parent = child ? parent : nullptr;
    window->owner = child ? nullptr : (find_window(parent) ? parent : nullptr);
    window->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    window->procedure = window_class->info.lpfnWndProc;
    window->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
    window->instance = instance;
    window->thread = GetCurrentThreadId();
    {
        std::lock_guard<std::mutex> lock(table_mutex);
        window_table()[handle_key(handle)] = std::move(window);
    }
    if (child)
        find_window(parent)->children.push_back(handle);  // new children go to the bottom
    attach_framework_window(handle);

    CREATESTRUCTA create{param, instance, menu, parent, std::max(0, height), std::max(0, width),
                         y, x, static_cast<LONG>(style), window_name, class_name, ex_style};
    LPARAM create_param = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageA(handle, WM_NCCREATE, 0, create_param) ||
        SendMessageA(handle, WM_CREATE, 0, create_param) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle))
        return nullptr;
    send_size_and_move(handle);
    if ((style & WS_VISIBLE) && IsWindow(handle))
        ShowWindow(handle, SW_SHOW);
    return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle)
{
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->destroying)
        return TRUE;
    window->destroying = true;

    // Owned windows go first, as on Win32.
    std::vector<HWND> owned;
    for (auto const &[key, other] : window_table())
        if (other->owner == handle)
            owned.push_back(other->handle);
    for (HWND other : owned)
        DestroyWindow(other);

    if ((window = find_window(handle)) && (window->style & WS_VISIBLE)) {
        window->style &= ~WS_VISIBLE;
        SendMessageA(handle, WM_SHOWWINDOW, FALSE, 0);
    }
    drop_window_state(handle);
    SendMessageA(handle, WM_DESTROY, 0, 0);
    if ((window = find_window(handle))) {
        std::vector<HWND> children = window->children;
        for (HWND child : children)
            DestroyWindow(child);
    }
    SendMessageA(handle, WM_NCDESTROY, 0, 0);

    window = find_window(handle);
    if (!window)
        return TRUE;
    release_window_drawable(*window);
    release_window_dcs(handle);
    GetSystemMenu(handle, TRUE);
    unlink_from_parent(*window);
    drop_window_state(handle);
    std::unique_ptr<Window> doomed;
    {
        std::lock_guard<std::mutex> lock(table_mutex);
        auto it = window_table().find(handle_key(handle));
        doomed = std::move(it->second);
        window_table().erase(it);
    }
    return TRUE;
}

BOOL IsWindow(HWND handle) { return find_window(handle) != nullptr; }
BOOL IsWindowVisible(HWND handle) { return visible_chain(handle); }

BOOL IsWindowEnabled(HWND handle)
{
    Window *window = find_window(handle);
    return window && window->enabled;
}

BOOL EnableWindow(HWND handle, BOOL enable)
{
    Window *window = find_window(handle);
    if (!window)
        return FALSE;
    bool was_disabled = !window->enabled;
    if (window->enabled != (enable != 0)) {
        window->enabled = enable != 0;
        if (enable)
            window->style &= ~WS_DISABLED;
        else
            window->style |= WS_DISABLED;
        SendMessageA(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return was_disabled;
}

BOOL IsChild(HWND parent, HWND handle)
{
    for (Window *window = find_window(handle); window && (window->style & WS_CHILD);) {
        if (window->parent == parent)
            return TRUE;
        window = find_window(window->parent);
    }
    return FALSE;
}

BOOL IsIconic(HWND handle)
{
    Window *window = find_window(handle);
    return window && window->show_state == SW_SHOWMINIMIZED;
}

BOOL IsZoomed(HWND handle)
{
    Window *window = find_window(handle);
    return window && window->show_state == SW_SHOWMAXIMIZED;
}

HWND GetParent(HWND handle)
{
    Window *window = find_window(handle);
    if (!window)
        return nullptr;
    return (window->style & WS_CHILD) ? window->parent : window->owner;
}

HWND SetParent(HWND handle, HWND new_parent)
{
    Window *window = find_window(handle);
    Window *parent = find_window(new_parent);
    if (!window || (new_parent && !parent) || new_parent == handle || IsChild(handle, new_parent)) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND old = window->parent;
    unlink_from_parent(*window);
    window->parent = new_parent;
    if (parent) {
        window->style |= WS_CHILD;
        parent->children.insert(parent->children.begin(), handle);
    } else {
        window->style &= ~WS_CHILD;
    }
    return old;
}

HWND GetWindow(HWND handle, UINT relation)
{
    Window *window = find_window(handle);
    if (!window)
        return nullptr;
    if (relation == GW_CHILD)
        return window->children.empty() ? nullptr : window->children.front();
    if (relation == GW_OWNER)
        return window->owner;
    Window *parent = find_window(window->parent);
    if (!parent)
        return relation == GW_HWNDFIRST || relation == GW_HWNDLAST ? handle : nullptr;
    auto const &siblings = parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), handle);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front();
    case GW_HWNDLAST:
        return siblings.back();
    case GW_HWNDNEXT:
        return it + 1 < siblings.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
        return it != siblings.begin() ? *(it - 1) : nullptr;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND handle) { return GetWindow(handle, GW_CHILD); }

HWND GetDlgItem(HWND parent, int id)
{
    Window *window = find_window(parent);
    if (!window)
        return nullptr;
    for (HWND child : window->children)
        if (Window *c = find_window(child); c && c->id == id)
            return child;
    return nullptr;
}

int GetDlgCtrlID(HWND handle)
{
    Window *window = find_window(handle);
    return window ? static_cast<int>(window->id) : 0;
}

HWND GetDesktopWindow() { return nullptr; }

LONG_PTR GetWindowLongPtrA(HWND handle, int index)
{
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(GetParent(handle));
    case GWL_STYLE:
        return window->style;
    case GWL_EXSTYLE:
        return window->ex_style;
    case GWLP_USERDATA:
        return window->user_data;
    case GWLP_ID:
        return window->id;
    default:
        set_last_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value)
{
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = GetWindowLongPtrA(handle, index);
    switch (index) {
    case GWLP_WNDPROC:
        window->procedure = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_HINSTANCE:
        window->instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GWL_STYLE:
        window->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        window->ex_style = static_cast<DWORD>(value);
        break;
    case GWLP_USERDATA:
        window->user_data = value;
        break;
    case GWLP_ID:
        window->id = value;
        break;
    default:
        set_last_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return old;
}

int GetClassNameA(HWND handle, LPSTR buffer, int size)
{
    Window *window = find_window(handle);
    if (!window || !buffer || size <= 0)
        return 0;
    std::string const &name = window->window_class->name;
    int length = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

ULONG_PTR GetClassLongPtrA(HWND handle, int index)
{
    Window *window = find_window(handle);
    if (!window)
        return 0;
    WNDCLASSA const &info = window->window_class->info;
    switch (index) {
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(info.hCursor);
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(info.hbrBackground);
    case GCL_STYLE:
        return info.style;
    default:
        return 0;
    }
}

BOOL SetWindowTextA(HWND handle, LPCSTR text)
{
    return IsWindow(handle) && SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

int GetWindowTextA(HWND handle, LPSTR buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND handle)
{
    return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

BOOL AdjustWindowRectEx(RECT *rect, DWORD style, BOOL, DWORD ex_style)
{
    if (!rect)
        return FALSE;
    int frame = 0, caption = 0;
    non_client_insets(style, ex_style, &frame, &caption);
    rect->left -= frame;
    rect->top -= frame + caption;
    rect->right += frame;
    rect->bottom += frame;
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT *rect)
{
    Window *window = find_window(handle);
    if (!window || !rect) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = client_area(*window);
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT *rect)
{
    Window *window = find_window(handle);
    if (!window || !rect) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    POINT origin{0, 0};
    if (window->style & WS_CHILD)
        origin = client_origin_on_screen(window->parent);
    *rect = window->rect;
    OffsetRect(rect, origin.x, origin.y);
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT *point)
{
    if (!IsWindow(handle) || !point)
        return FALSE;
    POINT origin = client_origin_on_screen(handle);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT *point)
{
    if (!IsWindow(handle) || !point)
        return FALSE;
    POINT origin = client_origin_on_screen(handle);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT *points, UINT count)
{
    POINT a = from ? client_origin_on_screen(from) : POINT{0, 0};
    POINT b = to ? client_origin_on_screen(to) : POINT{0, 0};
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL SetWindowPos(HWND handle, HWND insert_after, int x, int y, int cx, int cy, UINT flags)
{
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    WINDOWPOS pos{handle, insert_after, x, y, std::max(0, cx), std::max(0, cy), flags};
    if (flags & SWP_NOMOVE) {
        pos.x = window->rect.left;
        pos.y = window->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = window->rect.right - window->rect.left;
        pos.cy = window->rect.bottom - window->rect.top;
    }
    SendMessageA(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(window = find_window(handle)))
        return FALSE;

    if (!(flags & SWP_NOZORDER)) {
        if (Window *parent = find_window(window->parent)) {
            auto &siblings = parent->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
            if (insert_after == HWND_BOTTOM)
                siblings.push_back(handle);
            else if (insert_after == HWND_TOP || insert_after == HWND_TOPMOST ||
                     insert_after == HWND_NOTOPMOST)
                siblings.insert(siblings.begin(), handle);
            else {
                auto it = std::find(siblings.begin(), siblings.end(), insert_after);
                siblings.insert(it == siblings.end() ? siblings.begin() : it + 1, handle);
            }
        } else if (insert_after == HWND_TOPMOST) {
            window->ex_style |= WS_EX_TOPMOST;
        } else if (insert_after == HWND_NOTOPMOST) {
            window->ex_style &= ~WS_EX_TOPMOST;
        }
    }

    RECT fresh{pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy)};
    bool moved = fresh.left != window->rect.left || fresh.top != window->rect.top;
    bool sized = (fresh.right - fresh.left) != (window->rect.right - window->rect.left) ||
                 (fresh.bottom - fresh.top) != (window->rect.bottom - window->rect.top);
    window->rect = fresh;
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(handle, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(handle, SW_HIDE);
    if (moved || sized || (flags & SWP_FRAMECHANGED)) {
        pos.flags = flags | (moved ? 0 : SWP_NOMOVE) | (sized || (flags & SWP_FRAMECHANGED) ? 0 : SWP_NOSIZE);
        SendMessageA(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
        if ((sized || (flags & SWP_FRAMECHANGED)) && !(flags & SWP_NOREDRAW))
            RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    return TRUE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(handle, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND handle, int command)
{
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL was_visible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = command != SW_HIDE;
    int state = window->show_state;
    if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE)
        state = SW_SHOWMINIMIZED;
    else if (command == SW_SHOWMAXIMIZED)
        state = SW_SHOWMAXIMIZED;
    else if (command == SW_SHOWNORMAL || command == SW_RESTORE)
        state = SW_SHOWNORMAL;
    if (show != static_cast<bool>(was_visible)) {
        SendMessageA(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!(window = find_window(handle)))
            return was_visible;
        if (show)
            window->style |= WS_VISIBLE;
        else
            window->style &= ~WS_VISIBLE;
        if (show)
            RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        if (!show && (focus_window == handle || IsChild(handle, focus_window)))
            SetFocus(nullptr);
        // The notifications may have destroyed the window.
        if (!(window = find_window(handle)))
            return was_visible;
    }
    if (state != window->show_state) {
        // A maximized window fills its parent's client area (the screen for
        // a top-level window); restoring gives back its normal rectangle.
        if (state == SW_SHOWMAXIMIZED) {
            window->restore_rect = window->rect;
            RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            if (window->style & WS_CHILD)
                GetClientRect(window->parent, &area);
            window->rect = area;
        } else if (window->show_state == SW_SHOWMAXIMIZED) {
            window->rect = window->restore_rect;
        }
        window->show_state = state;
        send_size_and_move(handle);
        RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    return was_visible;
}

HWND ChildWindowFromPoint(HWND parent, POINT client_point)
{
    Window *window = find_window(parent);
    if (!window)
        return nullptr;
    RECT client = client_area(*window);
    if (!PtInRect(&client, client_point))
        return nullptr;
    for (HWND child : window->children) {
        Window *c = find_window(child);
        if (c && (c->style & WS_VISIBLE) && PtInRect(&c->rect, client_point))
            return child;
    }
    return parent;
}

HWND WindowFromPoint(POINT screen_point)
{
    std::vector<HWND> tops;
    for (auto const &[key, window] : window_table())
        if (!(window->style & WS_CHILD) && (window->style & WS_VISIBLE))
            tops.push_back(window->handle);
    // The most recently created top-level window lies on top.
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        RECT rect;
        GetWindowRect(*it, &rect);
        if (!PtInRect(&rect, screen_point))
            continue;
        HWND found = *it;
        for (;;) {
            POINT local = screen_point;
            ScreenToClient(found, &local);
            HWND child = ChildWindowFromPoint(found, local);
            if (!child || child == found)
                return found;
            found = child;
        }
    }
    return nullptr;
}

// ---- painting --------------------------------------------------------------

namespace tessiv_platform {
namespace {

void invalidate(HWND handle, RECT const *rect, UINT flags)
{
    Window *window = find_window(handle);
    if (!window || !visible_chain(handle))
        return;
    RECT client = client_area(*window);
    RECT area = client;
    if (rect && !IntersectRect(&area, rect, &client))
        return;
    if (flags & RDW_INVALIDATE) {
        UnionRect(&window->update, &window->update, &area);
        if (flags & RDW_ERASE)
            window->erase_pending = true;
    }
    if (flags & RDW_VALIDATE) {
        RECT covered;
        if (!rect || (UnionRect(&covered, &area, &window->update) && EqualRect(&covered, &area)))
            SetRectEmpty(&window->update);
        if (flags & RDW_NOERASE)
            window->erase_pending = false;
    }
    bool children = (flags & RDW_ALLCHILDREN) ||
                    (!(flags & RDW_NOCHILDREN) && !(window->style & WS_CLIPCHILDREN));
    if (!children)
        return;
    std::vector<HWND> list = window->children;
    for (HWND child : list) {
        Window *c = find_window(child);
        if (!c)
            continue;
        RECT overlap;
        if (!IntersectRect(&overlap, &area, &c->rect))
            continue;
        RECT inner = client_rect_in_window(*c);
        OffsetRect(&overlap, -(c->rect.left + inner.left), -(c->rect.top + inner.top));
        invalidate(child, &overlap, flags);
    }
}

void update_now(HWND handle, UINT flags)
{
    Window *window = find_window(handle);
    if (!window || !visible_chain(handle))
        return;
    if (!IsRectEmpty(&window->update) && (flags & RDW_UPDATENOW)) {
        SendMessageA(handle, WM_PAINT, 0, 0);
    } else if (window->erase_pending && (flags & (RDW_ERASENOW | RDW_UPDATENOW))) {
        HDC dc = GetDC(handle);
        if (SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
            if (Window *w = find_window(handle))
                w->erase_pending = false;
        ReleaseDC(handle, dc);
    }
    if (flags & RDW_NOCHILDREN)
        return;
    if (!(window = find_window(handle)))
        return;
    std::vector<HWND> list = window->children;
    for (HWND child : list)
        update_now(child, flags);
}

}  // namespace

// Windows of the calling thread that wait for WM_PAINT, in creation order.
HWND next_window_to_paint(DWORD thread, HWND filter)
{
    std::vector<HWND> candidates;
    {
        std::lock_guard<std::mutex> lock(table_mutex);
        for (auto const &[key, window] : window_table())
            if (window->thread == thread && !IsRectEmpty(&window->update) &&
                (!filter || filter == window->handle))
                candidates.push_back(window->handle);
    }
    for (HWND handle : candidates)
        if (visible_chain(handle))
            return handle;
    return nullptr;
}

std::vector<HWND> all_windows()
{
    std::vector<HWND> handles;
    for (auto const &[key, window] : window_table())
        handles.push_back(window->handle);
    return handles;
}

HWND &capture_slot() { return capture_window; }
HWND &active_slot() { return active_window; }

}  // namespace tessiv_platform

BOOL RedrawWindow(HWND handle, RECT const *update, HRGN, UINT flags)
{
    if (!IsWindow(handle))
        return FALSE;
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE))
        invalidate(handle, update, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        update_now(handle, flags);
    return TRUE;
}

BOOL InvalidateRect(HWND handle, RECT const *rect, BOOL erase)
{
    return RedrawWindow(handle, rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND handle, RECT const *rect)
{
    return RedrawWindow(handle, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND handle)
{
    return RedrawWindow(handle, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND handle, RECT *rect, BOOL)
{
    Window *window = find_window(handle);
    if (!window)
        return FALSE;
    if (rect)
        *rect = window->update;
    return !IsRectEmpty(&window->update);
}

HDC BeginPaint(HWND handle, PAINTSTRUCT *paint)
{
    Window *window = find_window(handle);
    if (!window || !paint) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    paint->rcPaint = window->update;
    bool erase = window->erase_pending;
    SetRectEmpty(&window->update);
    window->erase_pending = false;
    HDC dc = GetDC(handle);
    if (!IsRectEmpty(&paint->rcPaint))
        IntersectClipRect(dc, paint->rcPaint.left, paint->rcPaint.top, paint->rcPaint.right,
                          paint->rcPaint.bottom);
    paint->hdc = dc;
    paint->fErase = TRUE;
    if (erase)
        paint->fErase = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND handle, PAINTSTRUCT const *paint)
{
    if (!paint)
        return FALSE;
    // An own DC keeps its state between paints on Win32, but not the paint clip.
    SelectClipRgn(paint->hdc, nullptr);
    ReleaseDC(handle, paint->hdc);
    return TRUE;
}
