#include <tessiv/platform/headless.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::vector<std::string> diagnostics;

// The process's resident memory in bytes.
long long resident_bytes()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}
void collect(char const *title, char const *text) { diagnostics.push_back(std::string(title) + ": " + text); }

class WglTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterGlWindowClass("WglTestWindow"));
        diagnostics.clear();
        TessivSetDiagnosticSink(collect);
    }
    void TearDown() override
    {
        TessivSetDisplayFault(TessivDisplayFault::None);
        TessivSetDiagnosticSink(nullptr);
        wglMakeCurrent(nullptr, nullptr);
    }
    static HWND make(int width, int height)
    {
        return CreateWindowExA(0, "WglTestWindow", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, width, height,
                               nullptr, nullptr, nullptr, nullptr);
    }
    static PIXELFORMATDESCRIPTOR request(DWORD extra_flags)
    {
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SWAP_EXCHANGE | extra_flags;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 32;
        pfd.iLayerType = PFD_MAIN_PLANE;
        return pfd;
    }
    // Window, DC, format and context ready for drawing.
    struct Gl {
        HWND window;
        HDC dc;
        HGLRC context;
    };
    static Gl open(int width, int height)
    {
        Gl gl{make(width, height), nullptr, nullptr};
        gl.dc = GetDC(gl.window);
        PIXELFORMATDESCRIPTOR pfd = request(0);
        int format = ChoosePixelFormat(gl.dc, &pfd);
        EXPECT_GT(format, 0);
        EXPECT_TRUE(SetPixelFormat(gl.dc, format, &pfd));
        gl.context = wglCreateContext(gl.dc);
        EXPECT_NE(gl.context, nullptr);
        return gl;
    }
    static void close(Gl const &gl)
    {
        wglDeleteContext(gl.context);
        DestroyWindow(gl.window);
    }
    static void clear_to(float r, float g, float b)
    {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

TEST_F(WglTest, PixelFormatsHonourTheDepthRequest)
{
    HWND window = make(16, 16);
    HDC dc = GetDC(window);
    int count = DescribePixelFormat(dc, 1, 0, nullptr);
    ASSERT_GT(count, 0) << (diagnostics.empty() ? "" : diagnostics.front());
    PIXELFORMATDESCRIPTOR pfd = request(0);
    int format = ChoosePixelFormat(dc, &pfd);
    PIXELFORMATDESCRIPTOR described{};
    ASSERT_EQ(DescribePixelFormat(dc, format, sizeof described, &described), count);
    EXPECT_EQ(described.nSize, 40);
    EXPECT_TRUE(described.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(described.dwFlags & PFD_SUPPORT_OPENGL);
    EXPECT_GE(described.cDepthBits, 24);
    pfd.cDepthBits = 0;
    PIXELFORMATDESCRIPTOR shallow{};
    DescribePixelFormat(dc, ChoosePixelFormat(dc, &pfd), sizeof shallow, &shallow);
    EXPECT_LE(shallow.cDepthBits, described.cDepthBits) << "a smaller request never gets more depth";

    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    EXPECT_TRUE(SetPixelFormat(dc, format, &pfd)) << "the same format again is accepted";
    if (count > 1) {
        EXPECT_FALSE(SetPixelFormat(dc, format == 1 ? 2 : 1, &pfd)) << "a window's format is set once";
    }
    EXPECT_EQ(GetPixelFormat(dc), format);
    pfd.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0);
    DestroyWindow(window);
}

TEST_F(WglTest, SwapShowsTheBackBufferInTheFrontBuffer)
{
    Gl gl = open(40, 30);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    EXPECT_EQ(wglGetCurrentContext(), gl.context);
    EXPECT_EQ(wglGetCurrentDC(), gl.dc);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 40) << "the drawable has the client size";
    clear_to(1, 0, 0);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 10, 10);
    clear_to(0, 0, 1);
    TessivFrontBuffer front;
    EXPECT_FALSE(TessivReadFrontBuffer(gl.window, &front)) << "nothing shown before the first swap";
    ASSERT_TRUE(SwapBuffers(gl.dc));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "the swap leaves GL state alone";
    ASSERT_TRUE(TessivReadFrontBuffer(gl.window, &front));
    EXPECT_EQ(wglGetCurrentContext(), gl.context) << "reading back keeps the current context";
    ASSERT_EQ(front.width, 40);
    ASSERT_EQ(front.height, 30);
    EXPECT_EQ(front.pixels[0], 0xFFFF0000u) << "top-left is red";
    EXPECT_EQ(front.pixels[29 * 40], 0xFF0000FFu) << "bottom-left (GL origin) is blue";

    glDisable(GL_SCISSOR_TEST);
    clear_to(0, 1, 0);
    TessivReadFrontBuffer(gl.window, &front);
    EXPECT_EQ(front.pixels[0], 0xFFFF0000u) << "drawing does not reach the front buffer before a swap";

    ASSERT_TRUE(SwapBuffers(gl.dc));
    GLubyte back[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, back);
    EXPECT_EQ(back[0], 0) << "the buffers are exchanged: the back buffer holds the frame before";
    EXPECT_EQ(back[2], 255);

    MoveWindow(gl.window, 0, 0, 20, 10, FALSE);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    clear_to(1, 1, 1);
    ASSERT_TRUE(SwapBuffers(gl.dc));
    TessivReadFrontBuffer(gl.window, &front);
    EXPECT_EQ(front.width, 20) << "the drawable follows the client size";
    EXPECT_EQ(front.pixels.back(), 0xFFFFFFFFu);
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    close(gl);
}

TEST_F(WglTest, CopyingSwapKeepsTheBackBufferAndItsDepth)
{
    TessivSetSwapMethod(TessivSwapMethod::Copy);
    Gl gl = open(16, 12);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    glClearColor(0, 0, 1, 1);
    glClearDepth(0.25);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    ASSERT_TRUE(SwapBuffers(gl.dc));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "the copy leaves the caller's state alone";
    GLfloat depth = 0;
    GLubyte colour[4];
    glReadPixels(3, 3, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, colour);
    EXPECT_NEAR(depth, 0.25, 1e-6) << "the depth buffer survives the swap";
    EXPECT_EQ(colour[2], 255) << "so does the back buffer's colour";
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(gl.window, &front));
    EXPECT_EQ(front.pixels[0], 0xFF0000FFu);
    EXPECT_EQ(front.pixels.back(), 0xFF0000FFu) << "the scissor does not clip the copy";
    wglMakeCurrent(nullptr, nullptr);
    TessivSetSwapMethod(TessivSwapMethod::Exchange);
    close(gl);
}

TEST_F(WglTest, ExchangingSwapKeepsOneDepthBuffer)
{
    Gl gl = open(16, 12);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    GLfloat depth = 0;
    for (double cleared : {0.25, 0.75, 0.5}) {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(static_cast<float>(cleared), 0, 0, 1);
        glClearDepth(cleared);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        ASSERT_TRUE(SwapBuffers(gl.dc));
        EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "the swap leaves the caller's state alone";
        glReadPixels(15, 11, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_NEAR(depth, cleared, 1e-6) << "the depth buffer holds the frame just shown";
    }
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(gl.window, &front));
    EXPECT_EQ(front.pixels.back(), 0xFF800000u) << "the front buffer shows the last frame";

    // Swapped while current nowhere, the depth still moves with the back buffer.
    glClearDepth(0.125);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    ASSERT_TRUE(SwapBuffers(gl.dc));
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    glReadPixels(2, 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.125, 1e-6);
    wglMakeCurrent(nullptr, nullptr);
    close(gl);
}

TEST_F(WglTest, ContextsOwnTheirObjectsUnlessShared)
{
    Gl gl = open(8, 8);
    std::vector<std::uint32_t> texels(512 * 512, 0xFF336699u);
    // One context's life: a 1 MiB texture, then release and delete.
    auto cycle = [&] {
        HGLRC context = wglCreateContext(gl.dc);
        GLuint id = 0;
        if (context && wglMakeCurrent(gl.dc, context)) {
            glGenTextures(1, &id);
            glBindTexture(GL_TEXTURE_2D, id);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 512, 512, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
            glFinish();
        }
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        return id;
    };
    for (int i = 0; i < 20; ++i)
        cycle();
    long long before = resident_bytes();
    int fresh_names = 0;
    for (int i = 0; i < 1000; ++i)
        fresh_names += cycle() == 1;
    long long growth = resident_bytes() - before;
    EXPECT_EQ(fresh_names, 1000) << "every context names its first texture 1";
    // Kept textures would add 1000 MiB; the bound leaves room for the
    // sanitizer's quarantine of freed blocks (256 MiB).
    EXPECT_LT(growth, 384LL << 20) << "the textures die with their contexts";

    // Shared on purpose: the second context sees the first one's texture.
    HGLRC owner = gl.context;
    HGLRC sharer = wglCreateContext(gl.dc);
    HGLRC loner = wglCreateContext(gl.dc);
    ASSERT_TRUE(wglShareLists(owner, sharer));
    ASSERT_TRUE(wglMakeCurrent(gl.dc, owner));
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, sharer));
    EXPECT_TRUE(glIsTexture(id));
    ASSERT_TRUE(wglMakeCurrent(gl.dc, loner));
    EXPECT_FALSE(glIsTexture(id));
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_FALSE(wglShareLists(owner, loner)) << "a context that has been current may own objects";
    EXPECT_FALSE(wglShareLists(owner, owner));
    EXPECT_FALSE(wglShareLists(owner, reinterpret_cast<HGLRC>(0x1234)));
    wglDeleteContext(sharer);
    wglDeleteContext(loner);
    close(gl);
}

TEST_F(WglTest, TwoWindowsAlternateOnOneThreadKeepingTheirState)
{
    Gl a = open(16, 16);
    Gl b = open(24, 8);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(wglMakeCurrent(a.dc, a.context));
        if (round == 0)
            glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(a.dc);
        ASSERT_TRUE(wglMakeCurrent(b.dc, b.context));
        if (round == 0)
            glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(b.dc);
    }
    wglMakeCurrent(nullptr, nullptr);
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(a.window, &front));
    EXPECT_EQ(front.pixels[5], 0xFFFF0000u) << "a's context kept its clear colour";
    ASSERT_TRUE(TessivReadFrontBuffer(b.window, &front));
    EXPECT_EQ(front.width, 24);
    EXPECT_EQ(front.pixels[5], 0xFF00FF00u);
    close(a);
    close(b);
}

TEST_F(WglTest, MisuseAndDestroyedWindowsFailWithoutCrashing)
{
    Gl gl = open(8, 8);
    HWND plain = make(8, 8);
    HDC plain_dc = GetDC(plain);
    EXPECT_FALSE(wglMakeCurrent(plain_dc, gl.context)) << "no pixel format on that window";
    EXPECT_EQ(wglCreateContext(plain_dc), nullptr);
    EXPECT_FALSE(SwapBuffers(plain_dc));
    EXPECT_FALSE(wglMakeCurrent(gl.dc, reinterpret_cast<HGLRC>(0x1234)));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr)) << "releasing with nothing current succeeds";

    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    DestroyWindow(gl.window);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(wglGetCurrentContext(), gl.context) << "the context outlives its window";
    EXPECT_FALSE(SwapBuffers(gl.dc)) << "the window's DC went with it";
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(gl.context));
    EXPECT_FALSE(wglDeleteContext(gl.context));
    DestroyWindow(plain);
}

TEST_F(WglTest, DisplayFaultsAreReportedWithTheEglError)
{
    Gl gl = open(8, 8);
    ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
    wglMakeCurrent(nullptr, nullptr);
    TessivSetDisplayFault(TessivDisplayFault::ContextLost);
    EXPECT_FALSE(wglMakeCurrent(gl.dc, gl.context));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(SwapBuffers(gl.dc));
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_EQ(diagnostics.front(), "wglMakeCurrent: eglMakeCurrent failed: EGL_CONTEXT_LOST (0x300E)");

    TessivSetDisplayFault(TessivDisplayFault::NoConfig);
    PIXELFORMATDESCRIPTOR pfd = request(PFD_DEPTH_DONTCARE);
    EXPECT_EQ(ChoosePixelFormat(gl.dc, &pfd), 0);
    TessivSetDisplayFault(TessivDisplayFault::NoDisplay);
    EXPECT_EQ(ChoosePixelFormat(gl.dc, &pfd), 0);
    EXPECT_EQ(diagnostics.back(), "ChoosePixelFormat: eglInitialize failed: EGL_NOT_INITIALIZED (0x3001)");
    TessivSetDisplayFault(TessivDisplayFault::None);
    EXPECT_TRUE(wglMakeCurrent(gl.dc, gl.context)) << "the display recovers";
    wglMakeCurrent(nullptr, nullptr);
    close(gl);
}

}  // namespace
