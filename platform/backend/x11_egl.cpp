// The GL half of the X11 backend: EGL on the X display
// (eglGetPlatformDisplayEXT(EGL_PLATFORM_X11_EXT)), one EGL window surface
// per platform window on its X window.
//
// Supports: pixel formats from the RGB888 OpenGL window configs of the
// windows' visual; one compatibility-profile context per wglCreateContext
// with its own object namespace unless wglShareLists joins it to another;
// a real double-buffered window surface with one depth (and stencil)
// buffer, which eglSwapBuffers presents; several windows' contexts bound
// in turn on one thread; reading the front buffer back from the X window.
// A GL window with a frame draws into an X child over its client area.
// Does not support: the copying swap method (a window surface's swap is the
// server's; the setting is kept but ignored).
// Tested by tests/x11/.
#include <tessiv/platform/backend/egl_config.h>
#include <tessiv/platform/backend/x11.h>
#include <tessiv/platform/winbase.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace tessiv_platform::backend::x11::gl {
namespace {

using EglContext = egl::ContextState;

// Context is the seam's opaque handle; this backend's contexts live behind it.
Context *handle_of(EglContext *context) { return reinterpret_cast<Context *>(context); }
EglContext *context_of(Context *context) { return reinterpret_cast<EglContext *>(context); }

struct Surface {
    EGLSurface egl = EGL_NO_SURFACE;
    EGLConfig config = nullptr;
};

struct Display {
    bool opened = false;
    bool failed = false;
    EGLDisplay egl = EGL_NO_DISPLAY;
    std::vector<EGLConfig> configs;  // one per pixel format
    std::vector<PixelFormat> formats;
    // Binds any window surface (EGL_KHR_no_config_context) for swaps of
    // windows that are not bound on the calling thread.
    EGLContext root = EGL_NO_CONTEXT;
    std::map<HWND, Surface> surfaces;
};

TessivDisplayFault active_fault{};  // no fault (Xlib claims the enumerator's name as a macro)
thread_local EglContext *current_context = nullptr;

Display &display()
{
    // Kept for the life of the process, as the headless display is.
    static auto *instance = new Display;
    return *instance;
}

using egl::report;

bool usable()
{
    if (display_lost()) {
        TessivReportDiagnostic("X11 display", "the X display connection is lost");
        return false;
    }
    return connection() != nullptr;
}

bool open_display()
{
    Display &d = display();
    if (d.opened || d.failed)
        return d.opened;
    if (!usable())
        return false;
    d.failed = true;
    Connection &x = *connection();
    d.egl = egl::open_display(EGL_PLATFORM_X11_EXT, x.display, "eglInitialize on the X display");
    if (d.egl == EGL_NO_DISPLAY)
        return false;
    // Every platform window is an X window of the screen's visual.
    auto visual = static_cast<EGLint>(XVisualIDFromVisual(x.visual));
    for (egl::Format const &found : egl::list_formats(d.egl, EGL_WINDOW_BIT, visual)) {
        d.formats.push_back(found.format);
        d.configs.push_back(found.config);
    }
    if (d.formats.empty()) {
        TessivReportDiagnostic("ChoosePixelFormat",
                               "eglChooseConfig found no RGB888 OpenGL window config of the screen's visual");
        return false;
    }
    d.root = egl::create_context(d.egl, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT);
    if (d.root == EGL_NO_CONTEXT) {
        report("ChoosePixelFormat", "eglCreateContext", eglGetError());
        d.formats.clear();
        d.configs.clear();
        return false;
    }
    d.opened = true;
    d.failed = false;
    return true;
}

bool display_ready() { return usable() && open_display(); }

bool fault_is(TessivDisplayFault fault) { return active_fault == fault; }

// The window's surface in config, made on first use.
Surface *fit_surface(Window &window, EGLConfig config)
{
    Display &d = display();
    auto it = d.surfaces.find(window.handle);
    if (it != d.surfaces.end() && it->second.config == config)
        return &it->second;
    if (it != d.surfaces.end())
        destroy_drawable(window);
    ::Window id = gl_window_id(window.handle);
    if (!id) {
        TessivReportDiagnostic("wglMakeCurrent", "the window has no X window");
        return nullptr;
    }
    EGLint const attributes[] = {EGL_RENDER_BUFFER, EGL_BACK_BUFFER, EGL_NONE};
    EGLSurface surface = eglCreateWindowSurface(d.egl, config, static_cast<EGLNativeWindowType>(id), attributes);
    if (surface == EGL_NO_SURFACE) {
        report("wglMakeCurrent", "eglCreateWindowSurface", eglGetError());
        return nullptr;
    }
    return &(d.surfaces[window.handle] = Surface{surface, config});
}

}  // namespace

std::vector<PixelFormat> pixel_formats()
{
    if (fault_is(TessivDisplayFault::NoDisplay) || fault_is(TessivDisplayFault::NoConfig) ||
        !display_ready())
        return {};
    return display().formats;
}

Context *create_context(int format)
{
    if (!display_ready())
        return nullptr;
    EglContext state;
    if (!egl::create_context_state(display().egl, display().configs, format, state))
        return nullptr;
    return handle_of(new EglContext{state});
}

bool share_objects(Context *source_handle, Context *target_handle)
{
    EglContext *source = context_of(source_handle), *target = context_of(target_handle);
    if (!source || !target || source == target || !display_ready())
        return false;
    return egl::join_share_group(display().egl, *source, *target);
}

void destroy_context(Context *handle)
{
    EglContext *context = context_of(handle);
    if (!context)
        return;
    if (current_context == context)
        release_current();
    if (!display_lost() && display().opened)
        eglDestroyContext(display().egl, context->egl);
    delete context;
}

bool make_current(Context *handle, Window &window)
{
    EglContext *context = context_of(handle);
    if (!context || !display_ready())
        return false;
    if (fault_is(TessivDisplayFault::ContextLost)) {
        report("wglMakeCurrent", "eglMakeCurrent", EGL_CONTEXT_LOST);
        return false;
    }
    Surface *surface = fit_surface(window, context->config);
    if (!surface)
        return false;
    if (!eglMakeCurrent(display().egl, surface->egl, surface->egl, context->egl)) {
        report("wglMakeCurrent", "eglMakeCurrent", eglGetError());
        return false;
    }
    context->used = true;
    current_context = context;
    return true;
}

bool release_current()
{
    current_context = nullptr;
    if (!display().opened || display_lost())
        return true;
    return egl::release_current(display().egl, fault_is(TessivDisplayFault::ReleaseFails));
}

bool swap_buffers(Window &window)
{
    if (!display_ready())
        return false;
    if (fault_is(TessivDisplayFault::ContextLost)) {
        report("SwapBuffers", "eglSwapBuffers", EGL_CONTEXT_LOST);
        return false;
    }
    Display &d = display();
    auto it = d.surfaces.find(window.handle);
    if (it == d.surfaces.end()) {
        TessivReportDiagnostic("SwapBuffers", "the window has no GL drawable");
        return false;
    }
    EGLSurface surface = it->second.egl;
    if (eglGetCurrentSurface(EGL_DRAW) == surface) {
        if (!eglSwapBuffers(d.egl, surface)) {
            report("SwapBuffers", "eglSwapBuffers", eglGetError());
            return false;
        }
        return true;
    }
    // EGL swaps only a surface bound on the calling thread.
    egl::SavedBinding saved(d.egl);
    if (!eglMakeCurrent(d.egl, surface, surface, d.root)) {
        report("SwapBuffers", "eglMakeCurrent of a window bound nowhere on this thread", eglGetError());
        return false;
    }
    if (!eglSwapBuffers(d.egl, surface)) {
        report("SwapBuffers", "eglSwapBuffers", eglGetError());
        return false;
    }
    return true;
}

void destroy_drawable(Window &window)
{
    Display &d = display();
    auto it = d.surfaces.find(window.handle);
    if (it == d.surfaces.end())
        return;
    if (!display_lost()) {
        // A context bound to it stays current without a surface.
        if (eglGetCurrentSurface(EGL_DRAW) == it->second.egl)
            eglMakeCurrent(d.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, eglGetCurrentContext());
        eglDestroySurface(d.egl, it->second.egl);
    }
    d.surfaces.erase(it);
}

bool read_front_buffer(Window &window, TessivFrontBuffer *out)
{
    if (!out || !usable() || !display().surfaces.count(window.handle))
        return false;
    Connection &x = *connection();
    ::Window id = gl_window_id(window.handle);
    RECT client;
    GetClientRect(window.handle, &client);
    if (!id || client.right <= 0 || client.bottom <= 0)
        return false;
    // What the last swap showed is what the X window GL draws into holds.
    XImage *image = XGetImage(x.display, id, 0, 0, static_cast<unsigned>(client.right),
                              static_cast<unsigned>(client.bottom), AllPlanes, ZPixmap);
    if (!image) {
        TessivReportDiagnostic("TessivReadFrontBuffer", "XGetImage of the window failed");
        return false;
    }
    out->width = client.right;
    out->height = client.bottom;
    out->pixels.assign(static_cast<std::size_t>(out->width) * static_cast<std::size_t>(out->height), 0);
    for (int y = 0; y < out->height; ++y)
        for (int x_pos = 0; x_pos < out->width; ++x_pos) {
            unsigned long pixel = XGetPixel(image, x_pos, y);
            auto value = static_cast<std::uint32_t>(pixel);
            if (!x.direct_pixels) {
                auto channel = [&](unsigned long mask) {
                    if (!mask)
                        return 0u;
                    unsigned long v = pixel & mask;
                    while (!(mask & 1)) {
                        mask >>= 1;
                        v >>= 1;
                    }
                    return static_cast<unsigned>(v * 255 / mask);
                };
                value = (channel(image->red_mask) << 16) | (channel(image->green_mask) << 8) |
                        channel(image->blue_mask);
            }
            out->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out->width) +
                        static_cast<std::size_t>(x_pos)] = 0xFF000000u | (value & 0x00FFFFFFu);
        }
    XDestroyImage(image);
    return true;
}

void *proc_address(char const *name)
{
    return name ? reinterpret_cast<void *>(eglGetProcAddress(name)) : nullptr;
}

void set_fault(TessivDisplayFault fault) { active_fault = fault; }
void set_swap_method(TessivSwapMethod) {}

}  // namespace tessiv_platform::backend::x11::gl
