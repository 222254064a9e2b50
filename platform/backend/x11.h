// Private to the X11 backend (x11_display.cpp, x11_egl.cpp): the display
// connection and the X window behind each platform window.
#pragma once

#include <tessiv/platform/backend/backend.h>

#include <X11/Xlib.h>

#include <map>
#include <vector>

namespace tessiv_platform::backend::x11 {

struct XWindow {
    ::Window id = 0;
    bool gone = false;    // destroyed on the server (by the window manager)
    bool mapped = false;  // what was last asked of the server
    // An X child over the client area of a GL window with a frame, where GL
    // draws; 0 when GL draws into the window itself.
    ::Window client = 0;
    // Top-level geometries asked of the server and not yet echoed back
    // (left, top, right, bottom on the root), oldest first.
    std::vector<RECT> requested;
};

struct Connection {
    ::Display *display = nullptr;
    int screen = 0;
    ::Window root = 0;
    Visual *visual = nullptr;
    int depth = 0;
    bool direct_pixels = false;  // the visual stores 0x00RRGGBB in 32-bit words
    Atom wm_protocols = 0;
    Atom wm_delete_window = 0;
    Atom net_wm_name = 0;
    Atom utf8_string = 0;
    std::map<HWND, XWindow> windows;
    std::map<::Window, HWND> by_id;
};

// The open connection; null before the backend started.
Connection *connection();
// True once the server went away: no call may touch the display any more.
bool display_lost();
// The X window of a platform window, or 0.
::Window window_id(HWND window);
// The X window GL draws into for a platform window: the window itself, or
// (made on first use) an X child over its client area when it has a frame;
// 0 when there is none.
::Window gl_window_id(HWND window);

}  // namespace tessiv_platform::backend::x11

// The GL half (x11_egl.cpp): EGL window surfaces on the X windows; the calls
// mean what the Backend members of the same names mean.
namespace tessiv_platform::backend::x11::gl {

std::vector<PixelFormat> pixel_formats();
Context *create_context(int format);
bool share_objects(Context *source, Context *target);
void destroy_context(Context *context);
bool make_current(Context *context, Window &window);
bool release_current();
bool swap_buffers(Window &window);
void destroy_drawable(Window &window);
bool read_front_buffer(Window &window, TessivFrontBuffer *out);
void *proc_address(char const *name);
void set_fault(TessivDisplayFault fault);
void set_swap_method(TessivSwapMethod method);

}  // namespace tessiv_platform::backend::x11::gl
