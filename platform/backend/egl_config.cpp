// The EGL steps the headless and X11 backends share (egl_config.h).
#include <tessiv/platform/backend/egl_config.h>
#include <tessiv/platform/winbase.h>

#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace tessiv_platform::backend::egl {
namespace {

char const *error_name(EGLint error)
{
    switch (error) {
    case EGL_SUCCESS: return "EGL_SUCCESS";
    case EGL_NOT_INITIALIZED: return "EGL_NOT_INITIALIZED";
    case EGL_BAD_ACCESS: return "EGL_BAD_ACCESS";
    case EGL_BAD_ALLOC: return "EGL_BAD_ALLOC";
    case EGL_BAD_ATTRIBUTE: return "EGL_BAD_ATTRIBUTE";
    case EGL_BAD_CONTEXT: return "EGL_BAD_CONTEXT";
    case EGL_BAD_CONFIG: return "EGL_BAD_CONFIG";
    case EGL_BAD_CURRENT_SURFACE: return "EGL_BAD_CURRENT_SURFACE";
    case EGL_BAD_DISPLAY: return "EGL_BAD_DISPLAY";
    case EGL_BAD_SURFACE: return "EGL_BAD_SURFACE";
    case EGL_BAD_MATCH: return "EGL_BAD_MATCH";
    case EGL_BAD_PARAMETER: return "EGL_BAD_PARAMETER";
    case EGL_BAD_NATIVE_PIXMAP: return "EGL_BAD_NATIVE_PIXMAP";
    case EGL_BAD_NATIVE_WINDOW: return "EGL_BAD_NATIVE_WINDOW";
    case EGL_CONTEXT_LOST: return "EGL_CONTEXT_LOST";
    default: return "unknown EGL error";
    }
}

}  // namespace

void report(char const *title, char const *call, EGLint error)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s failed: %s (0x%04X)", call, error_name(error), static_cast<unsigned>(error));
    TessivReportDiagnostic(title, text);
}

EGLDisplay open_display(EGLenum platform, void *native, char const *initialise_call)
{
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display) {
        TessivReportDiagnostic("ChoosePixelFormat", "eglGetPlatformDisplayEXT is not available");
        return EGL_NO_DISPLAY;
    }
    EGLDisplay display = get_platform_display(platform, native, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
        report("ChoosePixelFormat", initialise_call, eglGetError());
        return EGL_NO_DISPLAY;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        report("ChoosePixelFormat", "eglBindAPI", eglGetError());
        return EGL_NO_DISPLAY;
    }
    return display;
}

std::vector<Format> list_formats(EGLDisplay display, EGLint surface_type, EGLint visual_id)
{
    EGLint const wanted[] = {EGL_SURFACE_TYPE, surface_type, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
    EGLint count = 0;
    eglChooseConfig(display, wanted, nullptr, 0, &count);
    std::vector<EGLConfig> configs(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0)
        eglChooseConfig(display, wanted, configs.data(), count, &count);
    configs.resize(static_cast<std::size_t>(std::max(count, 0)));
    std::vector<Format> found;
    for (EGLConfig config : configs) {
        EGLint red, green, blue, alpha, depth, stencil, visual = 0;
        eglGetConfigAttrib(display, config, EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, config, EGL_GREEN_SIZE, &green);
        eglGetConfigAttrib(display, config, EGL_BLUE_SIZE, &blue);
        eglGetConfigAttrib(display, config, EGL_ALPHA_SIZE, &alpha);
        eglGetConfigAttrib(display, config, EGL_DEPTH_SIZE, &depth);
        eglGetConfigAttrib(display, config, EGL_STENCIL_SIZE, &stencil);
        if (visual_id >= 0)
            eglGetConfigAttrib(display, config, EGL_NATIVE_VISUAL_ID, &visual);
        if (red != 8 || green != 8 || blue != 8 || (visual_id >= 0 && visual != visual_id))
            continue;
        bool seen = std::any_of(found.begin(), found.end(), [&](Format const &f) {
            return f.format.alpha_bits == alpha && f.format.depth_bits == depth && f.format.stencil_bits == stencil;
        });
        if (!seen)
            found.push_back({PixelFormat{24, alpha, depth, stencil}, config});
    }
    // A request that does not care about depth still gets a depth buffer.
    std::stable_sort(found.begin(), found.end(), [](Format const &a, Format const &b) {
        PixelFormat const &fa = a.format, &fb = b.format;
        return std::make_tuple(fa.depth_bits < 24, fa.stencil_bits, fa.depth_bits, -fa.alpha_bits) <
               std::make_tuple(fb.depth_bits < 24, fb.stencil_bits, fb.depth_bits, -fb.alpha_bits);
    });
    return found;
}

EGLContext create_context(EGLDisplay display, EGLConfig config, EGLContext share)
{
    EGLint const attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    return eglCreateContext(display, config, share, attributes);
}

bool release_current(EGLDisplay display, bool injected_failure)
{
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT)) {
        report("wglMakeCurrent", "eglMakeCurrent(EGL_NO_CONTEXT)", eglGetError());
        return false;
    }
    if (injected_failure) {
        report("wglMakeCurrent", "eglMakeCurrent(EGL_NO_CONTEXT)", EGL_BAD_ACCESS);
        return false;
    }
    return true;
}

bool create_context_state(EGLDisplay display, std::vector<EGLConfig> const &configs, int format,
                          ContextState &state)
{
    if (format < 1 || format > static_cast<int>(configs.size()))
        return false;
    EGLConfig config = configs[static_cast<std::size_t>(format - 1)];
    EGLContext context = create_context(display, config, EGL_NO_CONTEXT);
    if (context == EGL_NO_CONTEXT) {
        report("wglCreateContext", "eglCreateContext", eglGetError());
        return false;
    }
    state = ContextState{context, config, false};
    return true;
}

SavedBinding::SavedBinding(EGLDisplay display)
    : display_(display), context_(eglGetCurrentContext()), draw_(eglGetCurrentSurface(EGL_DRAW)),
      read_(eglGetCurrentSurface(EGL_READ))
{
}

SavedBinding::~SavedBinding()
{
    if (context_ == EGL_NO_CONTEXT)
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    else
        eglMakeCurrent(display_, draw_, read_, context_);
}

bool join_share_group(EGLDisplay display, ContextState const &source, ContextState &target)
{
    if (target.used) {
        TessivReportDiagnostic("wglShareLists", "the target context has been current and may own objects");
        return false;
    }
    EGLContext joined = create_context(display, target.config, source.egl);
    if (joined == EGL_NO_CONTEXT) {
        report("wglShareLists", "eglCreateContext", eglGetError());
        return false;
    }
    eglDestroyContext(display, target.egl);
    target.egl = joined;
    return true;
}

}  // namespace tessiv_platform::backend::egl
