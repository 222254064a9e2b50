// CWnd: the handle map, creation and subclassing, and message dispatch.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/handle_maps.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/win_objects.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using tessiv_platform::HandleMap;

// The message the innermost framework dispatch of this thread is handling;
// each dispatch keeps the outer one on its stack and puts it back.
struct CurrentMessage {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    CurrentMessage const *outer;
};

// What every dispatch reads, kept together in the thread's static TLS block
// so one message costs no TLS lookup call.
struct DispatchState {
    CurrentMessage const *current_message;
    // The object whose CreateEx is running on this thread; the
    // window-creation hook attaches it to the new window before the window's
    // first message.
    CWnd *pending_creation;
    // The last handle looked up: mouse moves and paints come in runs to one
    // window. Handles are never reused, and detaching clears the entry. The
    // empty entry pairs no handle with a window object of its own, which no
    // map entry is ever cached on, so the dispatch needs no null test.
    HWND cached_handle;
    CWnd *cached_window;
};

// Only ever read: every lookup on it misses, and nothing dispatches to it.
CWnd empty_cache_window;

thread_local DispatchState dispatch_state __attribute__((tls_model("initial-exec"))) = {
    nullptr, nullptr, nullptr, &empty_cache_window};

void clear_window_cache(DispatchState &state)
{
    state.cached_handle = nullptr;
    state.cached_window = &empty_cache_window;
}

HandleMap<HWND, CWnd> &window_map()
{
    thread_local HandleMap<HWND, CWnd> map;
    return map;
}

CWnd *find_permanent_slow(DispatchState &state, HWND window)
{
    CWnd *found = window_map().find_permanent(window);
    if (found) {
        state.cached_handle = window;
        state.cached_window = found;
    }
    return found;
}

inline CWnd *permanent_window(DispatchState &state, HWND window)
{
    if (window == state.cached_handle)
        return state.cached_window == &empty_cache_window ? nullptr : state.cached_window;
    return find_permanent_slow(state, window);
}

inline CWnd *permanent_window(HWND window) { return permanent_window(dispatch_state, window); }

// Under the Itanium C++ ABI of g++ and clang an object's first word points
// into its class's virtual table, and a pointer to a virtual member function
// holds one plus the byte offset of the member's slot there.
void const *const *virtual_table(void const *object)
{
    void const *const *table;
    std::memcpy(&table, object, sizeof table);
    return table;
}

template <class Member>
void const *slot_of(void const *object, Member member)
{
    struct {
        std::ptrdiff_t pointer;
        std::ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof raw == sizeof member);
    std::memcpy(&raw, &member, sizeof raw);
    if (!(raw.pointer & 1))
        return nullptr;
    return virtual_table(object)[(raw.pointer - 1) / static_cast<std::ptrdiff_t>(sizeof(void *))];
}

// Whether object's class keeps CWnd's own WindowProc and OnWndMsg, so that
// a map entry found for it may be called without passing through them.
bool keeps_framework_dispatch(CWnd const &object)
{
    CWnd const plain;
    auto const window_proc = &CWnd::WindowProc;
    auto const on_wnd_msg = &CWnd::OnWndMsg;
    void const *object_proc = slot_of(&object, window_proc);
    return object_proc && object_proc == slot_of(&plain, window_proc) &&
           slot_of(&object, on_wnd_msg) == slot_of(&plain, on_wnd_msg);
}

WNDPROC current_procedure(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

}  // namespace

// Private access to CWnd for the handle map and the dispatch.
class tessiv_window_access {
public:
    static void attach(CWnd &object, HWND window)
    {
        object.m_hWnd = window;
        window_map().permanent[window] = &object;
    }
    static void forget(HWND window)
    {
        window_map().permanent.erase(window);
        if (dispatch_state.cached_handle == window)
            clear_window_cache(dispatch_state);
    }
    static void subclass(CWnd &object, HWND window)
    {
        WNDPROC previous = current_procedure(window);
        object.m_pfnSuper = previous == &AfxWndProc ? nullptr : previous;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
    }
    static void finish_destroyed(CWnd &object)
    {
        object.Detach();
        object.PostNcDestroy();
    }
    static bool temporary(CWnd const &object) { return object.m_temporary; }
    // Whether message may go straight to the object's cached entry; both
    // tests are made, for one branch.
    static bool direct(CWnd const &object, UINT message)
    {
        return (message == object.m_lastMessage) & (virtual_table(&object) == object.m_directTable);
    }
    static AFX_MSGMAP_ENTRY const &last_entry(CWnd const &object) { return *object.m_lastEntry; }
    // OnWndMsg for a message other than the object's last one: commands, and
    // the map lookup, whose result the object keeps.
    [[gnu::noinline]] static BOOL on_wnd_msg_uncached(CWnd &object, UINT message, WPARAM wParam, LPARAM lParam,
                                                      LRESULT *pResult)
    {
        LRESULT result = 0;
        if (message == WM_COMMAND) {
            if (!object.OnCommand(wParam, lParam))
                return FALSE;
        } else {
            AFX_MSGMAP_ENTRY const *entry = object.find_entry(message);
            if (!entry)
                return FALSE;
            result = entry->pfnDispatch(&object, wParam, lParam);
        }
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    static std::unique_ptr<CWnd> make_temporary(HWND window)
    {
        auto object = std::make_unique<CWnd>();
        object->m_hWnd = window;
        object->m_temporary = true;
        return object;
    }
};

namespace tessiv_platform {

void attach_framework_window(HWND window)
{
    CWnd *object = dispatch_state.pending_creation;
    if (!object)
        return;
    dispatch_state.pending_creation = nullptr;
    tessiv_window_access::attach(*object, window);
    tessiv_window_access::subclass(*object, window);
}

}  // namespace tessiv_platform

namespace {

// Runs call with the message recorded for Default(); the record lives on the
// stack and the outer one is put back.
template <class Call>
inline LRESULT with_current_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Call call)
{
    CurrentMessage const record{window, message, wparam, lparam, dispatch_state.current_message};
    struct Restore {
        CurrentMessage const &record;
        ~Restore() { dispatch_state.current_message = record.outer; }
    } restore{record};
    dispatch_state.current_message = &record;
    return call();
}

inline LRESULT dispatch_to(CWnd &object, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return with_current_message(window, message, wparam, lparam,
                                [&] { return object.WindowProc(message, wparam, lparam); });
}

// A message whose map entry the object has cached, to an object whose class
// keeps CWnd's WindowProc and OnWndMsg: what those would do, at once.
inline LRESULT dispatch_direct(CWnd &object, AFX_MSGMAP_ENTRY const &entry, HWND window, UINT message,
                               WPARAM wparam, LPARAM lparam)
{
    return with_current_message(window, message, wparam, lparam,
                                [&] { return entry.pfnDispatch(&object, wparam, lparam); });
}

// Everything but a message to the cached window: the map lookup, windows
// without an object, and WM_NCDESTROY, which detaches the object afterwards.
[[gnu::noinline]] LRESULT dispatch_uncommon(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    CWnd *object = permanent_window(window);
    if (!object)
        return DefWindowProcA(window, message, wparam, lparam);
    // The object may be gone once WindowProc returns (a handler may destroy
    // its own window), so it is looked up again rather than used.
    LRESULT result = dispatch_to(*object, window, message, wparam, lparam);
    if (message == WM_NCDESTROY)
        if (CWnd *still_attached = permanent_window(window))
            tessiv_window_access::finish_destroyed(*still_attached);
    return result;
}

}  // namespace

LRESULT AfxWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // The common case keeps no registers of its own alive across the call:
    // nothing after it but putting the outer record back.
    CWnd *object = dispatch_state.cached_window;
    if (window == dispatch_state.cached_handle) [[likely]] {
        // Never WM_NCDESTROY, whose entry is not kept for direct calls.
        if (tessiv_window_access::direct(*object, message)) [[likely]]
            return dispatch_direct(*object, tessiv_window_access::last_entry(*object), window, message, wparam,
                                   lparam);
        if (message != WM_NCDESTROY && object != &empty_cache_window)
            return dispatch_to(*object, window, message, wparam, lparam);
    }
    return dispatch_uncommon(window, message, wparam, lparam);
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static auto *names = new std::set<std::string>;
    char name[128];
    std::snprintf(name, sizeof name, "TessivWnd:%x:%p:%p:%p", nClassStyle, static_cast<void *>(hCursor),
                  static_cast<void *>(hbrBackground), static_cast<void *>(hIcon));
    WNDCLASSA existing{};
    if (!GetClassInfoA(AfxGetInstanceHandle(), name, &existing)) {
        WNDCLASSA window_class{};
        window_class.style = nClassStyle;
        window_class.lpfnWndProc = &DefWindowProcA;
        window_class.hInstance = AfxGetInstanceHandle();
        window_class.hIcon = hIcon;
        window_class.hCursor = hCursor;
        window_class.hbrBackground = hbrBackground;
        window_class.lpszClassName = name;
        if (!RegisterClassA(&window_class))
            return nullptr;
    }
    return names->insert(name).first->c_str();
}

CWnd *AfxWndFromHandle(HWND window) { return CWnd::FromHandle(window); }

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (!m_hWnd || m_temporary)
        return;
    HWND window = m_hWnd;
    WNDPROC super = m_pfnSuper;
    Detach();
    // The window outlives the object only for the moment of its destruction,
    // which must not reach this half-destroyed object.
    if (current_procedure(window) == &AfxWndProc)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super ? super : &::DefWindowProcA));
    ::DestroyWindow(window);
}

CWnd *CWnd::FromHandle(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    return window_map().find_or_make(window, &tessiv_window_access::make_temporary);
}

CWnd *CWnd::FromHandlePermanent(HWND window) { return window ? permanent_window(window) : nullptr; }

void CWnd::DeleteTempMap()
{
    window_map().drop_temporaries([](CWnd &object) { object.m_hWnd = nullptr; });
}

BOOL CWnd::Attach(HWND window)
{
    if (m_hWnd || m_temporary || !IsWindow(window) || permanent_window(window))
        return FALSE;
    tessiv_window_access::attach(*this, window);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND window = m_hWnd;
    if (window && !m_temporary && permanent_window(window) == this)
        tessiv_window_access::forget(window);
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (!Attach(window))
        return FALSE;
    tessiv_window_access::subclass(*this, window);
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd || m_temporary)
        return nullptr;
    if (current_procedure(m_hWnd) == &AfxWndProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(m_pfnSuper ? m_pfnSuper : &::DefWindowProcA));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, RECT const &rect,
                  CWnd *pParentWnd, UINT nID, CCreateContext *pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    RECT const &rect, CWnd *pParentWnd, UINT nID, LPVOID lpParam)
{
    // Sizes in 64 bits: a rectangle with CW_USEDEFAULT corners must not overflow.
    auto extent = [](LONG from, LONG to) {
        if (from == CW_USEDEFAULT)
            return CW_USEDEFAULT;
        long long size = static_cast<long long>(to) - from;
        return static_cast<int>(std::clamp(size, 0LL, 0x7FFFFFFFLL));
    };
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    extent(rect.left, rect.right), extent(rect.top, rect.bottom),
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd || m_temporary)
        return FALSE;
    CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                    static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    dispatch_state.pending_creation = this;
    HWND window = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    dispatch_state.pending_creation = nullptr;
    // A window refused at WM_CREATE has been destroyed, and this object may
    // have deleted itself in PostNcDestroy: it is not touched here.
    return window != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT &cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW));
    return cs.lpszClass != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    HWND window = m_hWnd;
    if (!window || !IsWindow(window))
        return FALSE;
    if (m_temporary || current_procedure(window) != &AfxWndProc) {
        // Not routed through this object: nothing detaches it at WM_NCDESTROY.
        BOOL result = ::DestroyWindow(window);
        if (!m_temporary)
            Detach();
        else
            m_hWnd = nullptr;
        return result;
    }
    // Routed: WM_NCDESTROY detaches the object, which may delete itself.
    return ::DestroyWindow(window);
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    // A run of one message (mouse moves) to one object skips the map lookup:
    // the dynamic type, read from the object without a call, decides the
    // map, and it changes only while the object is built or torn down.
    if (message != m_lastMessage || virtual_table(this) != m_lastTable) [[unlikely]]
        return tessiv_window_access::on_wnd_msg_uncached(*this, message, wParam, lParam, pResult);
    AFX_MSGMAP_ENTRY const *entry = m_lastEntry;
    if (!entry)
        return FALSE;
    LRESULT result = entry->pfnDispatch(this, wParam, lParam);
    if (pResult)
        *pResult = result;
    return TRUE;
}

AFX_MSGMAP_ENTRY const *CWnd::find_entry(UINT message)
{
    AFX_MSGMAP_ENTRY const *entry = AfxFindMessageEntry(GetMessageMap(), message);
    m_lastMessage = message;
    m_lastTable = virtual_table(this);
    m_lastEntry = entry;
    // WM_NCDESTROY must reach the dispatch that detaches the object after it.
    m_directTable = entry && message != WM_NCDESTROY && keeps_framework_dispatch(*this) ? m_lastTable : nullptr;
    return entry;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), static_cast<int>(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG *) { return FALSE; }

LRESULT CWnd::Default()
{
    CurrentMessage const *current = dispatch_state.current_message;
    if (!current || !m_hWnd || current->window != m_hWnd)
        return 0;
    return DefWindowProc(current->message, current->wparam, current->lparam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd ? ::PostMessageA(m_hWnd, message, wParam, lParam) : FALSE;
}

namespace {

std::vector<HWND> children_of(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void send_to_descendants(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool deep)
{
    for (HWND child : children_of(window)) {
        if (!IsWindow(child))
            continue;
        SendMessageA(child, message, wparam, lparam);
        if (deep && IsWindow(child))
            send_to_descendants(child, message, wparam, lparam, deep);
    }
}

}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    if (m_hWnd)
        send_to_descendants(m_hWnd, message, wParam, lParam, bDeep != FALSE);
}

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    if (!m_hWnd)
        return FALSE;
    DWORD style = GetStyle();
    DWORD changed = (style & ~dwRemove) | dwAdd;
    if (changed == style)
        return FALSE;
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!::GetClientRect(m_hWnd, lpRect) && lpRect)
        *lpRect = RECT{};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!::GetWindowRect(m_hWnd, lpRect) && lpRect)
        *lpRect = RECT{};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    if (lpRect)
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(lpRect), 2);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    if (lpRect)
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(lpRect), 2);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, GetExStyle());
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(CWnd const *pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN hrgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }

void CWnd::GetWindowText(CString &rString) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    rString = CString(std::move(text));
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

int CWnd::SetDlgCtrlID(int nID)
{
    return static_cast<int>(SetWindowLongPtrA(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
}

CWnd *CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd *CWnd::SetParent(CWnd *pWndNewParent)
{
    return FromHandle(::SetParent(m_hWnd, pWndNewParent ? pWndNewParent->m_hWnd : nullptr));
}

CFrameWnd *CWnd::GetParentFrame() const
{
    for (HWND parent = ::GetParent(m_hWnd); parent; parent = ::GetParent(parent)) {
        CWnd *object = FromHandlePermanent(parent);
        if (object && object->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd *>(object);
    }
    return nullptr;
}

CWnd *CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    for (HWND parent = top; parent && (GetWindowLongPtrA(parent, GWL_STYLE) & WS_CHILD);)
        top = parent = ::GetParent(parent);
    return FromHandle(top);
}

CWnd *CWnd::GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }

void CWnd::SetOwner(CWnd *pOwnerWnd) { m_hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr; }

CWnd *CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

CWnd *CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    std::vector<HWND> level = children_of(m_hWnd);
    while (!level.empty()) {
        std::vector<HWND> next;
        for (HWND child : level) {
            if (::GetDlgCtrlID(child) == nID) {
                CWnd *object = bOnlyPerm ? FromHandlePermanent(child) : FromHandle(child);
                if (object)
                    return object;
            }
            for (HWND grandchild : children_of(child))
                next.push_back(grandchild);
        }
        level = std::move(next);
    }
    return nullptr;
}

CWnd *CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd *CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
BOOL CWnd::IsChild(CWnd const *pWnd) const { return pWnd && ::IsChild(m_hWnd, pWnd->m_hWnd); }
CMenu *CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

CWnd *CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd *CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd *CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd *CWnd::GetCapture() { return FromHandle(::GetCapture()); }

CDC *CWnd::GetDC() { return m_hWnd ? CDC::FromHandle(::GetDC(m_hWnd)) : nullptr; }
CDC *CWnd::GetWindowDC() { return m_hWnd ? CDC::FromHandle(::GetWindowDC(m_hWnd)) : nullptr; }
int CWnd::ReleaseDC(CDC *pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }

void CWnd::OnNcDestroy()
{
    Default();
    HWND window = m_hWnd;
    if (window && permanent_window(window) == this)
        tessiv_window_access::finish_destroyed(*this);
}

void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC *) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS *) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS *) { Default(); }
void CWnd::OnSetFocus(CWnd *) { Default(); }
void CWnd::OnKillFocus(CWnd *) { Default(); }
void CWnd::OnCaptureChanged(CWnd *) { Default(); }
void CWnd::OnActivate(UINT, CWnd *, BOOL) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnSetCursor(CWnd *, UINT, UINT) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd *, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnContextMenu(CWnd *, CPoint) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnInitMenuPopup(CMenu *, UINT, BOOL) { Default(); }
