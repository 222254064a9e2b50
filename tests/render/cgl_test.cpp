#include <tessiv/platform/headless.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/render/cgl.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Line = std::pair<std::string, std::string>;

std::vector<Line> trace()
{
    std::vector<Line> lines;
    for (CLog::Entry const &entry : cLog.Entries()) {
        EXPECT_EQ(entry.level, 1);
        lines.emplace_back(entry.title, entry.text);
    }
    cLog.Clear();
    return lines;
}

Line const kSceneEnd1{"Cgl::SceneEnd()", "-----1"};
Line const kSceneEnd3{"Cgl::SceneEnd()", "-----3"};
Line const kSceneEnd4{"Cgl::SceneEnd()", "-----4"};
Line const kSceneEnd5{"Cgl::SceneEnd()", "-----5"};
Line const kSceneEnd6{"Cgl::SceneEnd()", "-----6"};
Line const kFlip1{"Cgl::Flip()", "-----1"};
Line const kFlip2{"Cgl::Flip()", "-----2"};
Line const kFlip3{"Cgl::Flip()", "-----3"};

class CglTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterGlWindowClass("CglTestView"));
        cLog.Clear();
    }
    void TearDown() override
    {
        TessivSetDisplayFault(TessivDisplayFault::None);
        wglMakeCurrent(nullptr, nullptr);
        for (HWND window : windows_)
            DestroyWindow(window);
    }
    HWND view(int width, int height)
    {
        HWND window = CreateWindowExA(0, "CglTestView", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, width, height,
                                      nullptr, nullptr, nullptr, nullptr);
        windows_.push_back(window);
        return window;
    }
    static void fill_and_flip(Cgl &gl, float r, float g, float b)
    {
        gl.SceneBegin();
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gl.Flip();
        gl.SceneEnd();
    }
    std::vector<HWND> windows_;
};

TEST_F(CglTest, ConstructionDefaultsAndShallowCopies)
{
    Cgl gl;
    EXPECT_EQ(gl.Width(), -1);
    EXPECT_EQ(gl.Height(), -1);
    EXPECT_EQ(gl.Initialized(), 0);
    EXPECT_EQ(gl.GetTexID(), 0u);
    EXPECT_EQ(gl.RenderingContext(), nullptr);
    EXPECT_FALSE(gl.IsInScene());
    EXPECT_FLOAT_EQ(gl.m_fParam, 0.008f);

    ASSERT_EQ(gl.Create(view(32, 16), 1), 1);
    Cgl copy(gl);
    EXPECT_EQ(copy.RenderingContext(), gl.RenderingContext()) << "copies share the handles";
    EXPECT_EQ(copy.DeviceContext(), gl.DeviceContext());
    EXPECT_EQ(copy.GetTexID(), gl.GetTexID());
    copy.m_fParam = 1;
    gl = copy;
    EXPECT_EQ(gl.m_fParam, 1.0f);
    copy.Release();
    EXPECT_EQ(copy.Initialized(), 0);
    gl.Release();
    gl.Release();
    EXPECT_EQ(gl.RenderingContext(), nullptr) << "a second Release finds nothing to give back";
    EXPECT_EQ(gl.Width(), 32) << "Release keeps the size";
}

TEST_F(CglTest, CreateSetsViewportAndAWhiteTextureAndLogsTheSize)
{
    HWND window = view(64, 48);
    Cgl gl;
    ASSERT_EQ(gl.Create(window, 1), 1);
    EXPECT_EQ(trace(), (std::vector<Line>{{"###Cgl::Create()", "width = 64, height = 48"}}));
    EXPECT_EQ(gl.Initialized(), 1);
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "Create leaves no context current";
    EXPECT_NE(gl.GetTexID(), 0u);

    gl.SceneBegin();
    ASSERT_TRUE(gl.IsInScene());
    GLint viewport[4], draw_buffer = 0, texture_width = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 48);
    EXPECT_EQ(draw_buffer, GL_BACK);
    glBindTexture(GL_TEXTURE_2D, gl.GetTexID());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texture_width);
    EXPECT_EQ(texture_width, 512);

    // Sample the texture over the whole window: modulated with white it stays white.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0.1f, 0.1f);
    glVertex2f(-1, -1);
    glTexCoord2f(0.9f, 0.1f);
    glVertex2f(1, -1);
    glTexCoord2f(0.9f, 0.9f);
    glVertex2f(1, 1);
    glTexCoord2f(0.1f, 0.9f);
    glVertex2f(-1, 1);
    glEnd();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(gl.Flip(), 1);
    gl.SceneEnd();
    EXPECT_FALSE(gl.IsInScene());
    EXPECT_EQ(trace(), (std::vector<Line>{kFlip1, kFlip3, kSceneEnd1, kSceneEnd4, kSceneEnd6}));
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(window, &front));
    ASSERT_EQ(front.pixels.size(), 64u * 48u);
    for (std::uint32_t pixel : front.pixels)
        ASSERT_EQ(pixel, 0xFFFFFFFFu) << "the texture object is opaque white";
}

TEST_F(CglTest, DepthFlagDecidesWhetherTheDepthSizeMatters)
{
    Cgl deep, any;
    ASSERT_EQ(deep.Create(view(8, 8), 1), 1);
    ASSERT_EQ(any.Create(view(8, 8), 0), 1);
    PIXELFORMATDESCRIPTOR described{};
    DescribePixelFormat(deep.DeviceContext(), deep.PixelFormatIndex(), sizeof described, &described);
    EXPECT_EQ(described.cDepthBits, 32) << "a non-zero flag asks for 32 depth bits and gets them";
    DescribePixelFormat(any.DeviceContext(), any.PixelFormatIndex(), sizeof described, &described);
    EXPECT_GE(described.cDepthBits, 24) << "the default format still has a depth buffer";
}

TEST_F(CglTest, ZeroClientAreaAndOnSizeRaisedToFive)
{
    HWND window = view(0, 0);
    Cgl gl;
    EXPECT_EQ(gl.OnSize(), 0) << "OnSize before Create does nothing";
    EXPECT_EQ(gl.Width(), -1);
    ASSERT_EQ(gl.Create(window, 1), 1);
    EXPECT_EQ(trace(), (std::vector<Line>{{"###Cgl::Create()", "width = 0, height = 0"}}));
    gl.SceneBegin();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 0);
    gl.SceneEnd();

    ASSERT_EQ(gl.OnSize(), 1);
    EXPECT_EQ(gl.Width(), 5);
    EXPECT_EQ(gl.Height(), 5);
    gl.SceneBegin();
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 5);
    EXPECT_EQ(viewport[3], 5);
    gl.SceneEnd();

    MoveWindow(window, 0, 0, 30, 20, TRUE);
    ASSERT_EQ(gl.OnSize(), 1);
    EXPECT_EQ(gl.Width(), 30);
    fill_and_flip(gl, 0, 0, 1);
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(window, &front));
    EXPECT_EQ(front.width, 30) << "the drawable follows the window";
    EXPECT_EQ(front.pixels[0], 0xFF0000FFu);
}

TEST_F(CglTest, WithoutADeviceContextFlipSucceedsAndSceneEndIsSilent)
{
    Cgl gl;
    EXPECT_EQ(gl.Flip(), 1);
    EXPECT_EQ(trace(), (std::vector<Line>{kFlip1, kFlip3}));
    gl.SceneBegin();
    EXPECT_FALSE(gl.IsInScene()) << "no rendering context, nothing happens";
    gl.SceneEnd();
    EXPECT_TRUE(trace().empty());
    EXPECT_EQ(gl.Create(reinterpret_cast<HWND>(0x4242), 1), 0) << "an invalid window fails";
    EXPECT_EQ(gl.DeviceContext(), nullptr);
    EXPECT_EQ(gl.Initialized(), 0);
    EXPECT_TRUE(trace().empty()) << "no size line before the context exists";
}

TEST_F(CglTest, DisplayFaultsEndInZeroResultsAndTracedEglErrors)
{
    HWND window = view(16, 16);
    Cgl none;
    TessivSetDisplayFault(TessivDisplayFault::NoDisplay);
    EXPECT_EQ(none.Create(window, 1), 0);
    EXPECT_EQ(none.DeviceContext(), nullptr);
    EXPECT_EQ(trace(), (std::vector<Line>{{"ChoosePixelFormat", "eglInitialize failed: EGL_NOT_INITIALIZED (0x3001)"}}));
    TessivSetDisplayFault(TessivDisplayFault::NoConfig);
    EXPECT_EQ(none.Create(window, 0), 0);
    EXPECT_EQ(trace(), (std::vector<Line>{{"ChoosePixelFormat", "eglChooseConfig found no RGB888 OpenGL pbuffer config"}}));
    TessivSetDisplayFault(TessivDisplayFault::None);

    Cgl gl;
    ASSERT_EQ(gl.Create(view(16, 16), 1), 1);
    gl.SceneBegin();
    ASSERT_TRUE(gl.IsInScene());
    cLog.Clear();
    TessivSetDisplayFault(TessivDisplayFault::ContextLost);
    EXPECT_EQ(gl.Flip(), 0);
    EXPECT_EQ(trace(), (std::vector<Line>{kFlip1, {"SwapBuffers", "eglSwapBuffers failed: EGL_CONTEXT_LOST (0x300E)"}, kFlip2}));
    gl.SceneEnd();
    trace();
    gl.SceneBegin();
    EXPECT_FALSE(gl.IsInScene());
    EXPECT_EQ(gl.DeviceContext(), nullptr) << "a failed make-current drops the DC";
    EXPECT_EQ(gl.OnSize(), 0);
    EXPECT_EQ(gl.DeviceContext(), nullptr);
    cLog.Clear();
    EXPECT_EQ(gl.Flip(), 1);
    gl.SceneEnd();
    EXPECT_EQ(trace(), (std::vector<Line>{kFlip1, kFlip3})) << "later calls do nothing until OnSize";
    TessivSetDisplayFault(TessivDisplayFault::None);
    EXPECT_EQ(gl.OnSize(), 1) << "OnSize takes a new DC";
}

TEST_F(CglTest, SceneEndTracesAFailedReleaseOrAnExceptionAndNeedsADeviceContext)
{
    Cgl gl;
    ASSERT_EQ(gl.Create(view(16, 16), 1), 1);
    gl.SceneBegin();
    ASSERT_TRUE(gl.IsInScene());
    cLog.Clear();
    TessivSetDisplayFault(TessivDisplayFault::ReleaseFails);
    gl.SceneEnd();
    EXPECT_EQ(trace(), (std::vector<Line>{kSceneEnd1,
                                          {"wglMakeCurrent", "eglMakeCurrent(EGL_NO_CONTEXT) failed: EGL_BAD_ACCESS (0x3002)"},
                                          kSceneEnd3, kSceneEnd4, kSceneEnd6}));
    EXPECT_FALSE(gl.IsInScene());

    // The release raises an exception (here from the diagnostic sink that
    // hears of the failure): caught, traced, and the scene still ends.
    gl.SceneBegin();
    ASSERT_TRUE(gl.IsInScene());
    cLog.Clear();
    TessivSetDiagnosticSink([](char const *, char const *) { throw std::runtime_error("diagnostic sink"); });
    EXPECT_NO_THROW(gl.SceneEnd());
    TessivSetDiagnosticSink(nullptr);
    TessivSetDisplayFault(TessivDisplayFault::None);
    EXPECT_EQ(trace(), (std::vector<Line>{kSceneEnd1, kSceneEnd5, kSceneEnd6}));
    EXPECT_FALSE(gl.IsInScene());

    // Release drops the device context but leaves the in-scene flag: a
    // SceneEnd without a device context does nothing at all.
    gl.SceneBegin();
    ASSERT_TRUE(gl.IsInScene());
    gl.Release();
    cLog.Clear();
    gl.SceneEnd();
    EXPECT_TRUE(trace().empty());
    EXPECT_TRUE(gl.IsInScene()) << "the flag is not cleared without a device context";
}

TEST_F(CglTest, DestroyingTheWindowInsideAScene)
{
    HWND window = view(16, 16);
    Cgl gl;
    ASSERT_EQ(gl.Create(window, 1), 1);
    gl.SceneBegin();
    DestroyWindow(window);
    glClear(GL_COLOR_BUFFER_BIT);
    cLog.Clear();
    EXPECT_EQ(gl.Flip(), 0);
    gl.SceneEnd();
    EXPECT_EQ(trace(), (std::vector<Line>{kFlip1, kFlip2, kSceneEnd1, kSceneEnd4, kSceneEnd6}));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    gl.Release();
    EXPECT_EQ(gl.RenderingContext(), nullptr);
}

TEST_F(CglTest, TwoViewsDrawingAlternatelyKeepTheirOwnState)
{
    HWND left = view(20, 10), right = view(12, 12);
    Cgl a, b;
    ASSERT_EQ(a.Create(left, 1), 1);
    ASSERT_EQ(b.Create(right, 1), 1);
    EXPECT_NE(a.RenderingContext(), b.RenderingContext());
    a.SceneBegin();
    glClearColor(1, 0, 0, 1);
    a.SceneEnd();
    b.SceneBegin();
    glClearColor(0, 1, 0, 1);
    b.SceneEnd();
    for (int frame = 0; frame < 3; ++frame)
        for (Cgl *gl : {&a, &b}) {
            gl->SceneBegin();
            glClear(GL_COLOR_BUFFER_BIT);
            gl->Flip();
            gl->SceneEnd();
        }
    TessivFrontBuffer front;
    ASSERT_TRUE(TessivReadFrontBuffer(left, &front));
    EXPECT_EQ(front.pixels[7], 0xFFFF0000u);
    ASSERT_TRUE(TessivReadFrontBuffer(right, &front));
    EXPECT_EQ(front.pixels[7], 0xFF00FF00u);
}

}  // namespace
