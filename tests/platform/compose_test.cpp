#include <tessiv/platform/headless.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/tests/gl_window.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

HWND Make(char const *class_name, DWORD style, RECT rect, HWND parent)
{
    return CreateWindowExA(0, class_name, "", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
}

void Fill(HWND window, COLORREF colour)
{
    HDC dc = GetWindowDC(window);
    RECT rect;
    GetWindowRect(window, &rect);
    RECT whole{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &whole, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

std::uint32_t At(TessivFrontBuffer const &picture, int x, int y)
{
    return picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
}

TEST(ComposeTest, ChildrenCoverTheirParentInZOrderClippedToItsClientArea)
{
    ASSERT_TRUE(RegisterGlWindowClass("ComposeTestWindow"));
    HWND top = Make("ComposeTestWindow", WS_OVERLAPPED | WS_VISIBLE, RECT{50, 60, 250, 160}, nullptr);
    HWND lower = Make("ComposeTestWindow", WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top);
    HWND upper = Make("ComposeTestWindow", WS_CHILD | WS_VISIBLE, RECT{40, 40, 240, 90}, top);
    HWND hidden = Make("ComposeTestWindow", WS_CHILD, RECT{0, 0, 200, 100}, top);
    Fill(top, RGB(10, 20, 30));
    Fill(lower, RGB(255, 0, 0));
    Fill(upper, RGB(0, 0, 255));
    Fill(hidden, RGB(0, 255, 0));

    TessivFrontBuffer picture;
    ASSERT_TRUE(TessivComposeWindow(top, &picture));
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 100);
    EXPECT_EQ(At(picture, 0, 0), 0xFF0A141Eu) << "the parent's own pixels, made opaque";
    EXPECT_EQ(At(picture, 15, 15), 0xFFFF0000u);
    EXPECT_EQ(At(picture, 45, 45), 0xFFFF0000u) << "a new child goes below its older siblings";
    EXPECT_EQ(At(picture, 199, 85), 0xFF0000FFu);
    EXPECT_EQ(At(picture, 100, 95), 0xFF0A141Eu) << "the child stops at its parent's edge";

    TessivFrontBuffer none;
    EXPECT_FALSE(TessivComposeWindow(nullptr, &none));
    DestroyWindow(top);
    EXPECT_FALSE(TessivComposeWindow(top, &none));
}

TEST(ComposeTest, GlWindowsShowTheirFrontBuffer)
{
    ASSERT_TRUE(RegisterGlWindowClass("ComposeTestWindow"));
    HWND top = Make("ComposeTestWindow", WS_OVERLAPPED | WS_VISIBLE, RECT{0, 0, 120, 80}, nullptr);
    HWND view = Make("ComposeTestWindow", WS_CHILD | WS_VISIBLE, RECT{20, 10, 100, 70}, top);
    Fill(top, RGB(255, 255, 255));
    HDC dc = GetDC(view);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    HGLRC context = wglCreateContext(dc);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SwapBuffers(dc);
    wglMakeCurrent(nullptr, nullptr);

    TessivFrontBuffer picture;
    ASSERT_TRUE(TessivComposeWindow(top, &picture));
    EXPECT_EQ(At(picture, 5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(At(picture, 50, 40), 0xFF00FF00u) << "the view's last presented frame";
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "composing leaves no context current";
    wglDeleteContext(context);
    DestroyWindow(top);
}

}  // namespace
