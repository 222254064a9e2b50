// Cgl: context life cycle and the frame bracket, with their trace lines.
#include <tessiv/render/cgl.h>

#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/siblings/fendral/log.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kTextureSide = 512;
constexpr int kMinimumClientSide = 5;

}  // namespace

Cgl::~Cgl() { Release(); }

int Cgl::Create(HWND window, int depth_flag)
{
    m_hWnd = window;
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SWAP_EXCHANGE;
    if (depth_flag == 0)
        pfd.dwFlags |= PFD_DEPTH_DONTCARE;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;

    m_hDC = ::GetDC(m_hWnd);
    pfd.cColorBits = static_cast<BYTE>(GetDeviceCaps(m_hDC, BITSPIXEL));
    auto fail = [this] {
        ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
        return 0;
    };
    m_pixelFormat = ChoosePixelFormat(m_hDC, &pfd);
    if (m_pixelFormat == 0)
        return fail();
    if (!SetPixelFormat(m_hDC, m_pixelFormat, &pfd))
        return fail();
    m_hRC = wglCreateContext(m_hDC);
    if (!m_hRC)
        return fail();
    // A context that cannot be made current stays held until Release.
    if (!wglMakeCurrent(m_hDC, m_hRC))
        return fail();

    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    CString text;
    text.Format("width = %d, height = %d", m_width, m_height);
    cLog.PutLog(1, "###Cgl::Create()", text);
    glViewport(0, 0, m_width, m_height);
    glDrawBuffer(GL_BACK);
    InitializeTexture();
    wglMakeCurrent(nullptr, nullptr);
    m_initialized = 1;
    return 1;
}

void Cgl::InitializeTexture()
{
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(kTextureSide) * kTextureSide, 0xFFFFFFFFu);
    glGenTextures(1, &m_texID);
    glBindTexture(GL_TEXTURE_2D, m_texID);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTextureSide, kTextureSide, 0, GL_BGRA_EXT,
                 GL_UNSIGNED_BYTE, texels.data());
}

void Cgl::Release()
{
    // Whatever context is current on this thread is released, not only ours.
    if (wglGetCurrentContext())
        wglMakeCurrent(m_hDC, nullptr);
    if (m_hRC) {
        wglDeleteContext(m_hRC);
        m_hRC = nullptr;
    }
    if (m_hDC) {
        ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }
    m_initialized = 0;
    m_hWnd = nullptr;
}

void Cgl::SceneBegin()
{
    if (!m_hRC)
        return;
    if (wglMakeCurrent(m_hDC, m_hRC)) {
        m_bInScene = true;
    } else {
        ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }
}

void Cgl::SceneEnd()
{
    if (!m_hDC)
        return;
    try {
        cLog.PutLog(1, "Cgl::SceneEnd()", "-----1");
        if (!wglMakeCurrent(nullptr, nullptr))
            cLog.PutLog(1, "Cgl::SceneEnd()", "-----3");
        cLog.PutLog(1, "Cgl::SceneEnd()", "-----4");
    } catch (...) {
        cLog.PutLog(1, "Cgl::SceneEnd()", "-----5");
    }
    cLog.PutLog(1, "Cgl::SceneEnd()", "-----6");
    m_bInScene = false;
}

int Cgl::Flip()
{
    cLog.PutLog(1, "Cgl::Flip()", "-----1");
    if (m_hDC && !SwapBuffers(m_hDC)) {
        cLog.PutLog(1, "Cgl::Flip()", "-----2");
        return 0;
    }
    cLog.PutLog(1, "Cgl::Flip()", "-----3");
    return 1;
}

int Cgl::OnSize()
{
    if (!m_initialized)
        return 0;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    if (m_width < kMinimumClientSide)
        m_width = kMinimumClientSide;
    if (m_height < kMinimumClientSide)
        m_height = kMinimumClientSide;
    if (m_hDC)
        ReleaseDC(m_hWnd, m_hDC);
    m_hDC = ::GetDC(m_hWnd);
    if (wglMakeCurrent(m_hDC, m_hRC)) {
        glViewport(0, 0, m_width, m_height);
        glDrawBuffer(GL_BACK);
        wglMakeCurrent(nullptr, nullptr);
        return 1;
    }
    ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
    return 0;
}
