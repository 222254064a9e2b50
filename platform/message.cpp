// Message queues (one per thread), sending and dispatching, the default
// window procedure, and the input state: capture, focus, cursor, keys and
// system metrics. Display events enter through the backend's pump.
#include <tessiv/platform/backend/backend.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace tessiv_platform {
namespace {

// A mouse event as the hardware reports it: aimed at a window, placed on
// the screen, stamped with its time. Where it goes and what it becomes (a
// double click, say) is decided when it is taken from the queue.
struct MouseEvent {
    HWND window = nullptr;
    UINT message = 0;
    POINT screen{};
    int wheel = 0;
    DWORD time = 0;
    int key = 0;  // the virtual key of WM_KEYDOWN and WM_KEYUP events
};

struct ThreadQueue {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<MSG> posted;
    std::deque<MouseEvent> input;  // retrieved after posted messages, as on Win32
    bool quit = false;
    int quit_code = 0;
};

std::mutex queues_mutex;
std::map<DWORD, std::shared_ptr<ThreadQueue>> &queue_table()
{
    static auto *table = new std::map<DWORD, std::shared_ptr<ThreadQueue>>;
    return *table;
}

std::shared_ptr<ThreadQueue> queue_of(DWORD thread)
{
    std::lock_guard<std::mutex> lock(queues_mutex);
    auto &slot = queue_table()[thread];
    if (!slot)
        slot = std::make_shared<ThreadQueue>();
    return slot;
}

thread_local DWORD last_error = 0;
thread_local MSG last_message{};

// The first click of a possible double click.
struct Click {
    HWND window = nullptr;
    UINT message = 0;  // its button-down message; 0: none pending
    POINT screen{};
    DWORD time = 0;
};

struct InputState {
    std::mutex mutex;
    bool keys[256] = {};  // the hardware's, as GetAsyncKeyState reads it
    POINT cursor{0, 0};
    HCURSOR current_cursor = nullptr;
    int screen_width = 1920;
    int screen_height = 1080;
    UINT double_click_time = 500;
    Click last_click;
};
InputState &input()
{
    static auto *state = new InputState;
    return *state;
}

// The thread's key state (GetKeyState): it moves as the thread takes input
// messages from its queue, so a handler sees the keys as of its message.
thread_local bool thread_keys[256] = {};

SHORT key_state(bool down) { return down ? static_cast<SHORT>(-0x8000) : 0; }

void set_hardware_key(int virtual_key, bool down)
{
    std::lock_guard<std::mutex> lock(input().mutex);
    input().keys[virtual_key] = down;
}

DWORD tick_count()
{
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool matches(MSG const &msg, HWND filter, UINT low, UINT high)
{
    if (filter && msg.hwnd != filter)
        return false;
    if (low == 0 && high == 0)
        return true;
    return msg.message >= low && msg.message <= high;
}

bool take_input(ThreadQueue &queue, MSG *msg, HWND filter, UINT low, UINT high, bool remove);

// Takes the next message for the filter, or returns false when there is none.
bool take_message(MSG *msg, HWND filter, UINT low, UINT high, bool remove)
{
    backend::active().pump_events();
    auto queue = queue_of(GetCurrentThreadId());
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        auto it = std::find_if(queue->posted.begin(), queue->posted.end(),
                               [&](MSG const &m) { return matches(m, filter, low, high); });
        if (it != queue->posted.end()) {
            *msg = *it;
            if (remove)
                queue->posted.erase(it);
            return true;
        }
    }
    if (take_input(*queue, msg, filter, low, high, remove))
        return true;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        if (queue->quit && ((low == 0 && high == 0) || (WM_QUIT >= low && WM_QUIT <= high))) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quit_code), 0, tick_count(), {}};
            if (remove)
                queue->quit = false;
            return true;
        }
    }
    if ((low == 0 && high == 0) || (WM_PAINT >= low && WM_PAINT <= high)) {
        if (HWND window = next_window_to_paint(GetCurrentThreadId(), filter)) {
            *msg = MSG{window, WM_PAINT, 0, 0, tick_count(), {}};
            return true;
        }
    }
    return false;
}

std::map<std::uintptr_t, HCURSOR> &cursor_table()
{
    static auto *table = new std::map<std::uintptr_t, HCURSOR>;
    return *table;
}

}  // namespace

void set_last_error(DWORD error) { last_error = error; }

}  // namespace tessiv_platform

using namespace tessiv_platform;

DWORD GetLastError() { return last_error; }
void SetLastError(DWORD error) { last_error = error; }

DWORD GetCurrentThreadId()
{
    static std::atomic<DWORD> next{1};
    thread_local DWORD id = next.fetch_add(1);
    return id;
}

DWORD GetWindowThreadProcessId(HWND handle, DWORD *process_id)
{
    DWORD thread = window_thread(handle);
    if (process_id)
        *process_id = thread ? 1 : 0;
    return thread;
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    Window *window = find_window(handle);
    if (!window || !window->procedure) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return window->procedure(handle, message, wparam, lparam);
}

namespace {

BOOL post_to_thread(DWORD thread, HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto queue = queue_of(thread);
    POINT cursor;
    GetCursorPos(&cursor);
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->posted.push_back(MSG{handle, message, wparam, lparam, tick_count(), cursor});
    }
    queue->ready.notify_all();
    return TRUE;
}

}  // namespace

BOOL PostMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD thread = GetCurrentThreadId();
    if (handle) {
        thread = window_thread(handle);
        if (!thread) {
            set_last_error(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
    }
    return post_to_thread(thread, handle, message, wparam, lparam);
}

BOOL PostThreadMessageA(DWORD thread, UINT message, WPARAM wparam, LPARAM lparam)
{
    return post_to_thread(thread, nullptr, message, wparam, lparam);
}

BOOL GetMessageA(MSG *msg, HWND window, UINT filter_min, UINT filter_max)
{
    if (!msg)
        return -1;
    auto queue = queue_of(GetCurrentThreadId());
    while (!take_message(msg, window, filter_min, filter_max, true)) {
        if (backend::active().wait_for_events(10))
            continue;
        std::unique_lock<std::mutex> lock(queue->mutex);
        // A paint can only become due on this thread, so a wait ends with a post.
        queue->ready.wait_for(lock, std::chrono::milliseconds(50));
    }
    last_message = *msg;
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(MSG *msg, HWND window, UINT filter_min, UINT filter_max, UINT remove)
{
    if (!msg)
        return FALSE;
    if (!take_message(msg, window, filter_min, filter_max, (remove & PM_REMOVE) != 0))
        return FALSE;
    last_message = *msg;
    return TRUE;
}

BOOL TranslateMessage(MSG const *msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    int key = static_cast<int>(msg->wParam);
    char character = 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (key >= 'A' && key <= 'Z')
        character = static_cast<char>(shift ? key : key - 'A' + 'a');
    else if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN || key == VK_TAB ||
             key == VK_BACK || key == VK_ESCAPE)
        character = static_cast<char>(key);
    if (!character)
        return FALSE;
    UINT message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    PostMessageA(msg->hwnd, message, static_cast<WPARAM>(static_cast<unsigned char>(character)),
                 msg->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(MSG const *msg)
{
    if (!msg || !msg->hwnd)
        return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exit_code)
{
    auto queue = queue_of(GetCurrentThreadId());
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->quit = true;
        queue->quit_code = exit_code;
    }
    queue->ready.notify_all();
}

DWORD GetMessagePos()
{
    return MAKELONG(static_cast<WORD>(last_message.pt.x), static_cast<WORD>(last_message.pt.y));
}
LONG GetMessageTime() { return static_cast<LONG>(last_message.time); }

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return procedure ? procedure(window, message, wparam, lparam) : 0;
}

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    Window *window = find_window(handle);
    if (!window)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH brush = window->window_class->info.hbrBackground;
        if (!brush)
            return 0;
        RECT client;
        GetClientRect(handle, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        auto const *pos = reinterpret_cast<WINDOWPOS const *>(lparam);
        RECT client;
        GetClientRect(handle, &client);
        RECT inner = client_rect_in_window(*window);
        if (!pos || !(pos->flags & SWP_NOMOVE))
            SendMessageA(handle, WM_MOVE, 0,
                         MAKELPARAM(window->rect.left + inner.left, window->rect.top + inner.top));
        if (!pos || !(pos->flags & SWP_NOSIZE))
            SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        return 0;
    }
    case WM_SETCURSOR: {
        if ((window->style & WS_CHILD) && SendMessageA(window->parent, WM_SETCURSOR, wparam, lparam))
            return TRUE;
        if (!(window = find_window(handle)))
            return FALSE;
        HCURSOR cursor = window->window_class->info.hCursor;
        if (static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lparam))) == HTCLIENT && cursor) {
            SetCursor(cursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_MOUSEWHEEL:
        // Unhandled wheel input travels up to the parent.
        if (window->style & WS_CHILD)
            return SendMessageA(window->parent, message, wparam, lparam);
        return 0;
    case WM_NCHITTEST: {
        POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        RECT rect;
        GetWindowRect(handle, &rect);
        if (!PtInRect(&rect, point))
            return HTNOWHERE;
        ScreenToClient(handle, &point);
        RECT client;
        GetClientRect(handle, &client);
        return PtInRect(&client, point) ? HTCLIENT : HTBORDER;
    }
    case WM_SETTEXT:
        window->text = lparam ? reinterpret_cast<char const *>(lparam) : "";
        backend::active().sync_window(*window, backend::kText);
        return TRUE;
    case WM_GETTEXT: {
        auto *buffer = reinterpret_cast<char *>(lparam);
        int size = static_cast<int>(wparam);
        if (!buffer || size <= 0)
            return 0;
        int length = std::min(static_cast<int>(window->text.size()), size - 1);
        std::memcpy(buffer, window->text.data(), static_cast<std::size_t>(length));
        buffer[length] = '\0';
        return length;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    default:
        return 0;
    }
}

HWND SetCapture(HWND handle)
{
    HWND old = capture_slot();
    if (handle && !IsWindow(handle))
        return nullptr;
    if (old == handle)
        return old;
    capture_slot() = handle;
    backend::active().set_capture(handle);
    if (IsWindow(old))
        SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(handle));
    return old;
}

HWND GetCapture() { return IsWindow(capture_slot()) ? capture_slot() : nullptr; }

BOOL ReleaseCapture()
{
    HWND old = capture_slot();
    capture_slot() = nullptr;
    if (old)
        backend::active().set_capture(nullptr);
    if (IsWindow(old))
        SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND SetFocus(HWND handle)
{
    if (handle && !IsWindow(handle)) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND old = focus_slot();
    if (old == handle)
        return old;
    if (IsWindow(old))
        SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    focus_slot() = handle;
    if (handle) {
        HWND top = handle;
        while (Window *w = find_window(top)) {
            if (!(w->style & WS_CHILD))
                break;
            top = w->parent;
        }
        active_slot() = top;
        SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(IsWindow(old) ? old : nullptr), 0);
    }
    return IsWindow(old) ? old : nullptr;
}

HWND GetFocus() { return IsWindow(focus_slot()) ? focus_slot() : nullptr; }
HWND GetActiveWindow() { return IsWindow(active_slot()) ? active_slot() : nullptr; }

HWND SetActiveWindow(HWND handle)
{
    HWND old = GetActiveWindow();
    if (IsWindow(handle))
        active_slot() = handle;
    return old;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    // The predefined cursors are system resources; module cursors come from
    // the resource libraries.
    if (instance)
        return load_resource_cursor(instance, name);
    if (!IS_INTRESOURCE(name)) {
        set_last_error(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto id = reinterpret_cast<std::uintptr_t>(name);
    static std::uintptr_t const known[] = {32512, 32513, 32514, 32515, 32516, 32642,
                                           32643, 32644, 32645, 32646, 32648, 32649};
    if (std::find(std::begin(known), std::end(known), id) == std::end(known)) {
        set_last_error(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(input().mutex);
    HCURSOR &slot = cursor_table()[id];
    if (!slot)
        slot = reinterpret_cast<HCURSOR>(next_handle_value());
    return slot;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR old;
    {
        std::lock_guard<std::mutex> lock(input().mutex);
        old = input().current_cursor;
        input().current_cursor = cursor;
    }
    if (old != cursor)
        backend::active().set_cursor(cursor);
    return old;
}

HCURSOR GetCursor()
{
    std::lock_guard<std::mutex> lock(input().mutex);
    return input().current_cursor;
}

BOOL DestroyCursor(HCURSOR) { return TRUE; }

BOOL GetCursorPos(POINT *point)
{
    if (!point)
        return FALSE;
    std::lock_guard<std::mutex> lock(input().mutex);
    *point = input().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    std::lock_guard<std::mutex> lock(input().mutex);
    InputState &state = input();
    state.cursor.x = std::clamp(x, 0, state.screen_width - 1);
    state.cursor.y = std::clamp(y, 0, state.screen_height - 1);
    return TRUE;
}

SHORT GetAsyncKeyState(int virtual_key)
{
    if (virtual_key < 0 || virtual_key > 255)
        return 0;
    if (bool down; backend::active().query_key(virtual_key, &down))
        return key_state(down);
    std::lock_guard<std::mutex> lock(input().mutex);
    return key_state(input().keys[virtual_key]);
}

SHORT GetKeyState(int virtual_key)
{
    if (virtual_key < 0 || virtual_key > 255)
        return 0;
    return key_state(thread_keys[virtual_key]);
}

int GetSystemMetrics(int index)
{
    InputState &state = input();
    std::lock_guard<std::mutex> lock(state.mutex);
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXFULLSCREEN:
        return state.screen_width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return state.screen_height;
    case SM_CYFULLSCREEN:
        return state.screen_height - 23;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 20;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_CMONITORS:
        return 1;
    default:
        return 0;
    }
}

// ---- scripted input --------------------------------------------------------

BOOL TessivSetScreenSize(int width, int height)
{
    if (width < 1 || height < 1)
        return FALSE;
    std::lock_guard<std::mutex> lock(input().mutex);
    input().screen_width = width;
    input().screen_height = height;
    return TRUE;
}

void TessivSetKeyDown(int virtual_key, bool down)
{
    if (virtual_key < 0 || virtual_key > 255)
        return;
    set_hardware_key(virtual_key, down);
    thread_keys[virtual_key] = down;
}

void TessivResetInput()
{
    std::fill(std::begin(thread_keys), std::end(thread_keys), false);
    std::lock_guard<std::mutex> lock(input().mutex);
    std::fill(std::begin(input().keys), std::end(input().keys), false);
    input().cursor = POINT{0, 0};
    input().last_click = Click{};
}

UINT GetDoubleClickTime()
{
    std::lock_guard<std::mutex> lock(input().mutex);
    return input().double_click_time;
}

BOOL SetDoubleClickTime(UINT milliseconds)
{
    std::lock_guard<std::mutex> lock(input().mutex);
    input().double_click_time = milliseconds ? milliseconds : 500;
    return TRUE;
}

namespace {

// The MK_ flags of the thread's key state: the hardware's may have moved on
// to input still queued.
WPARAM mouse_key_flags()
{
    WPARAM flags = 0;
    if (GetKeyState(VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT))
        flags |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

bool is_button_down(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}
bool is_button_up(UINT message)
{
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// The button of a button message and its MK_ flag; 0 for other messages.
int button_key(UINT message, WPARAM *flag)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        *flag = MK_LBUTTON;
        return VK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        *flag = MK_RBUTTON;
        return VK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        *flag = MK_MBUTTON;
        return VK_MBUTTON;
    default:
        *flag = 0;
        return 0;
    }
}

// A press makes a double click when the target's class asks for them and it
// repeats the pending first click's button on the same window, within the
// double-click time and the double-click rectangle centred on that click.
bool makes_double_click(HWND target, MouseEvent const &event)
{
    Window *window = find_window(target);
    if (!window || !(window->window_class->info.style & CS_DBLCLKS))
        return false;
    int half_width = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    int half_height = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    std::lock_guard<std::mutex> lock(input().mutex);
    Click const &first = input().last_click;
    return first.message == event.message && first.window == target &&
           event.time - first.time <= input().double_click_time &&
           std::abs(event.screen.x - first.screen.x) <= half_width &&
           std::abs(event.screen.y - first.screen.y) <= half_height;
}

// What the event becomes if delivered now: the window (the capture window
// when there is one), the message and its parameters, with the key flags as
// they are once the event's own button has changed. Changes nothing; false
// when the event has no window left to go to.
bool route(MouseEvent const &event, MSG *out)
{
    if (event.message == WM_KEYDOWN || event.message == WM_KEYUP) {
        // Keys go to the focus window whatever holds the capture; with Alt
        // held by an earlier event of the queue they are system keys.
        HWND target = GetFocus();
        if (!target)
            target = IsWindow(event.window) ? event.window : nullptr;
        if (!target)
            return false;
        bool up = event.message == WM_KEYUP;
        // The thread's key state: the hardware's has moved on to later events.
        bool alt = event.key != VK_MENU && thread_keys[VK_MENU];
        UINT message = alt ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : event.message;
        LPARAM flags = up ? static_cast<LPARAM>(0xC0000001u) : 1;
        if (alt)
            flags |= 1 << 29;
        *out = MSG{target, message, static_cast<WPARAM>(event.key), flags, event.time, event.screen};
        return true;
    }
    HWND target = GetCapture();
    if (!target)
        target = IsWindow(event.window) ? event.window : nullptr;
    if (!target)
        return false;
    UINT message = event.message;
    if (is_button_down(message) && makes_double_click(target, event))
        message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    WPARAM flag = 0;
    button_key(message, &flag);
    WPARAM flags = mouse_key_flags();
    flags = is_button_up(message) ? flags & ~flag : flags | flag;
    POINT local = event.screen;
    ScreenToClient(target, &local);
    WPARAM wparam = flags;
    LPARAM lparam = MAKELPARAM(local.x, local.y);
    if (message == WM_MOUSEWHEEL) {
        wparam = MAKEWPARAM(static_cast<int>(flags), event.wheel);
        lparam = MAKELPARAM(event.screen.x, event.screen.y);
    }
    *out = MSG{target, message, wparam, lparam, event.time, event.screen};
    return true;
}

// The key or button the event presses (down) or releases; 0 for moves and
// wheels.
int changed_key(MouseEvent const &event, bool *down)
{
    if (event.key) {
        *down = event.message == WM_KEYDOWN;
        return event.key;
    }
    WPARAM flag = 0;
    *down = !is_button_up(event.message);
    return button_key(event.message, &flag);
}

// The hardware side of an event, applied as it happens (when it is sent or
// posted), whether or not a window receives it: its key goes down or up.
void apply_to_hardware(MouseEvent const &event)
{
    bool down = false;
    if (int key = changed_key(event, &down))
        set_hardware_key(key, down);
}

// What taking the event changes for the thread, whether or not a window
// receives it: its key state, and the cursor moves.
void apply_to_thread(MouseEvent const &event)
{
    bool down = false;
    if (int key = changed_key(event, &down))
        thread_keys[key] = down;
    if (!event.key)
        SetCursorPos(event.screen.x, event.screen.y);
}

// Delivery of a routed event: the thread's key state, the double-click
// state and, outside a capture, WM_SETCURSOR to the target.
void commit(MouseEvent const &event, MSG const &routed)
{
    apply_to_thread(event);
    {
        std::lock_guard<std::mutex> lock(input().mutex);
        // A double click ends the sequence: the next press starts a new one.
        if (is_button_down(routed.message))
            input().last_click = Click{routed.hwnd, routed.message, event.screen, event.time};
        else if (routed.message != event.message)
            input().last_click = Click{};
    }
    if (!GetCapture() && !event.key)
        SendMessageA(routed.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(routed.hwnd),
                     MAKELPARAM(HTCLIENT, routed.message));
}

MouseEvent make_event(HWND window, UINT message, POINT client_point, int wheel = 0)
{
    MouseEvent event{window, message, client_point, wheel, tick_count()};
    ClientToScreen(window, &event.screen);
    return event;
}

// The synchronous path: the event is routed and its message sent at once.
void send_event(MouseEvent const &event)
{
    apply_to_hardware(event);
    MSG routed;
    if (!route(event, &routed)) {
        apply_to_thread(event);
        return;
    }
    commit(event, routed);
    SendMessageA(routed.hwnd, routed.message, routed.wParam, routed.lParam);
}

}  // namespace

namespace tessiv_platform {
namespace {

bool take_input(ThreadQueue &queue, MSG *msg, HWND filter, UINT low, UINT high, bool remove)
{
    for (;;) {
        MouseEvent event;
        MSG routed{};
        bool found = false, dead = false;
        {
            std::lock_guard<std::mutex> lock(queue.mutex);
            for (std::size_t i = 0; i < queue.input.size(); ++i) {
                if (!route(queue.input[i], &routed)) {
                    event = queue.input[i];
                    queue.input.erase(queue.input.begin() + static_cast<std::ptrdiff_t>(i));
                    dead = true;
                    break;
                }
                if (matches(routed, filter, low, high)) {
                    event = queue.input[i];
                    if (remove)
                        queue.input.erase(queue.input.begin() + static_cast<std::ptrdiff_t>(i));
                    found = true;
                    break;
                }
            }
        }
        if (dead) {
            // Its window is gone; the button and cursor still change.
            apply_to_thread(event);
            continue;
        }
        if (!found)
            return false;
        if (remove)
            commit(event, routed);
        *msg = routed;
        return true;
    }
}

// The posted path: the events join the window thread's input queue in order.
BOOL post_events(HWND handle, std::vector<MouseEvent> const &events)
{
    DWORD thread = window_thread(handle);
    if (!thread || events.empty())
        return FALSE;
    auto queue = queue_of(thread);
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->input.insert(queue->input.end(), events.begin(), events.end());
    }
    for (MouseEvent const &event : events)
        apply_to_hardware(event);
    queue->ready.notify_all();
    return TRUE;
}

struct ButtonMessages {
    UINT down;
    UINT up;
};
ButtonMessages button_messages(TessivMouseButton button)
{
    switch (button) {
    case TessivMouseButton::Right: return {WM_RBUTTONDOWN, WM_RBUTTONUP};
    case TessivMouseButton::Middle: return {WM_MBUTTONDOWN, WM_MBUTTONUP};
    default: return {WM_LBUTTONDOWN, WM_LBUTTONUP};
    }
}

}  // namespace
}  // namespace tessiv_platform

namespace tessiv_platform {

void queue_mouse_event(HWND window, UINT message, POINT screen, int wheel)
{
    // Stamped with the queue's clock, so double clicks follow one rule on
    // every input path.
    MouseEvent event{window, message, screen, wheel, tick_count()};
    post_events(window, {event});
}

void queue_key_event(HWND window, int virtual_key, bool down)
{
    // Behind the mouse events already queued, so a drag loop sees them in order.
    POINT cursor{};
    GetCursorPos(&cursor);
    post_events(window, {MouseEvent{window, down ? WM_KEYDOWN : WM_KEYUP, cursor, 0, tick_count(), virtual_key}});
}

}  // namespace tessiv_platform

BOOL TessivSendMouseGesture(HWND window, TessivMouseButton button, POINT const *points, std::size_t count)
{
    if (!IsWindow(window) || !points || count == 0)
        return FALSE;
    ButtonMessages messages = button_messages(button);
    send_event(make_event(window, messages.down, points[0]));
    for (std::size_t i = 1; i < count && IsWindow(window); ++i)
        send_event(make_event(window, WM_MOUSEMOVE, points[i]));
    HWND last = IsWindow(window) ? window : GetCapture();
    if (last)
        send_event(make_event(last, messages.up, points[count - 1]));
    else
        send_event(MouseEvent{nullptr, messages.up, {}, 0, 0});
    return TRUE;
}

BOOL TessivSendMouseWheel(HWND window, int delta, POINT client_point)
{
    if (!IsWindow(window))
        return FALSE;
    send_event(make_event(window, WM_MOUSEWHEEL, client_point, delta));
    return TRUE;
}

BOOL TessivSendMouseMove(HWND window, POINT client_point)
{
    if (!IsWindow(window))
        return FALSE;
    send_event(make_event(window, WM_MOUSEMOVE, client_point));
    return TRUE;
}

BOOL TessivPostMouseGesture(HWND window, TessivMouseButton button, POINT const *points, std::size_t count)
{
    if (!IsWindow(window) || !points || count == 0)
        return FALSE;
    ButtonMessages messages = button_messages(button);
    std::vector<MouseEvent> events;
    events.push_back(make_event(window, messages.down, points[0]));
    for (std::size_t i = 1; i < count; ++i)
        events.push_back(make_event(window, WM_MOUSEMOVE, points[i]));
    events.push_back(make_event(window, messages.up, points[count - 1]));
    return post_events(window, events);
}

BOOL TessivPostMouseWheel(HWND window, int delta, POINT client_point)
{
    if (!IsWindow(window))
        return FALSE;
    return post_events(window, {make_event(window, WM_MOUSEWHEEL, client_point, delta)});
}

BOOL TessivPostMouseMove(HWND window, POINT client_point)
{
    if (!IsWindow(window))
        return FALSE;
    return post_events(window, {make_event(window, WM_MOUSEMOVE, client_point)});
}

BOOL TessivPostMouseButton(HWND window, TessivMouseButton button, bool down, POINT client_point)
{
    if (!IsWindow(window))
        return FALSE;
    ButtonMessages messages = button_messages(button);
    return post_events(window, {make_event(window, down ? messages.down : messages.up, client_point)});
}

BOOL TessivPostKey(HWND window, int virtual_key, bool down)
{
    if (!IsWindow(window) || virtual_key <= 0 || virtual_key > 0xFF)
        return FALSE;
    POINT cursor{};
    GetCursorPos(&cursor);
    MouseEvent event{window, down ? WM_KEYDOWN : WM_KEYUP, cursor, 0, tick_count(), virtual_key};
    return post_events(window, {event});
}
