// Private to libtessiv_platform: the objects behind the handles of windows,
// device contexts and GDI objects, and the tables that map handles to them.
// The pointers the lookups return stay valid until the object is destroyed
// on the same (user-interface) thread; nothing here is for other threads.
// A handle is a number drawn from one counter and never reused, so a stale
// handle finds nothing instead of another object.
#pragma once

#include <tessiv/platform/winuser.h>
#include <tessiv/platform/wingdi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessiv_platform {

struct Drawable;  // the display backend's GL drawable of a window

struct WindowClass {
    WNDCLASSA info{};
    std::string name;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> window_class;
    std::string text;
    DWORD style = 0;
    DWORD ex_style = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    RECT rect{};                 // in the parent's client coordinates, screen for top-level
    WNDPROC procedure = nullptr;
    LONG_PTR id = 0;
    LONG_PTR user_data = 0;
    HINSTANCE instance = nullptr;
    int show_state = SW_SHOWNORMAL;
    RECT restore_rect{};  // the normal rectangle while maximized
    bool enabled = true;
    bool destroying = false;
    RECT update{};  // bounding rectangle of the update area, client coordinates
    bool erase_pending = false;
    std::vector<std::uint32_t> surface;  // window-rect-sized 0x00RRGGBB pixels
    int surface_width = 0;
    int surface_height = 0;
    HDC own_dc = nullptr;
    int pixel_format = 0;
    DWORD thread = 0;
    Drawable *drawable = nullptr;
};

struct SavedDcState;

struct DeviceContext {
    enum class Kind { Client, WholeWindow, Memory, Screen };
    HDC handle = nullptr;
    Kind kind = Kind::Client;
    HWND window = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs: the selected bitmap
    HBRUSH brush = nullptr;
    COLORREF background = RGB(255, 255, 255);
    COLORREF text_colour = 0;
    POINT origin{};             // viewport origin, device units
    bool clipped = false;       // false: the whole surface
    std::vector<RECT> clip;     // disjoint rectangles, device coordinates
    std::vector<std::shared_ptr<SavedDcState>> saved;
    DWORD layout = 0;           // recorded only: drawing is never mirrored
};

struct SavedDcState {
    HBRUSH brush;
    COLORREF background;
    COLORREF text_colour;
    POINT origin;
    bool clipped;
    std::vector<RECT> clip;
    HBITMAP bitmap;
};

struct GdiObject {
    enum class Kind { Brush, Bitmap };
    Kind kind = Kind::Brush;
    bool stock = false;
    COLORREF colour = 0;  // brushes
    int width = 0;        // bitmaps
    int height = 0;
    std::vector<std::uint32_t> pixels;
    HDC selected_into = nullptr;
};

// The tables, used on the user-interface thread only. Lookups return null
// for an unknown handle.
Window *find_window(HWND handle);
// The thread that created the window, 0 when there is none; any thread.
DWORD window_thread(HWND handle);
DeviceContext *find_dc(HDC handle);
GdiObject *find_gdi(HGDIOBJ handle);
std::uintptr_t next_handle_value();

// Client-area offset inside the window rectangle, from the frame styles.
RECT client_rect_in_window(Window const &window);
// Grows or shrinks the window's GDI surface to its window rectangle.
void fit_surface(Window &window);
// Drops every DC of the window; called when it is destroyed.
void release_window_dcs(HWND window);
// Releases the window's GL drawable (backend) and its pixel format.
void release_window_drawable(Window &window);

void set_last_error(DWORD error);

// Resource libraries (resource.cpp): a cursor of a module's table, and the
// clean-up when a module is released.
HCURSOR load_resource_cursor(HINSTANCE instance, LPCSTR name);
void forget_module_resources(HMODULE module);

// Called by CreateWindowExA with each new window before its first message,
// on the creating thread: the framework attaches the window object whose
// creation is running to it (cwnd.cpp).
void attach_framework_window(HWND window);

// The title a frame's LoadFrame takes from the string resource id: the text
// before the first '\n', from the current resource handle or else the
// instance; empty when neither has it (mdi_frame_wnd.cpp).
std::string frame_title_resource(UINT id);

// Process-wide input ownership (one user-interface thread at a time).
HWND &focus_slot();
HWND &capture_slot();
HWND &active_slot();
// The first window of thread with an update area (and matching filter when
// not null), or null.
HWND next_window_to_paint(DWORD thread, HWND filter);
std::vector<HWND> all_windows();

}  // namespace tessiv_platform
