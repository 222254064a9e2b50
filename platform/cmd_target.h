// Command targets and message maps. A message map is a static, ordered table
// of entries, each from a message (or a command ID range) to a typed member
// handler; every map names its base class's map, so a lookup that finds
// nothing in a class's own entries continues in its base's. The first match
// along that chain wins, which is how a derived class overrides a handler of
// its base.
//
// A class with a map declares DECLARE_MESSAGE_MAP() in its body and writes,
// in one source file:
//
//     BEGIN_MESSAGE_MAP(CMyView, CView)
//         ON_WM_LBUTTONDOWN()
//         ON_COMMAND(ID_EDIT_UNDO, OnUndo)
//     END_MESSAGE_MAP()
//
// Each ON_ macro checks the handler's signature at compile time and unpacks
// the message parameters into it, as the handler lists below say.
#pragma once

#include <tessiv/platform/cobject.h>
#include <tessiv/platform/winuser.h>

#include <type_traits>

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;

#define afx_msg

// Unpacks wparam and lparam into a handler call; returns the message result.
using AFX_DISPATCH = LRESULT (*)(CCmdTarget *target, WPARAM wparam, LPARAM lparam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for command entries
    UINT nCode;     // notification code of a command entry (0 for menus)
    UINT nID;       // first and last command ID of a command entry
    UINT nLastID;
    AFX_DISPATCH pfnDispatch;  // null ends the table
};

struct AFX_MSGMAP {
    AFX_MSGMAP const *(*pfnGetBaseMap)();  // null for the root map
    AFX_MSGMAP_ENTRY const *lpEntries;
};

// The entry of map's chain that handles message (not WM_COMMAND), or null.
// Results are remembered per thread, so repeated lookups cost one probe.
AFX_MSGMAP_ENTRY const *AfxFindMessageEntry(AFX_MSGMAP const *map, UINT message);
// The command entry of map's chain for id and code, or null.
AFX_MSGMAP_ENTRY const *AfxFindCommandEntry(AFX_MSGMAP const *map, UINT id, UINT code);

// The base of every object that receives commands: it owns a message map
// and routes a command to the first entry of its chain that matches.
class CCmdTarget : public CObject {
public:
    CCmdTarget() = default;
    // Calls the handler of the command (code 0 for menu and accelerator
    // commands); FALSE when this target has none. pExtra and pHandlerInfo are
    // accepted for the usual signature and not used.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, void *pHandlerInfo);

    CRuntimeClass *GetRuntimeClass() const override;
    static CRuntimeClass classCCmdTarget;
    static CRuntimeClass *GetThisClass();

protected:
    static CRuntimeClass *_GetBaseClass();
    static AFX_MSGMAP const *GetThisMessageMap();
    virtual AFX_MSGMAP const *GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static AFX_MSGMAP const *GetThisMessageMap();    \
    AFX_MSGMAP const *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(the_class, base_class)                                 \
    AFX_MSGMAP const *the_class::GetMessageMap() const { return GetThisMessageMap(); } \
    AFX_MSGMAP const *the_class::GetThisMessageMap()                             \
    {                                                                            \
        using ThisClass [[maybe_unused]] = the_class;                                           \
        using TheBaseClass [[maybe_unused]] = base_class;                                       \
        static AFX_MSGMAP_ENTRY const entries[] = {

#define END_MESSAGE_MAP()                                                       \
            {0, 0, 0, 0, nullptr}};                                             \
        static AFX_MSGMAP const message_map = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
        return &message_map;                                                    \
    }

// Wrappers the handlers receive for the handles in a message: temporary
// objects for handles without a permanent one (see CWnd::FromHandle).
CWnd *AfxWndFromHandle(HWND window);
CDC *AfxDcFromHandle(HDC dc);
CMenu *AfxMenuFromHandle(HMENU menu);

namespace tessiv_message_map {

template <class Pointer>
struct handler_traits;
template <class Class, class Result, class... Args>
struct handler_traits<Result (Class::*)(Args...)> {
    using owner = Class;
    using signature = Result(Args...);
};

// Calls Handler on target (a ThisClass object) after checking that its
// signature is Expected.
template <auto Handler, class Expected, class... Args>
inline decltype(auto) call(CCmdTarget *target, Args &&...args)
{
    using traits = handler_traits<decltype(Handler)>;
    static_assert(std::is_same_v<typename traits::signature, Expected>,
                  "message handler has the wrong signature for its map entry");
    return (static_cast<typename traits::owner *>(target)->*Handler)(static_cast<Args &&>(args)...);
}

inline CPoint point_of(LPARAM lparam) { return CPoint(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); }
inline UINT low_word(std::uintptr_t value) { return LOWORD(value); }
inline UINT high_word(std::uintptr_t value) { return HIWORD(value); }

// void f()
template <auto H>
LRESULT no_arguments(CCmdTarget *t, WPARAM, LPARAM) { call<H, void()>(t); return 0; }
// void f(UINT flags, CPoint point): mouse and non-client mouse messages
template <auto H>
LRESULT mouse(CCmdTarget *t, WPARAM w, LPARAM l) { call<H, void(UINT, CPoint)>(t, static_cast<UINT>(w), point_of(l)); return 0; }
// BOOL f(UINT flags, short delta, CPoint screen_point)
template <auto H>
LRESULT wheel(CCmdTarget *t, WPARAM w, LPARAM l)
{
    return call<H, BOOL(UINT, short, CPoint)>(t, low_word(w), static_cast<short>(high_word(w)), point_of(l));
}
// void f(UINT type, int cx, int cy)
template <auto H>
LRESULT size(CCmdTarget *t, WPARAM w, LPARAM l)
{
    call<H, void(UINT, int, int)>(t, static_cast<UINT>(w), static_cast<int>(low_word(static_cast<std::uintptr_t>(l))),
                                  static_cast<int>(high_word(static_cast<std::uintptr_t>(l))));
    return 0;
}
// void f(int x, int y)
template <auto H>
LRESULT move(CCmdTarget *t, WPARAM, LPARAM l) { call<H, void(int, int)>(t, static_cast<int>(GET_X_LPARAM(l)), static_cast<int>(GET_Y_LPARAM(l))); return 0; }
// void f(UINT key, UINT repeat_count, UINT flags)
template <auto H>
LRESULT key(CCmdTarget *t, WPARAM w, LPARAM l)
{
    call<H, void(UINT, UINT, UINT)>(t, static_cast<UINT>(w), low_word(static_cast<std::uintptr_t>(l)),
                                    high_word(static_cast<std::uintptr_t>(l)));
    return 0;
}
// void f(CWnd* other): focus changes
template <auto H>
LRESULT window_w(CCmdTarget *t, WPARAM w, LPARAM) { call<H, void(CWnd *)>(t, AfxWndFromHandle(reinterpret_cast<HWND>(w))); return 0; }
// void f(CWnd* window): WM_CAPTURECHANGED
template <auto H>
LRESULT window_l(CCmdTarget *t, WPARAM, LPARAM l) { call<H, void(CWnd *)>(t, AfxWndFromHandle(reinterpret_cast<HWND>(l))); return 0; }
// BOOL f(CDC* dc)
template <auto H>
LRESULT dc(CCmdTarget *t, WPARAM w, LPARAM) { return call<H, BOOL(CDC *)>(t, AfxDcFromHandle(reinterpret_cast<HDC>(w))); }
// int f(LPCREATESTRUCT)
template <auto H>
LRESULT create(CCmdTarget *t, WPARAM, LPARAM l) { return call<H, int(LPCREATESTRUCT)>(t, reinterpret_cast<LPCREATESTRUCT>(l)); }
// void f(WINDOWPOS*)
template <auto H>
LRESULT window_pos(CCmdTarget *t, WPARAM, LPARAM l) { call<H, void(WINDOWPOS *)>(t, reinterpret_cast<WINDOWPOS *>(l)); return 0; }
// BOOL f(CWnd* window, UINT hit_test, UINT message)
template <auto H>
LRESULT set_cursor(CCmdTarget *t, WPARAM w, LPARAM l)
{
    return call<H, BOOL(CWnd *, UINT, UINT)>(t, AfxWndFromHandle(reinterpret_cast<HWND>(w)),
                                             low_word(static_cast<std::uintptr_t>(l)), high_word(static_cast<std::uintptr_t>(l)));
}
// int f(CWnd* top_level, UINT hit_test, UINT message)
template <auto H>
LRESULT mouse_activate(CCmdTarget *t, WPARAM w, LPARAM l)
{
    return call<H, int(CWnd *, UINT, UINT)>(t, AfxWndFromHandle(reinterpret_cast<HWND>(w)),
                                            low_word(static_cast<std::uintptr_t>(l)), high_word(static_cast<std::uintptr_t>(l)));
}
// LRESULT f(CPoint screen_point)
template <auto H>
LRESULT hit_test(CCmdTarget *t, WPARAM, LPARAM l) { return call<H, LRESULT(CPoint)>(t, point_of(l)); }
// void f(CWnd* window, CPoint screen_point)
template <auto H>
LRESULT context_menu(CCmdTarget *t, WPARAM w, LPARAM l) { call<H, void(CWnd *, CPoint)>(t, AfxWndFromHandle(reinterpret_cast<HWND>(w)), point_of(l)); return 0; }
// void f(UINT command, LPARAM)
template <auto H>
LRESULT sys_command(CCmdTarget *t, WPARAM w, LPARAM l) { call<H, void(UINT, LPARAM)>(t, static_cast<UINT>(w), l); return 0; }
// void f(BOOL show, UINT status)
template <auto H>
LRESULT show_window(CCmdTarget *t, WPARAM w, LPARAM l) { call<H, void(BOOL, UINT)>(t, static_cast<BOOL>(w), static_cast<UINT>(l)); return 0; }
// void f(UINT_PTR id)
template <auto H>
LRESULT timer(CCmdTarget *t, WPARAM w, LPARAM) { call<H, void(UINT_PTR)>(t, static_cast<UINT_PTR>(w)); return 0; }
// void f(UINT state, CWnd* other, BOOL minimized)
template <auto H>
LRESULT activate(CCmdTarget *t, WPARAM w, LPARAM l)
{
    call<H, void(UINT, CWnd *, BOOL)>(t, low_word(w), AfxWndFromHandle(reinterpret_cast<HWND>(l)),
                                      static_cast<BOOL>(high_word(w)));
    return 0;
}
// void f(CMenu* popup, UINT index, BOOL system_menu)
template <auto H>
LRESULT init_menu_popup(CCmdTarget *t, WPARAM w, LPARAM l)
{
    call<H, void(CMenu *, UINT, BOOL)>(t, AfxMenuFromHandle(reinterpret_cast<HMENU>(w)),
                                       low_word(static_cast<std::uintptr_t>(l)),
                                       static_cast<BOOL>(high_word(static_cast<std::uintptr_t>(l))));
    return 0;
}
// LRESULT f(WPARAM, LPARAM)
template <auto H>
LRESULT raw(CCmdTarget *t, WPARAM w, LPARAM l) { return call<H, LRESULT(WPARAM, LPARAM)>(t, w, l); }
// void f(UINT id): command ranges; the ID arrives in wparam
template <auto H>
LRESULT command_range(CCmdTarget *t, WPARAM w, LPARAM) { call<H, void(UINT)>(t, static_cast<UINT>(w)); return 0; }

}  // namespace tessiv_message_map

#define TESSIV_ON(message, kind, handler) \
    {message, 0, 0, 0, &tessiv_message_map::kind<&ThisClass::handler>},

// Window messages, with the handler each calls.
#define ON_WM_CREATE() TESSIV_ON(WM_CREATE, create, OnCreate)                    // int (LPCREATESTRUCT)
#define ON_WM_DESTROY() TESSIV_ON(WM_DESTROY, no_arguments, OnDestroy)                     // void ()
#define ON_WM_NCDESTROY() TESSIV_ON(WM_NCDESTROY, no_arguments, OnNcDestroy)               // void ()
#define ON_WM_CLOSE() TESSIV_ON(WM_CLOSE, no_arguments, OnClose)                           // void ()
#define ON_WM_PAINT() TESSIV_ON(WM_PAINT, no_arguments, OnPaint)                           // void ()
#define ON_WM_NCPAINT() TESSIV_ON(WM_NCPAINT, no_arguments, OnNcPaint)                     // void ()
#define ON_WM_ERASEBKGND() TESSIV_ON(WM_ERASEBKGND, dc, OnEraseBkgnd)           // BOOL (CDC*)
#define ON_WM_SIZE() TESSIV_ON(WM_SIZE, size, OnSize)                           // void (UINT, int, int)
#define ON_WM_MOVE() TESSIV_ON(WM_MOVE, move, OnMove)                           // void (int, int)
#define ON_WM_SHOWWINDOW() TESSIV_ON(WM_SHOWWINDOW, show_window, OnShowWindow)  // void (BOOL, UINT)
#define ON_WM_WINDOWPOSCHANGED() TESSIV_ON(WM_WINDOWPOSCHANGED, window_pos, OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() TESSIV_ON(WM_WINDOWPOSCHANGING, window_pos, OnWindowPosChanging)
#define ON_WM_SETFOCUS() TESSIV_ON(WM_SETFOCUS, window_w, OnSetFocus)           // void (CWnd*)
#define ON_WM_KILLFOCUS() TESSIV_ON(WM_KILLFOCUS, window_w, OnKillFocus)        // void (CWnd*)
#define ON_WM_CAPTURECHANGED() TESSIV_ON(WM_CAPTURECHANGED, window_l, OnCaptureChanged)  // void (CWnd*)
#define ON_WM_ACTIVATE() TESSIV_ON(WM_ACTIVATE, activate, OnActivate)           // void (UINT, CWnd*, BOOL)
#define ON_WM_KEYDOWN() TESSIV_ON(WM_KEYDOWN, key, OnKeyDown)                   // void (UINT, UINT, UINT)
#define ON_WM_KEYUP() TESSIV_ON(WM_KEYUP, key, OnKeyUp)
#define ON_WM_CHAR() TESSIV_ON(WM_CHAR, key, OnChar)
#define ON_WM_SYSKEYDOWN() TESSIV_ON(WM_SYSKEYDOWN, key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() TESSIV_ON(WM_SYSKEYUP, key, OnSysKeyUp)
#define ON_WM_MOUSEMOVE() TESSIV_ON(WM_MOUSEMOVE, mouse, OnMouseMove)           // void (UINT, CPoint)
#define ON_WM_LBUTTONDOWN() TESSIV_ON(WM_LBUTTONDOWN, mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() TESSIV_ON(WM_LBUTTONUP, mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() TESSIV_ON(WM_LBUTTONDBLCLK, mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() TESSIV_ON(WM_RBUTTONDOWN, mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() TESSIV_ON(WM_RBUTTONUP, mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() TESSIV_ON(WM_RBUTTONDBLCLK, mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() TESSIV_ON(WM_MBUTTONDOWN, mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() TESSIV_ON(WM_MBUTTONUP, mouse, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() TESSIV_ON(WM_MBUTTONDBLCLK, mouse, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() TESSIV_ON(WM_MOUSEWHEEL, wheel, OnMouseWheel)        // BOOL (UINT, short, CPoint)
#define ON_WM_NCLBUTTONDOWN() TESSIV_ON(WM_NCLBUTTONDOWN, mouse, OnNcLButtonDown)  // void (UINT hit, CPoint)
#define ON_WM_NCLBUTTONUP() TESSIV_ON(WM_NCLBUTTONUP, mouse, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() TESSIV_ON(WM_NCLBUTTONDBLCLK, mouse, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() TESSIV_ON(WM_NCRBUTTONDOWN, mouse, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() TESSIV_ON(WM_NCRBUTTONUP, mouse, OnNcRButtonUp)
#define ON_WM_NCMBUTTONDOWN() TESSIV_ON(WM_NCMBUTTONDOWN, mouse, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() TESSIV_ON(WM_NCMBUTTONUP, mouse, OnNcMButtonUp)
#define ON_WM_NCMOUSEMOVE() TESSIV_ON(WM_NCMOUSEMOVE, mouse, OnNcMouseMove)
#define ON_WM_NCHITTEST() TESSIV_ON(WM_NCHITTEST, hit_test, OnNcHitTest)        // LRESULT (CPoint)
#define ON_WM_SETCURSOR() TESSIV_ON(WM_SETCURSOR, set_cursor, OnSetCursor)      // BOOL (CWnd*, UINT, UINT)
#define ON_WM_MOUSEACTIVATE() TESSIV_ON(WM_MOUSEACTIVATE, mouse_activate, OnMouseActivate)  // int (CWnd*, UINT, UINT)
#define ON_WM_CONTEXTMENU() TESSIV_ON(WM_CONTEXTMENU, context_menu, OnContextMenu)  // void (CWnd*, CPoint)
#define ON_WM_SYSCOMMAND() TESSIV_ON(WM_SYSCOMMAND, sys_command, OnSysCommand)  // void (UINT, LPARAM)
#define ON_WM_TIMER() TESSIV_ON(WM_TIMER, timer, OnTimer)                       // void (UINT_PTR)
#define ON_WM_INITMENUPOPUP() TESSIV_ON(WM_INITMENUPOPUP, init_menu_popup, OnInitMenuPopup)  // void (CMenu*, UINT, BOOL)

// Any message to LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, handler) \
    {message, 0, 0, 0, &tessiv_message_map::raw<&ThisClass::handler>},
// A menu or accelerator command to void handler().
#define ON_COMMAND(id, handler) \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), &tessiv_message_map::no_arguments<&ThisClass::handler>},
// Commands first..last to void handler(UINT id).
#define ON_COMMAND_RANGE(first, last, handler)                                  \
    {WM_COMMAND, 0, static_cast<UINT>(first), static_cast<UINT>(last),          \
     &tessiv_message_map::command_range<&ThisClass::handler>},
