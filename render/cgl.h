// Cgl: the OpenGL rendering context of one window: pixel format, context,
// viewport, the frame bracket (SceneBegin/SceneEnd), presenting the back
// buffer, the conversions between window pixels and scene points, the one
// texture object and the bump-map textures.
#pragma once

#include <tessiv/core/point.h>
#include <tessiv/platform/windef.h>

namespace kolt {
class PixelImage;
class Texture;
}  // namespace kolt

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
    // Read-only views of the handles and flags for hosts and tests; named
    // apart from the Win32 calls so member code never reaches one by mistake.
    HGLRC RenderingContext() const { return m_hRC; }
    HDC DeviceContext() const { return m_hDC; }
    HWND Window() const { return m_hWnd; }
    int PixelFormatIndex() const { return m_pixelFormat; }
    bool IsInScene() const { return m_bInScene; }

    // Texture object. Each copies a record's image into the lower-left corner
    // of the one 512 x 512 texture object (an image larger than that is
    // refused by OpenGL and the texels stay). Outside a scene they make the
    // context current for the call and end the scene afterwards.
    void UpdateTexture(kolt::Texture *texture);
    // Uploads and switches 2D texturing on (modulate, repeat, linear); null
    // switches it off. Call it inside a scene.
    void SetTexture(kolt::Texture *texture);
    // Switches 2D texturing off; deletes nothing.
    void ReleaseTexture(kolt::Texture *texture);

    // Bump maps. Id 0xFFFFFFFF means "no texture object yet".
    static constexpr unsigned int kNoTexture = 0xFFFFFFFFu;
    // Reads the numbered 24-bit bitmaps of file_index from "~TempData" beside
    // the executable: the stitch decoration into stitch_id and the height map
    // (trench, stitch bump or both blended) as a normal map into bump_id,
    // making either object on first use. Call it outside a scene; it ends
    // one. False when a needed file cannot be opened or read, or the three
    // images of one index differ in size.
    bool LoadMultiTextures(bool trench, bool stitch, unsigned int &stitch_id, unsigned int &bump_id,
                           int file_index);
    // Height map (red byte) in, normal map out: red, green, blue the normal
    // (dx, dy, scale) / length encoded as v * 127.5 + 127.5 truncated, alpha
    // the height. Differences look forward, backward in the last column and
    // row; an image one pixel wide or tall has no difference in that
    // direction.
    static void MakeNormalMapFromHMap(kolt::PixelImage &image, double scale);
    // Makes a new cube map whose texels encode the unit direction to each
    // texel centre. Sizes above kMaxCubeMapSize are refused like a failed
    // allocation: id becomes 0xFFFFFFFF and the result is false.
    static constexpr unsigned int kMaxCubeMapSize = 2048;
    bool GenNormalizationCubeMap(unsigned int size, unsigned int &id);

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
