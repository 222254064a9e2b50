// X11 backend: real windows, input, cursors and GDI pixels on the X display
// $DISPLAY names; GL is x11_egl.cpp.
//
// Supports: one X window per platform window, top-level windows as children
// of the root window and child windows as X children of their parent's X
// window, at the same rectangles (a child sits in its parent's client
// area), z-order and show state as the in-memory tree; titles; the window
// manager's close (WM_DELETE_WINDOW) as WM_CLOSE, its moves and resizes as
// SetWindowPos (so WM_SIZE and WM_MOVE follow), its destroying a window as
// DestroyWindow. Buttons 1 to 3, motion and the wheel (buttons 4 and 5,
// +-WHEEL_DELTA a notch) join the platform's input queue, where capture
// and double clicks are decided as for posted input; keys join the same
// queue (in order with the buttons) as WM_KEYDOWN/WM_KEYUP with VK_ codes
// for the focus window; GetAsyncKeyState
// reads the server's key and button state; focus in and out of a top-level
// window move the focus; entering a window sends it a mouse move; Expose
// invalidates (one WM_PAINT however many arrive). SetCapture grabs the
// pointer. GDI surfaces are put with XPutImage from the same 32-bit
// buffers. Cursors: the module's cursor images as Xcursor ARGB cursors
// with their hot spots, the predefined ones from the cursor font.
// Does not support: windows of other visuals, MIT-SHM, keyboard layouts
// beyond the keys the platform names, horizontal wheels.
// Faults: no display (the backend does not start, reported); the display
// going away (reported, WM_QUIT with exit code 1 on the next pump, every
// later call a no-op); X protocol errors (reported, never fatal); events
// for windows already destroyed (dropped); zero-sized windows (unmapped).
// Tested by tests/x11/ under Xvfb.
#include <tessiv/platform/backend/x11.h>
#include <tessiv/platform/winbase.h>

#include <X11/Xatom.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

namespace tessiv_platform::backend::x11 {
namespace {

Connection *open_connection = nullptr;
std::atomic<bool> lost{false};
bool loss_announced = false;
HWND configuring = nullptr;  // the window whose server geometry is being applied

int on_io_error(::Display *)
{
    lost = true;
    return 0;
}

// Called when the connection breaks; returning keeps the process alive and
// turns every later Xlib call on the display into a no-op.
void on_io_error_exit(::Display *, void *) { lost = true; }

int on_error(::Display *display, XErrorEvent *event)
{
    char text[200];
    XGetErrorText(display, event->error_code, text, sizeof text);
    char line[320];
    std::snprintf(line, sizeof line, "X request %u.%u failed: %s", static_cast<unsigned>(event->request_code),
                  static_cast<unsigned>(event->minor_code), text);
    TessivReportDiagnostic("X11 display", line);
    return 0;
}

struct KeyName {
    KeySym symbol;
    int virtual_key;
};
KeyName const kKeys[] = {
    {XK_Shift_L, VK_SHIFT},     {XK_Shift_R, VK_SHIFT},   {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL}, {XK_Alt_L, VK_MENU},      {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},       {XK_Meta_R, VK_MENU},     {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},   {XK_Escape, VK_ESCAPE},   {XK_Tab, VK_TAB},
    {XK_BackSpace, VK_BACK},    {XK_space, VK_SPACE},     {XK_Delete, VK_DELETE},
    {XK_Insert, VK_INSERT},     {XK_Home, VK_HOME},       {XK_End, VK_END},
    {XK_Prior, VK_PRIOR},       {XK_Next, VK_NEXT},       {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},             {XK_Right, VK_RIGHT},     {XK_Down, VK_DOWN},
    {XK_Pause, VK_PAUSE},       {XK_Caps_Lock, VK_CAPITAL},
};

int virtual_key_of(KeySym symbol)
{
    if (symbol >= XK_a && symbol <= XK_z)
        return static_cast<int>('A' + (symbol - XK_a));
    if (symbol >= XK_A && symbol <= XK_Z)
        return static_cast<int>('A' + (symbol - XK_A));
    if (symbol >= XK_0 && symbol <= XK_9)
        return static_cast<int>('0' + (symbol - XK_0));
    if (symbol >= XK_F1 && symbol <= XK_F12)
        return static_cast<int>(VK_F1 + (symbol - XK_F1));
    for (KeyName const &key : kKeys)
        if (key.symbol == symbol)
            return key.virtual_key;
    return 0;
}

// The key symbols of a virtual key (either of its left and right keys).
std::vector<KeySym> symbols_of(int virtual_key)
{
    std::vector<KeySym> symbols;
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        symbols.push_back(static_cast<KeySym>(XK_a + (virtual_key - 'A')));
    else if (virtual_key >= '0' && virtual_key <= '9')
        symbols.push_back(static_cast<KeySym>(XK_0 + (virtual_key - '0')));
    else if (virtual_key >= VK_F1 && virtual_key <= VK_F12)
        symbols.push_back(static_cast<KeySym>(XK_F1 + (virtual_key - VK_F1)));
    for (KeyName const &key : kKeys)
        if (key.virtual_key == virtual_key)
            symbols.push_back(key.symbol);
    return symbols;
}

// Where the window's X window sits in its X parent: a child in its parent's
// client area, a top-level window on the screen.
RECT server_rect(Window const &window)
{
    RECT rect = window.rect;
    if (Window *parent = (window.style & WS_CHILD) ? find_window(window.parent) : nullptr) {
        RECT inner = client_rect_in_window(*parent);
        OffsetRect(&rect, inner.left, inner.top);
    }
    return rect;
}

bool has_area(Window const &window)
{
    return window.rect.right > window.rect.left && window.rect.bottom > window.rect.top;
}

class X11 final : public Backend {
public:
    explicit X11(Connection *x) : x_(*x) {}
    char const *name() const override { return "x11"; }

    void create_window(Window &window) override
    {
        if (lost)
            return;
        ::Window parent = x_.root;
        if (window.style & WS_CHILD)
            parent = window_id(window.parent);
        if (!parent)
            return;
        RECT rect = server_rect(window);
        ::Window id = make_x_window(parent, rect, kEventMask);
        x_.windows[window.handle] = XWindow{id, false, false, 0, {}};
        if (!(window.style & WS_CHILD)) {
            XSetWMProtocols(x_.display, id, &x_.wm_delete_window, 1);
            set_title(window);
            // Placed where the tree says, not where the window manager likes.
            XSizeHints hints{};
            hints.flags = USPosition | USSize;
            hints.x = rect.left;
            hints.y = rect.top;
            hints.width = static_cast<int>(width_of(rect));
            hints.height = static_cast<int>(height_of(rect));
            XSetWMNormalHints(x_.display, id, &hints);
        } else {
            restack(window.parent);
        }
        if (cursor_ && !(window.style & WS_CHILD))
            XDefineCursor(x_.display, id, cursor_);
        XFlush(x_.display);
        x_.by_id[id] = window.handle;
    }

    void destroy_window(Window &window) override
    {
        auto it = x_.windows.find(window.handle);
        if (it == x_.windows.end())
            return;
        if (!lost && !it->second.gone) {
            XDestroyWindow(x_.display, it->second.id);
            XFlush(x_.display);
        }
        x_.by_id.erase(it->second.id);
        x_.by_id.erase(it->second.client);
        x_.windows.erase(it);
        if (grab_ == window.handle)
            grab_ = nullptr;
    }

    void sync_window(Window &window, unsigned changes) override
    {
        XWindow *xw = find(window.handle);
        if (lost || !xw || xw->gone)
            return;
        if (changes & kParent) {
            ::Window parent = (window.style & WS_CHILD) ? window_id(window.parent) : x_.root;
            RECT rect = server_rect(window);
            if (parent)
                XReparentWindow(x_.display, xw->id, parent, rect.left, rect.top);
            changes |= kZOrder | kGeometry;
        }
        if ((changes & kGeometry) && configuring != window.handle) {
            RECT rect = server_rect(window);
            XMoveResizeWindow(x_.display, xw->id, rect.left, rect.top, width_of(rect), height_of(rect));
            if (!(window.style & WS_CHILD)) {
                // A few requests in flight at most; older ones were dropped by the server or the manager.
                if (xw->requested.size() >= 16)
                    xw->requested.erase(xw->requested.begin());
                xw->requested.push_back(RECT{rect.left, rect.top, rect.left + static_cast<LONG>(width_of(rect)),
                                             rect.top + static_cast<LONG>(height_of(rect))});
            }
            if (xw->client) {
                RECT client = client_rect_in_window(window);
                XMoveResizeWindow(x_.display, xw->client, client.left, client.top, width_of(client),
                                  height_of(client));
            }
            // The children's offsets follow the parent's client area.
            for (HWND child : window.children)
                if (Window *c = find_window(child); c && find(child)) {
                    RECT child_rect = server_rect(*c);
                    XMoveWindow(x_.display, find(child)->id, child_rect.left, child_rect.top);
                }
        }
        if (changes & (kGeometry | kVisibility))
            update_mapping(window, *xw);
        if ((changes & kZOrder) && (window.style & WS_CHILD))
            restack(window.parent);
        if (changes & kText)
            set_title(window);
        XFlush(x_.display);
    }

    void pump_events() override
    {
        if (lost) {
            announce_loss();
            return;
        }
        while (!lost && XPending(x_.display)) {
            XEvent event;
            XNextEvent(x_.display, &event);
            handle(event);
        }
        if (lost)
            announce_loss();
    }

    bool wait_for_events(int milliseconds) override
    {
        if (lost)
            return false;
        if (XPending(x_.display))
            return true;
        pollfd descriptor{ConnectionNumber(x_.display), POLLIN, 0};
        poll(&descriptor, 1, milliseconds);
        // Posted messages of other threads are seen at the next turn.
        return true;
    }

    bool query_key(int virtual_key, bool *down) override
    {
        if (lost)
            return false;
        if (virtual_key == VK_LBUTTON || virtual_key == VK_RBUTTON || virtual_key == VK_MBUTTON) {
            ::Window root, child;
            int root_x, root_y, x, y;
            unsigned mask = 0;
            if (!XQueryPointer(x_.display, x_.root, &root, &child, &root_x, &root_y, &x, &y, &mask))
                return false;
            unsigned bit = virtual_key == VK_LBUTTON ? Button1Mask
                           : virtual_key == VK_MBUTTON ? Button2Mask
                                                       : Button3Mask;
            *down = (mask & bit) != 0;
            return true;
        }
        std::vector<KeySym> symbols = symbols_of(virtual_key);
        if (symbols.empty())
            return false;
        char keys[32];
        XQueryKeymap(x_.display, keys);
        *down = false;
        for (KeySym symbol : symbols) {
            KeyCode code = XKeysymToKeycode(x_.display, symbol);
            if (code && (keys[code / 8] & (1 << (code % 8))))
                *down = true;
        }
        return true;
    }

    void set_capture(HWND window) override
    {
        if (lost)
            return;
        if (!window) {
            XUngrabPointer(x_.display, CurrentTime);
            grab_ = nullptr;
        } else if (XWindow *xw = find(window); xw && !xw->gone) {
            unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask;
            int result = XGrabPointer(x_.display, xw->id, True, mask, GrabModeAsync, GrabModeAsync, None,
                                      cursor_, CurrentTime);
            if (result != GrabSuccess)
                TessivReportDiagnostic("SetCapture", "XGrabPointer was refused; a drag leaving the window is lost");
            else
                grab_ = window;
        }
        XFlush(x_.display);
    }

    void set_cursor(HCURSOR cursor) override
    {
        if (lost)
            return;
        cursor_ = x_cursor(cursor);
        for (auto const &[handle, xw] : x_.windows) {
            Window *window = find_window(handle);
            if (window && !(window->style & WS_CHILD) && !xw.gone)
                XDefineCursor(x_.display, xw.id, cursor_);
        }
        if (grab_)
            XChangeActivePointerGrab(x_.display,
                                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                         LeaveWindowMask,
                                     cursor_, CurrentTime);
        XFlush(x_.display);
    }

    void present_surface(Window &window) override
    {
        XWindow *xw = find(window.handle);
        // GL windows show their swapped frames, not GDI pixels (a frame around
        // the client area still shows).
        if (lost || !xw || xw->gone || (window.pixel_format && !xw->client) || window.surface.empty() ||
            !x_.direct_pixels)
            return;
        XImage *image = XCreateImage(x_.display, x_.visual, static_cast<unsigned>(x_.depth), ZPixmap, 0,
                                     reinterpret_cast<char *>(window.surface.data()),
                                     static_cast<unsigned>(window.surface_width),
                                     static_cast<unsigned>(window.surface_height), 32, window.surface_width * 4);
        if (!image)
            return;
        XPutImage(x_.display, xw->id, DefaultGC(x_.display, x_.screen), image, 0, 0, 0, 0,
                  static_cast<unsigned>(window.surface_width), static_cast<unsigned>(window.surface_height));
        image->data = nullptr;  // the surface stays the window's
        XDestroyImage(image);
        XFlush(x_.display);
    }

    ::Window gl_window(HWND handle)
    {
        XWindow *xw = find(handle);
        Window *window = find_window(handle);
        if (lost || !xw || xw->gone || !window)
            return 0;
        RECT client = client_rect_in_window(*window);
        bool framed = client.left != 0 || client.top != 0 || client.right != window->rect.right - window->rect.left ||
                      client.bottom != window->rect.bottom - window->rect.top;
        if (!framed || xw->client)
            return framed ? xw->client : xw->id;
        xw->client = make_x_window(xw->id, client, kEventMask & ~StructureNotifyMask);
        x_.by_id[xw->client] = handle;
        XMapWindow(x_.display, xw->client);
        XFlush(x_.display);
        return xw->client;
    }

    std::vector<PixelFormat> pixel_formats() override { return gl::pixel_formats(); }
    Context *create_context(int format) override { return gl::create_context(format); }
    bool share_objects(Context *source, Context *target) override { return gl::share_objects(source, target); }
    void destroy_context(Context *context) override { gl::destroy_context(context); }
    bool make_current(Context *context, Window &window) override { return gl::make_current(context, window); }
    bool release_current() override { return gl::release_current(); }
    bool swap_buffers(Window &window) override { return gl::swap_buffers(window); }
    void destroy_drawable(Window &window) override { gl::destroy_drawable(window); }
    bool read_front_buffer(Window &window, TessivFrontBuffer *out) override
    {
        return gl::read_front_buffer(window, out);
    }
    void *proc_address(char const *name) override { return gl::proc_address(name); }
    void set_fault(TessivDisplayFault fault) override { gl::set_fault(fault); }
    void set_swap_method(TessivSwapMethod method) override { gl::set_swap_method(method); }

private:
    static constexpr long kEventMask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                                       PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                                       KeyReleaseMask | FocusChangeMask;

    ::Window make_x_window(::Window parent, RECT const &rect, long event_mask)
    {
        XSetWindowAttributes attributes{};
        attributes.background_pixmap = None;  // every pixel comes from GDI or GL
        attributes.event_mask = event_mask;
        attributes.bit_gravity = NorthWestGravity;
        return XCreateWindow(x_.display, parent, rect.left, rect.top, width_of(rect), height_of(rect), 0, x_.depth,
                             InputOutput, x_.visual, CWBackPixmap | CWEventMask | CWBitGravity, &attributes);
    }

    // X windows are at least 1 x 1; an empty one stays unmapped instead.
    static unsigned width_of(RECT const &rect)
    {
        return static_cast<unsigned>(std::max(1L, static_cast<long>(rect.right - rect.left)));
    }
    static unsigned height_of(RECT const &rect)
    {
        return static_cast<unsigned>(std::max(1L, static_cast<long>(rect.bottom - rect.top)));
    }

    XWindow *find(HWND handle)
    {
        auto it = x_.windows.find(handle);
        return it == x_.windows.end() ? nullptr : &it->second;
    }

    void set_title(Window const &window)
    {
        XWindow *xw = find(window.handle);
        if (!xw || (window.style & WS_CHILD))
            return;
        XStoreName(x_.display, xw->id, window.text.c_str());
        XChangeProperty(x_.display, xw->id, x_.net_wm_name, x_.utf8_string, 8, PropModeReplace,
                        reinterpret_cast<unsigned char const *>(window.text.data()),
                        static_cast<int>(window.text.size()));
    }

    // Mapped while visible with an area: X has no empty windows.
    void update_mapping(Window const &window, XWindow &xw)
    {
        bool want = (window.style & WS_VISIBLE) && has_area(window);
        if (want == xw.mapped)
            return;
        xw.mapped = want;
        if (want)
            XMapWindow(x_.display, xw.id);
        else
            XUnmapWindow(x_.display, xw.id);
    }

    // The X stacking of parent's children, topmost first as the tree keeps them.
    void restack(HWND parent)
    {
        Window *window = find_window(parent);
        if (!window)
            return;
        std::vector<::Window> order;
        for (HWND child : window->children)
            if (XWindow *xw = find(child); xw && !xw->gone)
                order.push_back(xw->id);
        if (order.size() > 1)
            XRestackWindows(x_.display, order.data(), static_cast<int>(order.size()));
    }

    ::Cursor x_cursor(HCURSOR cursor)
    {
        auto it = cursors_.find(cursor);
        if (it != cursors_.end())
            return it->second;
        ::Cursor made = None;
        std::vector<TessivCursorImage> images;
        if (!cursor) {
            // No cursor: an invisible one, as SetCursor(NULL) hides it.
            if (XcursorImage *image = XcursorImageCreate(1, 1)) {
                image->xhot = image->yhot = 0;
                image->pixels[0] = 0;
                made = XcursorImageLoadCursor(x_.display, image);
                XcursorImageDestroy(image);
            }
        } else if (TessivGetCursorImages(cursor, &images) && !images.empty()) {
            // The image nearest the cursor size, the deepest among equals.
            auto best = std::min_element(images.begin(), images.end(), [](auto const &a, auto const &b) {
                return std::make_pair(std::abs(a.width - 32), -a.bits_per_pixel) <
                       std::make_pair(std::abs(b.width - 32), -b.bits_per_pixel);
            });
            made = argb_cursor(*best);
        } else {
            made = XCreateFontCursor(x_.display, font_shape(cursor));
        }
        cursors_[cursor] = made;
        return made;
    }

    ::Cursor argb_cursor(TessivCursorImage const &source)
    {
        if (source.width <= 0 || source.height <= 0 ||
            source.pixels.size() < static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height))
            return None;
        XcursorImage *image = XcursorImageCreate(source.width, source.height);
        if (!image)
            return None;
        image->xhot = static_cast<XcursorDim>(std::clamp(static_cast<int>(source.hot_spot.x), 0, source.width - 1));
        image->yhot = static_cast<XcursorDim>(std::clamp(static_cast<int>(source.hot_spot.y), 0, source.height - 1));
        std::size_t const count = static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height);
        for (std::size_t i = 0; i < count; ++i) {
            // Xcursor wants premultiplied alpha.
            std::uint32_t p = source.pixels[i];
            std::uint32_t alpha = p >> 24;
            auto scale = [alpha](std::uint32_t channel) { return (channel * alpha + 127) / 255; };
            image->pixels[i] = (alpha << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) |
                               scale(p & 0xFF);
        }
        ::Cursor cursor = XcursorImageLoadCursor(x_.display, image);
        XcursorImageDestroy(image);
        return cursor;
    }

    static unsigned font_shape(HCURSOR cursor)
    {
        struct Shape {
            std::uintptr_t id;
            unsigned shape;
        };
        static Shape const shapes[] = {{32512, XC_left_ptr},       {32513, XC_xterm},
                                       {32514, XC_watch},          {32515, XC_crosshair},
                                       {32516, XC_sb_up_arrow},    {32642, XC_bottom_right_corner},
                                       {32643, XC_bottom_left_corner}, {32644, XC_sb_h_double_arrow},
                                       {32645, XC_sb_v_double_arrow},  {32646, XC_fleur},
                                       {32648, XC_X_cursor},       {32649, XC_hand2}};
        for (Shape const &s : shapes)
            if (LoadCursorA(nullptr, MAKEINTRESOURCE(s.id)) == cursor)
                return s.shape;
        return XC_left_ptr;
    }

    void announce_loss()
    {
        if (loss_announced)
            return;
        loss_announced = true;
        TessivReportDiagnostic("X11 display", "the connection to the X display was lost; quitting");
        for (auto &[handle, xw] : x_.windows)
            xw.gone = true;
        PostQuitMessage(1);
    }

    // The screen point of an event at (x, y) in one of the window's X
    // windows (its client subwindow's coordinates are client coordinates).
    POINT screen_point(HWND handle, ::Window source, int x, int y)
    {
        POINT point{x, y};
        XWindow *xw = find(handle);
        Window *window = find_window(handle);
        if (window && !(xw && source == xw->client)) {
            RECT inner = client_rect_in_window(*window);
            point.x -= inner.left;
            point.y -= inner.top;
        }
        ClientToScreen(handle, &point);
        return point;
    }

    void handle(XEvent &event)
    {
        auto it = x_.by_id.find(event.xany.window);
        if (it == x_.by_id.end())
            return;  // a window already destroyed
        HWND handle = it->second;
        ::Window source = event.xany.window;
        XWindow *xw = find(handle);
        bool in_client = xw && source == xw->client;
        switch (event.type) {
        case ButtonPress:
        case ButtonRelease: {
            bool press = event.type == ButtonPress;
            POINT screen = screen_point(handle, source, event.xbutton.x, event.xbutton.y);
            switch (event.xbutton.button) {
            case Button1: queue_mouse_event(handle, press ? WM_LBUTTONDOWN : WM_LBUTTONUP, screen, 0); break;
            case Button2: queue_mouse_event(handle, press ? WM_MBUTTONDOWN : WM_MBUTTONUP, screen, 0); break;
            case Button3: queue_mouse_event(handle, press ? WM_RBUTTONDOWN : WM_RBUTTONUP, screen, 0); break;
            case Button4:
                if (press)
                    queue_mouse_event(handle, WM_MOUSEWHEEL, screen, WHEEL_DELTA);
                break;
            case Button5:
                if (press)
                    queue_mouse_event(handle, WM_MOUSEWHEEL, screen, -WHEEL_DELTA);
                break;
            default: break;
            }
            break;
        }
        case MotionNotify:
            queue_mouse_event(handle, WM_MOUSEMOVE, screen_point(handle, source, event.xmotion.x, event.xmotion.y), 0);
            break;
        case EnterNotify:
            if (event.xcrossing.mode == NotifyNormal)
                queue_mouse_event(handle, WM_MOUSEMOVE,
                                  screen_point(handle, source, event.xcrossing.x, event.xcrossing.y), 0);
            break;
        case KeyPress:
        case KeyRelease: {
            KeySym symbol = XLookupKeysym(&event.xkey, 0);
            if (int key = virtual_key_of(symbol))
                queue_key_event(handle, key, event.type == KeyPress);
            break;
        }
        case FocusIn:
            if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyPointer) {
                HWND focus = GetFocus();
                if (!focus || (focus != handle && !IsChild(handle, focus)))
                    SetFocus(handle);
            }
            break;
        case FocusOut:
            if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyPointer &&
                event.xfocus.detail != NotifyInferior) {
                HWND focus = GetFocus();
                if (focus && (focus == handle || IsChild(handle, focus)))
                    SetFocus(nullptr);
            }
            break;
        case Expose: {
            Window *window = find_window(handle);
            if (!window)
                break;
            RECT inner = in_client ? RECT{} : client_rect_in_window(*window);
            RECT area{event.xexpose.x - inner.left, event.xexpose.y - inner.top,
                      event.xexpose.x - inner.left + event.xexpose.width,
                      event.xexpose.y - inner.top + event.xexpose.height};
            // Invalid areas merge, so a storm of exposures is one WM_PAINT.
            InvalidateRect(handle, &area, TRUE);
            break;
        }
        case ConfigureNotify:
            if (!in_client)
                apply_configure(handle, event.xconfigure);
            break;
        case ClientMessage:
            if (event.xclient.message_type == x_.wm_protocols &&
                static_cast<Atom>(event.xclient.data.l[0]) == x_.wm_delete_window)
                PostMessageA(handle, WM_CLOSE, 0, 0);
            break;
        case DestroyNotify:
            if (!in_client && event.xdestroywindow.window == event.xany.window)
                destroyed_by_server(handle);
            break;
        default:
            break;
        }
    }

    // A top-level window moved or sized by the window manager (or the user)
    // takes that geometry; the echoes of our own requests change nothing.
    void apply_configure(HWND handle, XConfigureEvent const &configure)
    {
        Window *window = find_window(handle);
        if (!window || (window->style & WS_CHILD))
            return;
        int x = configure.x, y = configure.y;
        if (!configure.send_event) {
            ::Window child;
            XTranslateCoordinates(x_.display, configure.window, x_.root, 0, 0, &x, &y, &child);
        }
        // The echo of a request of ours, possibly overtaken by later ones
        // already applied to the tree: not a move by the manager.
        if (XWindow *xw = find(handle)) {
            auto echo = std::find_if(xw->requested.begin(), xw->requested.end(), [&](RECT const &r) {
                return r.left == x && r.top == y && r.right - r.left == configure.width &&
                       r.bottom - r.top == configure.height;
            });
            if (echo != xw->requested.end()) {
                xw->requested.erase(xw->requested.begin(), echo + 1);
                return;
            }
        }
        RECT const &rect = window->rect;
        int width = configure.width, height = configure.height;
        bool same_size = width == std::max(1L, static_cast<long>(rect.right - rect.left)) &&
                         height == std::max(1L, static_cast<long>(rect.bottom - rect.top));
        if (same_size && x == rect.left && y == rect.top)
            return;
        if (same_size) {
            width = rect.right - rect.left;
            height = rect.bottom - rect.top;
        }
        configuring = handle;
        SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        configuring = nullptr;
    }

    // The server destroyed the window (and with it its X children): the
    // platform window follows, without touching the dead X windows.
    void destroyed_by_server(HWND handle)
    {
        std::vector<HWND> doomed{handle};
        for (std::size_t i = 0; i < doomed.size(); ++i) {
            if (XWindow *xw = find(doomed[i]))
                xw->gone = true;
            if (Window *window = find_window(doomed[i]))
                doomed.insert(doomed.end(), window->children.begin(), window->children.end());
        }
        Window *window = find_window(handle);
        if (window && !window->destroying)
            DestroyWindow(handle);
    }

    Connection &x_;
    HWND grab_ = nullptr;
    ::Cursor cursor_ = None;
    std::map<HCURSOR, ::Cursor> cursors_;
};

X11 *running = nullptr;

}  // namespace

Connection *connection() { return lost ? nullptr : open_connection; }
bool display_lost() { return lost; }

::Window gl_window_id(HWND window)
{
    return running && !lost ? running->gl_window(window) : 0;
}

::Window window_id(HWND window)
{
    if (!open_connection)
        return 0;
    auto it = open_connection->windows.find(window);
    return it == open_connection->windows.end() || it->second.gone ? 0 : it->second.id;
}

}  // namespace tessiv_platform::backend::x11

namespace tessiv_platform::backend {

Backend *make_x11()
{
    using namespace x11;
    static Backend *instance = nullptr;
    if (instance)
        return instance;
    // GetAsyncKeyState may ask the server from any thread.
    XInitThreads();
    char const *name = XDisplayName(nullptr);
    ::Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::string text = std::string("cannot open the X display \"") + (name ? name : "") +
                           "\" (is DISPLAY set and the server running?)";
        TessivReportDiagnostic("X11 display", text.c_str());
        return nullptr;
    }
    XSetErrorHandler(on_error);
    XSetIOErrorHandler(on_io_error);
    XSetIOErrorExitHandler(display, on_io_error_exit, nullptr);
    auto *x = new Connection;
    x->display = display;
    x->screen = DefaultScreen(display);
    x->root = RootWindow(display, x->screen);
    x->visual = DefaultVisual(display, x->screen);
    x->depth = DefaultDepth(display, x->screen);
    x->direct_pixels = x->depth == 24 && x->visual->red_mask == 0xFF0000 && x->visual->green_mask == 0xFF00 &&
                       x->visual->blue_mask == 0xFF && ImageByteOrder(display) == LSBFirst;
    if (!x->direct_pixels)
        TessivReportDiagnostic("X11 display",
                               "the screen's visual is not 24-bit 0x00RRGGBB; GDI drawing is not shown");
    x->wm_protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    x->wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    x->net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    x->utf8_string = XInternAtom(display, "UTF8_STRING", False);
    open_connection = x;
    TessivSetScreenSize(DisplayWidth(display, x->screen), DisplayHeight(display, x->screen));
    running = new X11(x);
    instance = running;
    return instance;
}

}  // namespace tessiv_platform::backend
