// Private to libtessiv_platform: the EGL steps both GL backends take alike
// (headless_egl.cpp on the surfaceless platform, x11_egl.cpp on the X
// display): opening a display for desktop GL, listing its RGB888 configs as
// pixel formats in the platform's order, making compatibility contexts and
// joining them to another's objects, keeping a thread's binding over a
// temporary one, and reporting EGL failures in one wording.
#pragma once

#include <tessiv/platform/backend/backend.h>

#include <EGL/egl.h>

#include <vector>

namespace tessiv_platform::backend::egl {

// A diagnostic under title: "<call> failed: <EGL error name> (0x....)".
void report(char const *title, char const *call, EGLint error);

// The display of platform for native, initialised with the desktop GL API
// bound; EGL_NO_DISPLAY (reported under ChoosePixelFormat, naming what
// failed as initialise_call) on failure.
EGLDisplay open_display(EGLenum platform, void *native, char const *initialise_call);

// The RGB888 OpenGL configs of surface_type, one per distinct alpha, depth
// and stencil size (the first the display lists), those with a depth buffer
// of 24 bits or more first and the plainest first. With visual_id >= 0 only
// configs of that native visual count.
struct Format {
    PixelFormat format;
    EGLConfig config;
};
std::vector<Format> list_formats(EGLDisplay display, EGLint surface_type, EGLint visual_id = -1);

// A compatibility-profile context of config sharing with share (or
// EGL_NO_CONTEXT); EGL_NO_CONTEXT (not reported) on failure.
EGLContext create_context(EGLDisplay display, EGLConfig config, EGLContext share);

// What a backend keeps of a wglCreateContext context.
struct ContextState {
    EGLContext egl = EGL_NO_CONTEXT;
    EGLConfig config = nullptr;  // kept so the context can be made anew
    bool used = false;           // has been current, so may own objects
};

// Binds no context on the calling thread of display; fails, reported under
// wglMakeCurrent, when EGL refuses or when injected_failure stands for a
// refusal (the ReleaseFails fault).
bool release_current(EGLDisplay display, bool injected_failure);

// A new context for pixel format format (1-based, one per config) in
// state; false for a format out of range, and false with a diagnostic under
// wglCreateContext when EGL refuses.
bool create_context_state(EGLDisplay display, std::vector<EGLConfig> const &configs, int format,
                          ContextState &state);

// The EGL binding of the calling thread, put back when this object goes,
// around a temporary use of another context or surface.
class SavedBinding {
public:
    explicit SavedBinding(EGLDisplay display);
    ~SavedBinding();
    SavedBinding(SavedBinding const &) = delete;
    SavedBinding &operator=(SavedBinding const &) = delete;

private:
    EGLDisplay display_;
    EGLContext context_;
    EGLSurface draw_;
    EGLSurface read_;
};

// wglShareLists of two distinct contexts: EGL fixes the share group at
// creation, so target is made anew in source's group and its old context
// destroyed. Refused, with a diagnostic, when target has been current or
// the new context cannot be made; target is then unchanged.
bool join_share_group(EGLDisplay display, ContextState const &source, ContextState &target);

}  // namespace tessiv_platform::backend::egl
