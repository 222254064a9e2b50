// Cgl: the OpenGL rendering context of one window: pixel format, context,
// viewport, the frame bracket (SceneBegin/SceneEnd), presenting the back
// buffer, and the conversions between window pixels and scene points.
#pragma once

#include <tessiv/core/point.h>
#include <tessiv/platform/windef.h>

// One rendering context bound to one window. Owns the rendering context and
// the window's device context (both given back by Release and by the
// destructor); borrows the window. Copies are shallow: they share the
// handles, and only one copy may release them. No context is current
// between scenes; every GL use outside Cgl lies between a make-current and
// SceneEnd. Failures come back as 0 results and trace lines, never as
// exceptions.
class Cgl {
public:
    Cgl() = default;
    Cgl(Cgl const &) = default;
    Cgl &operator=(Cgl const &) = default;
    virtual ~Cgl();

    // Chooses and sets the pixel format (depth_flag 0 lets the depth buffer
    // be any size), creates the context, sets the viewport and the draw
    // buffer and makes the white 512 x 512 texture object. 1 on success.
    int Create(HWND window, int depth_flag);
    void Release();
    void SceneBegin();
    void SceneEnd();
    // 0 when the swap fails; 1 otherwise, also without a device context.
    int Flip();
    // Re-measures the client area (each side at least 5), takes a fresh
    // device context and sets the viewport. 0 before Create or when the
    // context cannot be made current.
    int OnSize();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Initialized() const { return m_initialized; }
    unsigned int GetTexID() const { return m_texID; }
    HGLRC GetRC() const { return m_hRC; }
    HDC GetDC() const { return m_hDC; }
    HWND GetHWnd() const { return m_hWnd; }
    int GetPixelFormatIndex() const { return m_pixelFormat; }
    bool InScene() const { return m_bInScene; }

    // Scene point to window pixel (origin top-left, y down) and depth. 0 when
    // the point lies outside the depth range [0, 1]; the depth is written
    // in any case, x and y only on success.
    int Cvt3Dto2D(int *x, int *y, double *depth, kolt::Pnt3 *p);
    // The same in floating point with the client size; depth goes to out->z.
    int Cvt3Dto2D(kolt::Pnt3 *out, kolt::Pnt3 *p);
    // The scene point under a pixel at the depth in the depth buffer.
    kolt::Pnt3 Cvt2Dto3D(int x, int y);
    kolt::Pnt3 Cvt2Dto3D(CPoint pt);
    // The scene point under (x, y) at the depth of ref.
    kolt::Pnt3 Cvt2Dto3D(int x, int y, kolt::Pnt3 const &ref);
    // The scene point under (win.x, win.y) at the depth of the scene origin.
    kolt::Pnt3 Cvt2Dto3D(kolt::Pnt3 const &win);
    // The scene point seen at window point a whose mirror image across the
    // plane x = 0 is seen at b, by least squares. Works in module-level
    // storage: calls must not overlap.
    kolt::Pnt3 Cvt2Dto3D(kolt::Pnt3 const &a, kolt::Pnt3 const &b);

private:
    void InitializeTexture();
    // out = mv * p as row-major 4 x 4 products: OpenGL's P * MV in storage order.
    static void MultMatrix(double const *mv, double const *p, double *out);
    kolt::Pnt3 UnprojectAtDepthOf(double x, double y, kolt::Pnt3 const &ref);

    // The fields in the system's order; the float parameter is public.
    int m_width = -1;
    int m_height = -1;
    int m_initialized = 0;
    HGLRC m_hRC = nullptr;
    HDC m_hDC = nullptr;
    int m_pixelFormat = 0;  // set by Create; 0 before
    HWND m_hWnd = nullptr;
    unsigned int m_texID = 0;

public:
    // A public tuning value copied with the object; nothing here reads it.
    float m_fParam = 0.008f;

private:
    bool m_bInScene = false;
};
