// The GDI32 and WGL part of the platform layer: device contexts over 32-bit
// pixel buffers, bitmaps and DIB access, brushes, the few drawing calls the
// shell uses, clipping, and OpenGL pixel formats, contexts and buffer swaps.
// Constants carry Win32's numeric values.
//
// Every window has a 32-bit pixel surface covering its window rectangle; a
// DC from GetDC draws into its client part, one from GetWindowDC into all of
// it. Bitmaps are always 32 bits per pixel (the headless screen's depth).
// Pixels are stored as 0x00RRGGBB words (memory order blue, green, red,
// reserved), the layout of a 32-bit DIB.
#pragma once

#include <tessiv/platform/windef.h>

// GetDeviceCaps indices.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Raster operations.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Bitmap description and DIB headers.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// Region and clipping results.
constexpr int ERROR_REGION = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Stock objects and object types.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_DC = 3;
constexpr int OBJ_MEMDC = 10;
constexpr int OBJ_BITMAP = 7;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Device contexts.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
// A DC of a CS_OWNDC window is kept by the window; releasing it does nothing.
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT *previous);
BOOL GetViewportOrgEx(HDC dc, POINT *origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT *previous);

// GDI objects: selecting returns the previously selected object of that kind.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// Fails for an object that is selected into a DC, as on Win32.
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID out);
#define GetObject GetObjectA
HGDIOBJ GetStockObject(int index);
DWORD GetObjectType(HGDIOBJ object);

// Bitmaps.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, void const *bits);
// bits may be null; else receives the pixel buffer of the new DIB section.
HBITMAP CreateDIBSection(HDC dc, BITMAPINFO const *info, UINT usage, void **bits, HANDLE section,
                         DWORD offset);
// 32-bit DIBs only; a negative biHeight means rows top-down. With null bits,
// fills the header of the bitmap's format and returns its height.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO *info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void const *bits,
              BITMAPINFO const *info, UINT usage);

// Brushes and drawing.
HBRUSH CreateSolidBrush(COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
// The DC's layout (LAYOUT_RTL: right to left). The layer records it but
// never mirrors drawing; GDI_ERROR for an invalid DC.
constexpr DWORD LAYOUT_RTL = 0x00000001;
constexpr DWORD GDI_ERROR = 0xFFFFFFFF;
DWORD GetLayout(HDC dc);
DWORD SetLayout(HDC dc, DWORD layout);
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// CLR_INVALID outside the surface or the clip area.
COLORREF GetPixel(HDC dc, int x, int y);
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
int FillRect(HDC dc, RECT const *rect, HBRUSH brush);
int FrameRect(HDC dc, RECT const *rect, HBRUSH brush);
// Inverts every other pixel of the rectangle's one-pixel outline (XOR), so
// drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC dc, RECT const *rect);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
            DWORD rop);
// Fills the rectangle (normalised first) with the background colour under
// ETO_OPAQUE; text is not rasterised on the headless screen.
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, RECT const *rect, LPCSTR text, UINT count,
                 INT const *dx);

// Clipping, in logical coordinates of the DC.
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// Only a null region is accepted: it resets the clip area to the whole surface.
int SelectClipRgn(HDC dc, HRGN region);
int GetClipBox(HDC dc, RECT *rect);

// OpenGL pixel formats.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr DWORD PFD_SWAP_EXCHANGE = 0x00000200;
constexpr DWORD PFD_SWAP_COPY = 0x00000400;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr DWORD PFD_DEPTH_DONTCARE = 0x20000000;
constexpr DWORD PFD_DOUBLEBUFFER_DONTCARE = 0x40000000;
constexpr DWORD PFD_STEREO_DONTCARE = 0x80000000;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor is Win32's 40-byte record");

// Returns the 1-based index of the closest format, 0 when none fits (or no
// GL display is available; the cause goes to the diagnostic sink).
int ChoosePixelFormat(HDC dc, PIXELFORMATDESCRIPTOR const *descriptor);
// A window's format can be set once; setting the same format again succeeds.
BOOL SetPixelFormat(HDC dc, int format, PIXELFORMATDESCRIPTOR const *descriptor);
int GetPixelFormat(HDC dc);
// Returns the number of formats; fills the descriptor of format index when given.
int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR *descriptor);
// Shows the back buffer: the front buffer receives its contents.
BOOL SwapBuffers(HDC dc);

HGLRC wglCreateContext(HDC dc);
BOOL wglDeleteContext(HGLRC context);
// Null context: makes no context current on this thread.
BOOL wglMakeCurrent(HDC dc, HGLRC context);
// Makes target use source's textures and display lists; target must not have
// been current yet. Contexts share nothing otherwise.
BOOL wglShareLists(HGLRC source, HGLRC target);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
void *wglGetProcAddress(LPCSTR name);
