// The bare EGL baseline of bench/cgl_bench.cpp: the same drawable kind as the
// headless backend (a pbuffer back buffer, a renderbuffer front buffer),
// driven directly.
#include <tessiv/platform/backend/bare_egl_baseline.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

namespace tessiv_platform::bare_egl {
namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surface = EGL_NO_SURFACE;
GLuint front = 0, framebuffer = 0;
int frame_width = 0, frame_height = 0;
PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;

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
    EGLint const wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24,
                             EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &count) || count < 1)
        return false;
    EGLint const context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    EGLint const surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, surface_attributes);
    if (context == EGL_NO_CONTEXT || surface == EGL_NO_SURFACE)
        return false;
    frame_width = width;
    frame_height = height;
    eglMakeCurrent(display, surface, surface, context);
    bind_framebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
    blit_framebuffer = reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(eglGetProcAddress("glBlitFramebuffer"));
    auto gen_renderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(eglGetProcAddress("glGenRenderbuffers"));
    auto bind_renderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(eglGetProcAddress("glBindRenderbuffer"));
    auto storage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(eglGetProcAddress("glRenderbufferStorage"));
    auto gen_framebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(eglGetProcAddress("glGenFramebuffers"));
    auto attach = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(eglGetProcAddress("glFramebufferRenderbuffer"));
    gen_renderbuffers(1, &front);
    bind_renderbuffer(GL_RENDERBUFFER, front);
    storage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    gen_framebuffers(1, &framebuffer);
    bind_framebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    attach(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, front);
    bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    return true;
}

void frame()
{
    eglMakeCurrent(display, surface, surface, context);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    eglSwapBuffers(display, surface);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void presenting_frame()
{
    eglMakeCurrent(display, surface, surface, context);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bind_framebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    blit_framebuffer(0, 0, frame_width, frame_height, 0, 0, frame_width, frame_height, GL_COLOR_BUFFER_BIT,
                     GL_NEAREST);
    bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glFlush();
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void close()
{
    eglDestroySurface(display, surface);
    eglDestroyContext(display, context);
    surface = EGL_NO_SURFACE;
    context = EGL_NO_CONTEXT;
}

}  // namespace tessiv_platform::bare_egl
