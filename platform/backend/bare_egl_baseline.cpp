// The bare EGL baseline of bench/cgl_bench.cpp: the same drawable kind as the
// headless backend (pbuffers on the surfaceless display), driven directly.
#include <tessiv/platform/backend/bare_egl_baseline.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

namespace tessiv_platform::bare_egl {
namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surfaces[2] = {EGL_NO_SURFACE, EGL_NO_SURFACE};
int back = 0;

}  // namespace

bool open(int width, int height)
{
    auto get_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_display)
        return false;
    display = get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major, minor;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor) || !eglBindAPI(EGL_OPENGL_API))
        return false;
    // The config a view's pixel format gets from the headless backend (8-bit
    // alpha, 32-bit depth, no stencil), so both sides clear, test and write
    // buffers of one layout; EGL sorts the smallest match first.
    EGLint const wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                             EGL_DEPTH_SIZE, 32, EGL_STENCIL_SIZE, 0, EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &count) || count < 1)
        return false;
    EGLint const context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    EGLint const surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    for (EGLSurface &surface : surfaces)
        surface = eglCreatePbufferSurface(display, config, surface_attributes);
    return context != EGL_NO_CONTEXT && surfaces[0] != EGL_NO_SURFACE && surfaces[1] != EGL_NO_SURFACE;
}

void frame()
{
    eglMakeCurrent(display, surfaces[0], surfaces[0], context);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    eglSwapBuffers(display, surfaces[0]);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void drawing_frame(void (*draw)(void *), void *data)
{
    eglMakeCurrent(display, surfaces[back], surfaces[back], context);
    draw(data);
    back ^= 1;
    eglMakeCurrent(display, surfaces[back], surfaces[back], context);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void exchanging_frame()
{
    eglMakeCurrent(display, surfaces[back], surfaces[back], context);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    back ^= 1;
    eglMakeCurrent(display, surfaces[back], surfaces[back], context);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void close()
{
    for (EGLSurface &surface : surfaces) {
        eglDestroySurface(display, surface);
        surface = EGL_NO_SURFACE;
    }
    eglDestroyContext(display, context);
    context = EGL_NO_CONTEXT;
}

}  // namespace tessiv_platform::bare_egl
