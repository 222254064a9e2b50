// Private to libtessiv_platform: the one seam between the platform layer
// and the display it runs on. window.cpp, message.cpp, gdi.cpp and wgl.cpp
// tell the active backend what happened to the in-memory window tree and ask
// it for events, cursors, presented pixels and GL; a backend names its own
// API (EGL, Xlib) only in its files here. The backend is chosen once per
// process, before the first window or GL call (see README.md).
#pragma once

#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>

#include <vector>

namespace tessiv_platform::backend {

// One GL pixel format the display offers; every format is double-buffered,
// draws to windows and supports OpenGL.
struct PixelFormat {
    int colour_bits;  // red + green + blue
    int alpha_bits;
    int depth_bits;
    int stencil_bits;
};

struct Context;

// What changed about a window, for Backend::sync_window.
enum WindowChange : unsigned {
    kGeometry = 1u << 0,    // its rectangle (or its frame styles)
    kVisibility = 1u << 1,  // WS_VISIBLE
    kZOrder = 1u << 2,      // its place among its siblings
    kText = 1u << 3,        // its title
    kParent = 1u << 4,      // SetParent
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual char const *name() const = 0;

    // ---- windows: the in-memory tree is the truth, the backend mirrors it.
    // After the window joined the table and its parent's child list, before
    // its first message.
    virtual void create_window(Window &) {}
    // Before the window leaves the table; its children are gone already.
    virtual void destroy_window(Window &) {}
    virtual void sync_window(Window &, unsigned /*changes*/) {}

    // ---- events. Turns whatever the display has pending into queued input,
    // posted messages and invalid areas on the calling thread; never blocks.
    virtual void pump_events() {}
    // Waits up to milliseconds for display events; false when the backend
    // has nothing to wait on, so the caller waits on its own queue instead.
    virtual bool wait_for_events(int /*milliseconds*/) { return false; }
    // The real state of a key or button; false when the backend keeps none,
    // so the platform's own key table answers.
    virtual bool query_key(int /*virtual_key*/, bool * /*down*/) { return false; }

    // ---- input ownership and cursors.
    virtual void set_capture(HWND /*window: null releases*/) {}
    virtual void set_cursor(HCURSOR) {}

    // ---- GDI: the window's surface (window-rect sized, 0x00RRGGBB) was
    // painted and may go to the screen.
    virtual void present_surface(Window &) {}

    // ---- GL.
    // The formats, in index order (format n is element n - 1). Opens the
    // display on first use; empty when it cannot be opened or offers no
    // format, the cause reported once through the diagnostic sink.
    virtual std::vector<PixelFormat> pixel_formats() = 0;
    // A compatibility-profile context of format (1-based) with its own object
    // namespace, freed with it; null on failure (reported).
    virtual Context *create_context(int format) = 0;
    // Makes target share source's objects (and those source shares); target
    // must never have been current. False on failure (reported).
    virtual bool share_objects(Context *source, Context *target) = 0;
    virtual void destroy_context(Context *context) = 0;
    // Binds context on the calling thread to the window's drawable, creating
    // the drawable or fitting it to the client size first.
    virtual bool make_current(Context *context, Window &window) = 0;
    // Binds no context on the calling thread.
    virtual bool release_current() = 0;
    // Shows the drawable's back buffer; the depth and stencil buffers stay
    // as drawn.
    virtual bool swap_buffers(Window &window) = 0;
    // Frees the window's drawable; a context bound to it stays current
    // without one.
    virtual void destroy_drawable(Window &window) = 0;
    virtual bool read_front_buffer(Window &window, TessivFrontBuffer *out) = 0;
    virtual void *proc_address(char const *name) = 0;
    virtual void set_fault(TessivDisplayFault fault) = 0;
    virtual void set_swap_method(TessivSwapMethod method) = 0;
};

// The backend of this process: the one selected, else the one TESSIV_BACKEND
// names, else headless. Fixed by the first call.
Backend &active();
// Selects a backend by name before active() was first called; false (and a
// report) for an unknown name, a backend that cannot start, or too late.
bool select(char const *name);

// The backends built into this library (backends.cpp keeps the list).
Backend *make_headless();
#if defined(TESSIV_HAVE_X11)
// Null (reported) when no X display can be opened.
Backend *make_x11();
#endif

}  // namespace tessiv_platform::backend

// What the platform offers its backends: real input enters the same queues
// and rules as posted scripted input (message.cpp).
namespace tessiv_platform {

// A mouse event of the display, aimed at window: message is WM_MOUSEMOVE,
// WM_*BUTTONDOWN/UP or WM_MOUSEWHEEL (wheel in multiples of WHEEL_DELTA),
// screen the pointer's screen position. Routed (capture, double click) when
// taken from the window thread's queue.
void queue_mouse_event(HWND window, UINT message, POINT screen, int wheel);
// A key of the display, queued behind the mouse events before it: when
// taken, the key state changes and it becomes WM_KEYDOWN/WM_KEYUP
// (WM_SYSKEYDOWN/UP while Alt is down) for the focus window, else window.
void queue_key_event(HWND window, int virtual_key, bool down);

}  // namespace tessiv_platform
