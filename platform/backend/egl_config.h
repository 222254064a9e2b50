// Private to libtessiv_platform: the EGL steps both GL backends take alike
// (headless_egl.cpp on the surfaceless platform, x11_egl.cpp on the X
// display): opening a display for desktop GL, listing its RGB888 configs as
// pixel formats in the platform's order, making compatibility contexts, and
// reporting EGL failures in one wording.
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

}  // namespace tessiv_platform::backend::egl
