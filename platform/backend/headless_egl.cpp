// Headless display backend: EGL on Mesa's surfaceless platform.
//
// Supports: GL pixel formats from the display's RGB888 configs that render
// OpenGL into pbuffers; one compatibility-profile context per
// wglCreateContext with its own object namespace, unless wglShareLists joins
// it to another's; per window a double-buffered drawable of the client size
// made of two pbuffers, one the back buffer and one the front buffer, which
// SwapBuffers exchanges by rebinding while the depth and stencil the frame
// drew move on with the back buffer (or, in the copying swap method, fills
// the front buffer from the back buffer with a blit); reading the front
// buffer back as an image.
// Does not support: single-buffered or colour-index formats, GDI drawing
// into GL windows, showing anything on a real screen (that is the X11
// backend's job). Tested by tests/platform/wgl_test.cpp and
// tests/render/cgl_test.cpp; the recipe and its pitfalls: README.md here.
#include <tessiv/platform/backend/display.h>
#include <tessiv/platform/backend/egl_config.h>
#include <tessiv/platform/winbase.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace tessiv_platform {

struct Drawable {
    EGLSurface buffers[2] = {EGL_NO_SURFACE, EGL_NO_SURFACE};
    int back = 0;  // index of the back buffer; the other is the front buffer
    EGLConfig config = nullptr;
    int width = 0;
    int height = 0;
    unsigned ancillary = 0;  // GL_DEPTH_BUFFER_BIT and GL_STENCIL_BUFFER_BIT the config has
    bool shown = false;  // a swap happened since the buffers were made
    int bound = 0;       // threads on which a context draws into the back buffer
    EGLSurface back_surface() const { return buffers[back]; }
    EGLSurface front_surface() const { return buffers[back ^ 1]; }
};

namespace backend {

struct Context : egl::ContextState {};

namespace {

struct Display {
    bool opened = false;
    bool failed = false;
    EGLDisplay egl = EGL_NO_DISPLAY;
    std::vector<EGLConfig> configs;  // one per pixel format
    std::vector<PixelFormat> formats;
    // Without a config (EGL_KHR_no_config_context), so it binds to the
    // drawables of every format; used for swaps and read-backs of drawables
    // not bound on the calling thread, and shares objects with no context.
    Context root;
    PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
};

TessivDisplayFault active_fault = TessivDisplayFault::None;
TessivSwapMethod swap_method = TessivSwapMethod::Exchange;

Display &display()
{
    // Kept for the life of the process: the driver's threads and tables go
    // away with it, and terminating EGL at exit races other static destructors.
    static auto *instance = new Display;
    return *instance;
}

thread_local Context *current_context = nullptr;
thread_local Drawable *current_drawable = nullptr;

using egl::report;

// Opens the display, lists the usable configs and makes the root context.
bool open_display()
{
    Display &d = display();
    if (d.opened || d.failed)
        return d.opened;
    d.failed = true;
    d.egl = egl::open_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, "eglInitialize");
    if (d.egl == EGL_NO_DISPLAY)
        return false;
    for (egl::Format const &found : egl::list_formats(d.egl, EGL_PBUFFER_BIT)) {
        d.formats.push_back(found.format);
        d.configs.push_back(found.config);
    }
    if (d.formats.empty()) {
        TessivReportDiagnostic("ChoosePixelFormat",
                               "eglChooseConfig found no RGB888 OpenGL pbuffer config");
        return false;
    }
    d.root.config = EGL_NO_CONFIG_KHR;
    d.root.egl = egl::create_context(d.egl, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT);
    if (d.root.egl == EGL_NO_CONTEXT) {
        report("ChoosePixelFormat", "eglCreateContext", eglGetError());
        d.formats.clear();
        d.configs.clear();
        return false;
    }
    d.blit_framebuffer = reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(eglGetProcAddress("glBlitFramebuffer"));
    d.bind_framebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
    d.opened = true;
    d.failed = false;
    return true;
}

bool display_ready()
{
    return open_display();
}

// Makes sure the drawable has two pbuffers of the window's client size (at
// least 1 x 1, the smallest pbuffer) in the context's config.
bool fit_drawable(Window &window, EGLConfig config)
{
    RECT client;
    GetClientRect(window.handle, &client);
    int width = std::max(1, static_cast<int>(client.right));
    int height = std::max(1, static_cast<int>(client.bottom));
    if (!window.drawable)
        window.drawable = new Drawable;
    Drawable &drawable = *window.drawable;
    if (drawable.buffers[0] != EGL_NO_SURFACE && drawable.width == width && drawable.height == height &&
        drawable.config == config)
        return true;
    EGLint const attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface fresh[2];
    for (EGLSurface &surface : fresh) {
        surface = eglCreatePbufferSurface(display().egl, config, attributes);
        if (surface == EGL_NO_SURFACE) {
            report("wglMakeCurrent", "eglCreatePbufferSurface", eglGetError());
            if (fresh[0] != EGL_NO_SURFACE && &surface != &fresh[0])
                eglDestroySurface(display().egl, fresh[0]);
            return false;
        }
    }
    // A surface still bound somewhere is freed by EGL once it is released.
    for (EGLSurface surface : drawable.buffers)
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display().egl, surface);
    drawable.buffers[0] = fresh[0];
    drawable.buffers[1] = fresh[1];
    drawable.back = 0;
    drawable.config = config;
    drawable.width = width;
    drawable.height = height;
    drawable.shown = false;
    EGLint depth = 0, stencil = 0;
    eglGetConfigAttrib(display().egl, config, EGL_DEPTH_SIZE, &depth);
    eglGetConfigAttrib(display().egl, config, EGL_STENCIL_SIZE, &stencil);
    drawable.ancillary = (depth > 0 ? GL_DEPTH_BUFFER_BIT : 0u) | (stencil > 0 ? GL_STENCIL_BUFFER_BIT : 0u);
    return true;
}

void bind_drawable(Context *context, Drawable *drawable)
{
    if (current_drawable != drawable) {
        if (current_drawable)
            --current_drawable->bound;
        if (drawable)
            ++drawable->bound;
    }
    current_context = context;
    current_drawable = drawable;
}

// Copies the buffers of mask from the bound read surface to the bound draw
// surface, both of the drawable's size; the caller's GL state is kept.
void blit_read_to_draw(Drawable const &drawable, GLbitfield mask)
{
    GLint draw_buffer = 0, read_buffer = 0, draw_binding = 0, read_binding = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_binding);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_binding);
    display().bind_framebuffer(GL_FRAMEBUFFER, 0);
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    display().blit_framebuffer(0, 0, drawable.width, drawable.height, 0, 0, drawable.width, drawable.height,
                               mask, GL_NEAREST);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    glDrawBuffer(static_cast<GLenum>(draw_buffer));
    glReadBuffer(static_cast<GLenum>(read_buffer));
    display().bind_framebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw_binding));
    display().bind_framebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read_binding));
}

// The copying swap: the back buffer, depth included, stays as drawn.
bool swap_by_copy(Drawable &drawable)
{
    Display &d = display();
    EGLSurface back = drawable.back_surface(), front = drawable.front_surface();
    bool bound_here = current_drawable == &drawable;
    EGLContext context = bound_here ? current_context->egl : d.root.egl;
    std::unique_ptr<egl::SavedBinding> saved;
    if (!bound_here)
        saved = std::make_unique<egl::SavedBinding>(d.egl);
    if (!eglMakeCurrent(d.egl, front, back, context)) {
        report("SwapBuffers", "eglMakeCurrent", eglGetError());
        return false;
    }
    blit_read_to_draw(drawable, GL_COLOR_BUFFER_BIT);
    glFlush();
    if (bound_here && !eglMakeCurrent(d.egl, back, back, context)) {
        report("SwapBuffers", "eglMakeCurrent", eglGetError());
        return false;
    }
    return true;
}

// The exchanging swap: the front pbuffer becomes the back buffer and takes
// over the finished frame's depth and stencil, so the window keeps one
// ancillary buffer across swaps while its colour buffers trade places.
bool swap_by_exchange(Drawable &drawable)
{
    Display &d = display();
    EGLSurface finished = drawable.back_surface(), next = drawable.front_surface();
    bool bound_here = current_drawable == &drawable;
    if (!drawable.ancillary && !bound_here)
        return true;
    EGLContext context = bound_here ? current_context->egl : d.root.egl;
    std::unique_ptr<egl::SavedBinding> saved;
    if (!bound_here)
        saved = std::make_unique<egl::SavedBinding>(d.egl);
    if (drawable.ancillary) {
        if (!eglMakeCurrent(d.egl, next, finished, context)) {
            report("SwapBuffers", "eglMakeCurrent", eglGetError());
            return false;
        }
        blit_read_to_draw(drawable, drawable.ancillary);
    }
    // Rebinding flushes the finished frame and draws on into the other buffer.
    if (bound_here && !eglMakeCurrent(d.egl, next, next, context)) {
        report("SwapBuffers", "eglMakeCurrent", eglGetError());
        return false;
    }
    return true;
}

bool fault_is(TessivDisplayFault fault)
{
    return active_fault == fault;
}

}  // namespace

std::vector<PixelFormat> pixel_formats()
{
    if (active_fault == TessivDisplayFault::NoDisplay) {
        TessivReportDiagnostic("ChoosePixelFormat", "eglInitialize failed: EGL_NOT_INITIALIZED (0x3001)");
        return {};
    }
    if (active_fault == TessivDisplayFault::NoConfig) {
        TessivReportDiagnostic("ChoosePixelFormat",
                               "eglChooseConfig found no RGB888 OpenGL pbuffer config");
        return {};
    }
    if (!open_display())
        return {};
    return display().formats;
}

Context *create_context(int format)
{
    if (!display_ready())
        return nullptr;
    egl::ContextState state;
    if (!egl::create_context_state(display().egl, display().configs, format, state))
        return nullptr;
    return new Context{state};
}

bool share_objects(Context *source, Context *target)
{
    if (!source || !target || source == target || !display_ready())
        return false;
    return egl::join_share_group(display().egl, *source, *target);
}

void destroy_context(Context *context)
{
    if (!context)
        return;
    if (current_context == context)
        release_current();
    eglDestroyContext(display().egl, context->egl);
    delete context;
}

bool make_current(Context *context, Window &window)
{
    if (!context || !display_ready())
        return false;
    if (fault_is(TessivDisplayFault::ContextLost)) {
        report("wglMakeCurrent", "eglMakeCurrent", EGL_CONTEXT_LOST);
        return false;
    }
    if (!fit_drawable(window, context->config))
        return false;
    EGLSurface surface = window.drawable->back_surface();
    if (!eglMakeCurrent(display().egl, surface, surface, context->egl)) {
        report("wglMakeCurrent", "eglMakeCurrent", eglGetError());
        return false;
    }
    context->used = true;
    bind_drawable(context, window.drawable);
    return true;
}

bool release_current()
{
    bind_drawable(nullptr, nullptr);
    if (!display().opened)
        return true;
    return egl::release_current(display().egl, fault_is(TessivDisplayFault::ReleaseFails));
}

bool swap_buffers(Window &window)
{
    Drawable *drawable = window.drawable;
    if (!drawable || drawable->buffers[0] == EGL_NO_SURFACE || !display().opened)
        return true;  // nothing was ever drawn
    if (fault_is(TessivDisplayFault::ContextLost)) {
        report("SwapBuffers", "eglSwapBuffers", EGL_CONTEXT_LOST);
        return false;
    }
    if (drawable->bound > 0 && current_drawable != drawable) {
        TessivReportDiagnostic("SwapBuffers", "the drawable is current on another thread");
        return false;
    }
    TessivSwapMethod method;
    {
        method = swap_method;
    }
    if (method == TessivSwapMethod::Copy) {
        if (!swap_by_copy(*drawable))
            return false;
        drawable->shown = true;
        return true;
    }
    if (!swap_by_exchange(*drawable))
        return false;
    drawable->back ^= 1;
    drawable->shown = true;
    return true;
}

void destroy_drawable(Window &window)
{
    Drawable *drawable = window.drawable;
    if (!drawable)
        return;
    window.drawable = nullptr;
    Display &d = display();
    if (current_drawable == drawable) {
        // The context stays current without a drawable, as a lost window leaves it.
        eglMakeCurrent(d.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, current_context->egl);
        bind_drawable(current_context, nullptr);
    }
    for (EGLSurface surface : drawable->buffers)
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(d.egl, surface);
    delete drawable;
}

bool read_front_buffer(Window &window, TessivFrontBuffer *out)
{
    Drawable *drawable = window.drawable;
    if (!out || !drawable || !drawable->shown || !display().opened)
        return false;
    Display &d = display();
    egl::SavedBinding saved(d.egl);
    EGLSurface front = drawable->front_surface();
    if (!eglMakeCurrent(d.egl, front, front, d.root.egl)) {
        report("TessivReadFrontBuffer", "eglMakeCurrent", eglGetError());
        return false;
    }
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    int width = drawable->width, height = drawable->height;
    std::vector<std::uint32_t> bottom_up(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bottom_up.data());
    out->width = width;
    out->height = height;
    out->pixels.resize(bottom_up.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(&out->pixels[static_cast<std::size_t>(y) * width],
                    &bottom_up[static_cast<std::size_t>(height - 1 - y) * width],
                    static_cast<std::size_t>(width) * 4);
    return true;
}

void *proc_address(char const *name)
{
    return name ? reinterpret_cast<void *>(eglGetProcAddress(name)) : nullptr;
}

void set_swap_method(TessivSwapMethod method)
{
    swap_method = method;
}

void set_fault(TessivDisplayFault fault)
{
    active_fault = fault;
}

}  // namespace backend
}  // namespace tessiv_platform
