// WGL over the display backend: pixel formats of windows, rendering contexts,
// make-current per thread and buffer swaps. The GL work itself is the
// backend's (backend/backend.h).
#include <tessiv/platform/backend/backend.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace tessiv_platform {
namespace {

struct RenderingContext {
    backend::Context *backend = nullptr;
    int format = 0;
    DWORD current_thread = 0;  // 0: current nowhere
};

std::map<std::uintptr_t, RenderingContext> &context_table()
{
    static auto *table = new std::map<std::uintptr_t, RenderingContext>;
    return *table;
}

thread_local HGLRC current_context = nullptr;
thread_local HDC current_dc = nullptr;

RenderingContext *find_context(HGLRC handle)
{
    auto it = context_table().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == context_table().end() ? nullptr : &it->second;
}

// The window behind a DC that can carry GL: a client or whole-window DC.
Window *gl_window_of(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || (dc->kind != DeviceContext::Kind::Client && dc->kind != DeviceContext::Kind::WholeWindow))
        return nullptr;
    return find_window(dc->window);
}

void drop_current()
{
    if (RenderingContext *context = find_context(current_context))
        context->current_thread = 0;
    current_context = nullptr;
    current_dc = nullptr;
}

TessivDiagnosticSink diagnostic_sink = nullptr;

// Lower scores fit better: depth first (when it matters), then stencil.
long format_score(backend::PixelFormat const &format, PIXELFORMATDESCRIPTOR const &wanted)
{
    long score = 0;
    if (!(wanted.dwFlags & PFD_DEPTH_DONTCARE)) {
        int depth = format.depth_bits, asked = wanted.cDepthBits;
        score += depth >= asked ? depth - asked : 1000 + (asked - depth);
    }
    int stencil = format.stencil_bits, asked_stencil = wanted.cStencilBits;
    score = score * 1000 + (stencil >= asked_stencil ? stencil - asked_stencil : 500 + asked_stencil - stencil);
    int alpha_missing = wanted.cAlphaBits > 0 && format.alpha_bits == 0;
    return score * 2 + alpha_missing;
}

}  // namespace

void release_window_drawable(Window &window)
{
    if (current_dc && WindowFromDC(current_dc) == window.handle)
        current_dc = nullptr;
    backend::active().destroy_drawable(window);
    window.pixel_format = 0;
}

}  // namespace tessiv_platform

using namespace tessiv_platform;

void TessivSetDiagnosticSink(TessivDiagnosticSink sink)
{
    diagnostic_sink = sink;
}

void TessivReportDiagnostic(char const *title, char const *text)
{
    TessivDiagnosticSink sink;
    {
        sink = diagnostic_sink;
    }
    if (sink)
        sink(title ? title : "", text ? text : "");
    else if (std::getenv("TESSIV_PLATFORM_DEBUG"))
        std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}

void TessivSetDisplayFault(TessivDisplayFault fault) { backend::active().set_fault(fault); }
void TessivSetSwapMethod(TessivSwapMethod method) { backend::active().set_swap_method(method); }

BOOL TessivReadFrontBuffer(HWND handle, TessivFrontBuffer *out)
{
    Window *window = find_window(handle);
    return window && backend::active().read_front_buffer(*window, out);
}

int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR *descriptor)
{
    if (!find_dc(dc)) {
        set_last_error(ERROR_DC_NOT_FOUND);
        return 0;
    }
    std::vector<backend::PixelFormat> formats = backend::active().pixel_formats();
    int count = static_cast<int>(formats.size());
    if (!descriptor)
        return count;
    if (format < 1 || format > count || size < sizeof(PIXELFORMATDESCRIPTOR)) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
    backend::PixelFormat const &f = formats[static_cast<std::size_t>(format - 1)];
    *descriptor = PIXELFORMATDESCRIPTOR{};
    descriptor->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor->nVersion = 1;
    // The swap exchanges the colour buffers (the back buffer then holds the
    // frame before); the depth and stencil buffers stay as drawn.
    descriptor->dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SWAP_EXCHANGE;
    descriptor->iPixelType = PFD_TYPE_RGBA;
    descriptor->cColorBits = static_cast<BYTE>(f.colour_bits);
    descriptor->cRedBits = 8;
    descriptor->cRedShift = 16;
    descriptor->cGreenBits = 8;
    descriptor->cGreenShift = 8;
    descriptor->cBlueBits = 8;
    descriptor->cBlueShift = 0;
    descriptor->cAlphaBits = static_cast<BYTE>(f.alpha_bits);
    descriptor->cAlphaShift = f.alpha_bits ? 24 : 0;
    descriptor->cDepthBits = static_cast<BYTE>(f.depth_bits);
    descriptor->cStencilBits = static_cast<BYTE>(f.stencil_bits);
    descriptor->iLayerType = PFD_MAIN_PLANE;
    return count;
}

int ChoosePixelFormat(HDC dc, PIXELFORMATDESCRIPTOR const *descriptor)
{
    if (!find_dc(dc) || !descriptor) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (descriptor->iPixelType != PFD_TYPE_RGBA) {
        TessivReportDiagnostic("ChoosePixelFormat", "only RGBA pixel formats exist");
        set_last_error(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    std::vector<backend::PixelFormat> formats = backend::active().pixel_formats();
    int best = 0;
    long best_score = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        long score = format_score(formats[i], *descriptor);
        if (best == 0 || score < best_score) {
            best = static_cast<int>(i) + 1;
            best_score = score;
        }
    }
    if (!best)
        set_last_error(ERROR_INVALID_PIXEL_FORMAT);
    return best;
}

BOOL SetPixelFormat(HDC dc, int format, PIXELFORMATDESCRIPTOR const *)
{
    Window *window = gl_window_of(dc);
    if (!window) {
        set_last_error(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int count = static_cast<int>(backend::active().pixel_formats().size());
    if (format < 1 || format > count || (window->pixel_format && window->pixel_format != format)) {
        set_last_error(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE;
    }
    window->pixel_format = format;
    return TRUE;
}

int GetPixelFormat(HDC dc)
{
    Window *window = gl_window_of(dc);
    return window ? window->pixel_format : 0;
}

BOOL SwapBuffers(HDC dc)
{
    Window *window = gl_window_of(dc);
    if (!window || !window->pixel_format) {
        set_last_error(window ? ERROR_INVALID_PIXEL_FORMAT : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return backend::active().swap_buffers(*window) ? TRUE : FALSE;
}

HGLRC wglCreateContext(HDC dc)
{
    Window *window = gl_window_of(dc);
    if (!window || !window->pixel_format) {
        set_last_error(window ? ERROR_INVALID_PIXEL_FORMAT : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    backend::Context *context = backend::active().create_context(window->pixel_format);
    if (!context)
        return nullptr;
    HGLRC handle = reinterpret_cast<HGLRC>(next_handle_value());
    context_table()[reinterpret_cast<std::uintptr_t>(handle)] =
        RenderingContext{context, window->pixel_format, 0};
    return handle;
}

BOOL wglDeleteContext(HGLRC handle)
{
    RenderingContext *context = find_context(handle);
    if (!context) {
        set_last_error(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (context->current_thread && context->current_thread != GetCurrentThreadId()) {
        set_last_error(ERROR_BUSY);
        return FALSE;
    }
    if (handle == current_context) {
        backend::active().release_current();
        drop_current();
    }
    backend::active().destroy_context(context->backend);
    context_table().erase(reinterpret_cast<std::uintptr_t>(handle));
    return TRUE;
}

BOOL wglMakeCurrent(HDC dc, HGLRC handle)
{
    if (!handle) {
        bool released = true;
        if (current_context)
            released = backend::active().release_current();
        drop_current();
        return released ? TRUE : FALSE;
    }
    RenderingContext *context = find_context(handle);
    Window *window = gl_window_of(dc);
    DWORD error = 0;
    if (!context)
        error = ERROR_INVALID_HANDLE;
    else if (!window)
        error = ERROR_INVALID_HANDLE;
    else if (window->pixel_format != context->format)
        error = ERROR_INVALID_PIXEL_FORMAT;
    else if (context->current_thread && context->current_thread != GetCurrentThreadId())
        error = ERROR_BUSY;
    // On failure the thread is left with no current context, as on Win32.
    if (error || !backend::active().make_current(context->backend, *window)) {
        if (current_context) {
            backend::active().release_current();
            drop_current();
        }
        set_last_error(error ? error : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (current_context != handle)
        drop_current();
    context->current_thread = GetCurrentThreadId();
    current_context = handle;
    current_dc = dc;
    return TRUE;
}

BOOL wglShareLists(HGLRC source_handle, HGLRC target_handle)
{
    RenderingContext *source = find_context(source_handle);
    RenderingContext *target = find_context(target_handle);
    if (!source || !target || source == target) {
        set_last_error(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (target->current_thread || !backend::active().share_objects(source->backend, target->backend)) {
        set_last_error(ERROR_BUSY);
        return FALSE;
    }
    return TRUE;
}

HGLRC wglGetCurrentContext() { return current_context; }
HDC wglGetCurrentDC() { return current_dc; }
void *wglGetProcAddress(LPCSTR name) { return backend::active().proc_address(name); }
