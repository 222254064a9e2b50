// GDI on the headless screen: device contexts over the windows' 32-bit
// surfaces and over memory bitmaps, brushes, fills, frames, focus
// rectangles, block transfers, DIB access and rectangular clipping.
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace tessiv_platform {
namespace {

std::map<std::uintptr_t, std::unique_ptr<DeviceContext>> &dc_table()
{
    static auto *table = new std::map<std::uintptr_t, std::unique_ptr<DeviceContext>>;
    return *table;
}
std::map<std::uintptr_t, std::unique_ptr<GdiObject>> &object_table()
{
    static auto *table = new std::map<std::uintptr_t, std::unique_ptr<GdiObject>>;
    return *table;
}

// Bitmaps larger than this many pixels are refused instead of allocated.
constexpr long long kMaxBitmapPixels = 1LL << 26;

std::uint32_t pixel_of(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}
COLORREF colour_of(std::uint32_t pixel)
{
    return RGB(static_cast<BYTE>(pixel >> 16), static_cast<BYTE>(pixel >> 8), static_cast<BYTE>(pixel));
}

HDC add_dc(std::unique_ptr<DeviceContext> dc)
{
    HDC handle = reinterpret_cast<HDC>(next_handle_value());
    dc->handle = handle;
    dc_table()[reinterpret_cast<std::uintptr_t>(handle)] = std::move(dc);
    return handle;
}

HGDIOBJ add_object(std::unique_ptr<GdiObject> object)
{
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(next_handle_value());
    object_table()[reinterpret_cast<std::uintptr_t>(handle)] = std::move(object);
    return handle;
}

HGDIOBJ stock_brush(COLORREF colour, bool hollow = false)
{
    auto brush = std::make_unique<GdiObject>();
    brush->kind = GdiObject::Kind::Brush;
    brush->stock = true;
    brush->colour = hollow ? CLR_INVALID : colour;
    return add_object(std::move(brush));
}

HBITMAP default_bitmap()
{
    static HBITMAP bitmap = [] {
        auto object = std::make_unique<GdiObject>();
        object->kind = GdiObject::Kind::Bitmap;
        object->stock = true;
        object->width = object->height = 1;
        object->pixels.assign(1, 0);
        return static_cast<HBITMAP>(add_object(std::move(object)));
    }();
    return bitmap;
}

// The pixels a DC draws on: device (x, y) lies at row(y)[x + offset.x]...
struct Target {
    std::uint32_t *pixels = nullptr;
    int width = 0;   // surface size
    int height = 0;
    int offset_x = 0;  // surface position of device (0, 0)
    int offset_y = 0;
    RECT area{};     // device area, device coordinates
    std::uint32_t *at(int device_x, int device_y) const
    {
        int x = device_x + offset_x, y = device_y + offset_y;
        return pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
    }
};

Target target_of(DeviceContext &dc)
{
    Target target;
    switch (dc.kind) {
    case DeviceContext::Kind::Client:
    case DeviceContext::Kind::WholeWindow: {
        Window *window = find_window(dc.window);
        if (!window)
            return target;
        fit_surface(*window);
        if (window->surface.empty())
            return target;
        target.pixels = window->surface.data();
        target.width = window->surface_width;
        target.height = window->surface_height;
        if (dc.kind == DeviceContext::Kind::Client) {
            RECT inner = client_rect_in_window(*window);
            target.offset_x = inner.left;
            target.offset_y = inner.top;
            target.area = RECT{0, 0, inner.right - inner.left, inner.bottom - inner.top};
        } else {
            target.area = RECT{0, 0, target.width, target.height};
        }
        return target;
    }
    case DeviceContext::Kind::Memory: {
        GdiObject *bitmap = find_gdi(dc.bitmap);
        if (!bitmap || bitmap->pixels.empty())
            return target;
        target.pixels = bitmap->pixels.data();
        target.width = bitmap->width;
        target.height = bitmap->height;
        target.area = RECT{0, 0, bitmap->width, bitmap->height};
        return target;
    }
    case DeviceContext::Kind::Screen:
        return target;
    }
    return target;
}

// The parts of a logical rectangle that drawing may touch: device
// rectangles inside the surface and the clip area.
std::vector<RECT> drawable_parts(DeviceContext &dc, Target const &target, RECT logical)
{
    std::vector<RECT> parts;
    if (!target.pixels)
        return parts;
    RECT device = logical;
    OffsetRect(&device, dc.origin.x, dc.origin.y);
    RECT inside;
    if (!IntersectRect(&inside, &device, &target.area))
        return parts;
    if (!dc.clipped) {
        parts.push_back(inside);
        return parts;
    }
    for (RECT const &clip : dc.clip) {
        RECT part;
        if (IntersectRect(&part, &inside, &clip))
            parts.push_back(part);
    }
    return parts;
}

template <class Operation>
bool for_each_pixel(DeviceContext &dc, RECT logical, Operation operation)
{
    Target target = target_of(dc);
    if (!target.pixels)
        return dc.kind == DeviceContext::Kind::Screen;
    for (RECT const &part : drawable_parts(dc, target, logical))
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t *row = target.at(0, y);
            for (int x = part.left; x < part.right; ++x)
                operation(row[x], x, y);
        }
    return true;
}

bool point_drawable(DeviceContext &dc, Target const &target, int device_x, int device_y)
{
    if (!target.pixels)
        return false;
    POINT p{device_x, device_y};
    if (!PtInRect(&target.area, p))
        return false;
    if (!dc.clipped)
        return true;
    return std::any_of(dc.clip.begin(), dc.clip.end(), [&](RECT const &r) { return PtInRect(&r, p); });
}

COLORREF system_colour(int index)
{
    switch (index) {
    case COLOR_SCROLLBAR:
        return RGB(200, 200, 200);
    case COLOR_BACKGROUND:
        return RGB(0, 0, 0);
    case COLOR_ACTIVECAPTION:
        return RGB(153, 180, 209);
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME:
        return RGB(100, 100, 100);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
        return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW:
        return RGB(105, 105, 105);
    case COLOR_3DLIGHT:
        return RGB(227, 227, 227);
    default:
        return RGB(0, 0, 0);
    }
}

// A brush's colour; Win32 also takes a system colour index + 1 as a brush.
bool brush_colour(HBRUSH brush, COLORREF *colour)
{
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31) {
        *colour = system_colour(static_cast<int>(value) - 1);
        return true;
    }
    GdiObject *object = find_gdi(brush);
    if (!object || object->kind != GdiObject::Kind::Brush)
        return false;
    *colour = object->colour;
    return true;
}

int region_kind(DeviceContext const &dc)
{
    if (!dc.clipped)
        return SIMPLEREGION;
    if (dc.clip.empty())
        return NULLREGION;
    return dc.clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void start_clipping(DeviceContext &dc)
{
    if (dc.clipped)
        return;
    Target target = target_of(dc);
    dc.clip.assign(1, target.area);
    dc.clipped = true;
}

struct DibLayout {
    int width;
    int height;
    bool top_down;
};

bool dib_layout(BITMAPINFO const *info, GdiObject const &bitmap, DibLayout *layout)
{
    if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) ||
        info->bmiHeader.biBitCount != 32 || info->bmiHeader.biCompression != BI_RGB ||
        info->bmiHeader.biWidth != bitmap.width || info->bmiHeader.biHeight == 0)
        return false;
    layout->width = bitmap.width;
    layout->height = bitmap.height;
    layout->top_down = info->bmiHeader.biHeight < 0;
    return true;
}

// Row of the bitmap (top-down) that DIB scan line `scan` names.
int bitmap_row(DibLayout const &layout, int scan)
{
    return layout.top_down ? scan : layout.height - 1 - scan;
}

}  // namespace

DeviceContext *find_dc(HDC handle)
{
    auto it = dc_table().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == dc_table().end() ? nullptr : it->second.get();
}

GdiObject *find_gdi(HGDIOBJ handle)
{
    auto it = object_table().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == object_table().end() ? nullptr : it->second.get();
}

void release_window_dcs(HWND window)
{
    std::vector<std::unique_ptr<DeviceContext>> doomed;
    {
        for (auto it = dc_table().begin(); it != dc_table().end();) {
            if (it->second->window == window) {
                doomed.push_back(std::move(it->second));
                it = dc_table().erase(it);
            } else {
                ++it;
            }
        }
    }
}

}  // namespace tessiv_platform

using namespace tessiv_platform;

HDC GetDC(HWND handle)
{
    if (!handle) {
        auto dc = std::make_unique<DeviceContext>();
        dc->kind = DeviceContext::Kind::Screen;
        return add_dc(std::move(dc));
    }
    Window *window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    bool own = (window->window_class->info.style & CS_OWNDC) != 0;
    if (own && window->own_dc && find_dc(window->own_dc))
        return window->own_dc;
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = DeviceContext::Kind::Client;
    dc->window = handle;
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HDC result = add_dc(std::move(dc));
    if (own)
        window->own_dc = result;
    return result;
}

HDC GetWindowDC(HWND handle)
{
    if (!IsWindow(handle))
        return GetDC(nullptr);
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = DeviceContext::Kind::WholeWindow;
    dc->window = handle;
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return add_dc(std::move(dc));
}

int ReleaseDC(HWND handle, HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || dc->kind == DeviceContext::Kind::Memory || dc->window != handle)
        return 0;
    if (Window *window = find_window(handle); window && window->own_dc == dc_handle)
        return 1;
    std::unique_ptr<DeviceContext> doomed;
    auto it = dc_table().find(reinterpret_cast<std::uintptr_t>(dc_handle));
    doomed = std::move(it->second);
    dc_table().erase(it);
    return 1;
}

HDC CreateCompatibleDC(HDC)
{
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = DeviceContext::Kind::Memory;
    dc->bitmap = default_bitmap();
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return add_dc(std::move(dc));
}

BOOL DeleteDC(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return FALSE;
    if (Window *window = find_window(dc->window); window && window->own_dc == dc_handle)
        window->own_dc = nullptr;
    if (GdiObject *bitmap = find_gdi(dc->bitmap); bitmap && bitmap->selected_into == dc_handle)
        bitmap->selected_into = nullptr;
    std::unique_ptr<DeviceContext> doomed;
    auto it = dc_table().find(reinterpret_cast<std::uintptr_t>(dc_handle));
    doomed = std::move(it->second);
    dc_table().erase(it);
    return TRUE;
}

HWND WindowFromDC(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    return dc ? dc->window : nullptr;
}

int GetDeviceCaps(HDC dc_handle, int index)
{
    if (!find_dc(dc_handle))
        return 0;
    switch (index) {
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case HORZRES:
        return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES:
        return GetSystemMetrics(SM_CYSCREEN);
    case HORZSIZE:
        return GetSystemMetrics(SM_CXSCREEN) * 254 / 960;
    case VERTSIZE:
        return GetSystemMetrics(SM_CYSCREEN) * 254 / 960;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        return 0x0001 | 0x0080;  // RC_BITBLT | RC_DI_BITMAP
    default:
        return 0;
    }
}

int SaveDC(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return 0;
    dc->saved.push_back(std::make_shared<SavedDcState>(SavedDcState{
        dc->brush, dc->background, dc->text_colour, dc->origin, dc->clipped, dc->clip, dc->bitmap}));
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC dc_handle, int saved)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || dc->saved.empty())
        return FALSE;
    int count = static_cast<int>(dc->saved.size());
    int index = saved < 0 ? count + saved : saved - 1;
    if (index < 0 || index >= count)
        return FALSE;
    SavedDcState state = *dc->saved[static_cast<std::size_t>(index)];
    dc->saved.resize(static_cast<std::size_t>(index));
    dc->brush = state.brush;
    dc->background = state.background;
    dc->text_colour = state.text_colour;
    dc->origin = state.origin;
    dc->clipped = state.clipped;
    dc->clip = state.clip;
    if (dc->kind == DeviceContext::Kind::Memory && state.bitmap != dc->bitmap)
        SelectObject(dc_handle, state.bitmap);
    return TRUE;
}

BOOL SetViewportOrgEx(HDC dc_handle, int x, int y, POINT *previous)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->origin;
    dc->origin = POINT{x, y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC dc_handle, POINT *origin)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->origin;
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC dc_handle, int dx, int dy, POINT *previous)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return FALSE;
    return SetViewportOrgEx(dc_handle, dc->origin.x + dx, dc->origin.y + dy, previous);
}

HGDIOBJ SelectObject(HDC dc_handle, HGDIOBJ object_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    GdiObject *object = find_gdi(object_handle);
    if (!dc || !object)
        return nullptr;
    if (object->kind == GdiObject::Kind::Brush) {
        HGDIOBJ old = dc->brush;
        dc->brush = static_cast<HBRUSH>(object_handle);
        return old;
    }
    // A bitmap goes into one memory DC at a time.
    if (dc->kind != DeviceContext::Kind::Memory ||
        (object->selected_into && object->selected_into != dc_handle && !object->stock))
        return nullptr;
    HGDIOBJ old = dc->bitmap;
    if (GdiObject *previous = find_gdi(old); previous && previous->selected_into == dc_handle)
        previous->selected_into = nullptr;
    dc->bitmap = static_cast<HBITMAP>(object_handle);
    if (!object->stock)
        object->selected_into = dc_handle;
    // Clipping belongs to the surface; a new bitmap starts unclipped.
    dc->clipped = false;
    dc->clip.clear();
    return old;
}

HGDIOBJ GetCurrentObject(HDC dc_handle, UINT type)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return nullptr;
    if (type == OBJ_BRUSH)
        return dc->brush;
    if (type == OBJ_BITMAP)
        return dc->bitmap;
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object_handle)
{
    GdiObject *object = find_gdi(object_handle);
    if (!object)
        return FALSE;
    if (object->stock)
        return TRUE;
    if (object->selected_into && find_dc(object->selected_into))
        return FALSE;
    std::unique_ptr<GdiObject> doomed;
    auto it = object_table().find(reinterpret_cast<std::uintptr_t>(object_handle));
    doomed = std::move(it->second);
    object_table().erase(it);
    return TRUE;
}

int GetObjectA(HGDIOBJ object_handle, int size, LPVOID out)
{
    GdiObject *object = find_gdi(object_handle);
    if (!object || object->kind != GdiObject::Kind::Bitmap)
        return 0;
    if (!out)
        return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP description{0, object->width, object->height, object->width * 4, 1, 32, nullptr};
    std::memcpy(out, &description, sizeof(description));
    return sizeof(BITMAP);
}

HGDIOBJ GetStockObject(int index)
{
    static HGDIOBJ const brushes[] = {stock_brush(RGB(255, 255, 255)), stock_brush(RGB(192, 192, 192)),
                                      stock_brush(RGB(128, 128, 128)), stock_brush(RGB(64, 64, 64)),
                                      stock_brush(RGB(0, 0, 0)), stock_brush(0, true)};
    if (index < 0 || index > NULL_BRUSH)
        return nullptr;
    return brushes[index];
}

DWORD GetObjectType(HGDIOBJ object_handle)
{
    if (GdiObject *object = find_gdi(object_handle))
        return object->kind == GdiObject::Kind::Brush ? OBJ_BRUSH : OBJ_BITMAP;
    if (DeviceContext *dc = find_dc(static_cast<HDC>(object_handle)))
        return dc->kind == DeviceContext::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
    return 0;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, void const *bits)
{
    if (width < 0 || height < 0 || planes != 1 || bits_per_pixel != 32 ||
        static_cast<long long>(width) * height > kMaxBitmapPixels) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A zero-sized request gives a 1 x 1 bitmap, as on Win32.
    if (width == 0 || height == 0)
        width = height = 1;
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiObject::Kind::Bitmap;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    if (bits)
        std::memcpy(bitmap->pixels.data(), bits, bitmap->pixels.size() * 4);
    return static_cast<HBITMAP>(add_object(std::move(bitmap)));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (!find_dc(dc)) {
        set_last_error(ERROR_DC_NOT_FOUND);
        return nullptr;
    }
    return CreateBitmap(width, height, 1, 32, nullptr);
}

HBITMAP CreateDIBSection(HDC, BITMAPINFO const *info, UINT usage, void **bits, HANDLE, DWORD)
{
    if (!info || usage != DIB_RGB_COLORS || info->bmiHeader.biBitCount != 32 ||
        info->bmiHeader.biCompression != BI_RGB || info->bmiHeader.biWidth <= 0 ||
        info->bmiHeader.biHeight >= 0) {
        // Only top-down 32-bit sections: their memory is the bitmap's own rows.
        set_last_error(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP bitmap = CreateBitmap(info->bmiHeader.biWidth, -info->bmiHeader.biHeight, 1, 32, nullptr);
    if (bitmap && bits)
        *bits = find_gdi(bitmap)->pixels.data();
    return bitmap;
}

int GetDIBits(HDC dc, HBITMAP bitmap_handle, UINT start, UINT lines, LPVOID bits, BITMAPINFO *info,
              UINT usage)
{
    GdiObject *bitmap = find_gdi(bitmap_handle);
    if (!find_dc(dc) || !bitmap || bitmap->kind != GdiObject::Kind::Bitmap || !info ||
        usage != DIB_RGB_COLORS)
        return 0;
    if (!bits) {
        if (info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
            return 0;
        BITMAPINFOHEADER &header = info->bmiHeader;
        header.biWidth = bitmap->width;
        header.biHeight = bitmap->height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(bitmap->width) * static_cast<DWORD>(bitmap->height) * 4;
        return bitmap->height;
    }
    DibLayout layout;
    if (!dib_layout(info, *bitmap, &layout) || start >= static_cast<UINT>(layout.height))
        return 0;
    UINT count = std::min(lines, static_cast<UINT>(layout.height) - start);
    auto *out = static_cast<std::uint32_t *>(bits);
    for (UINT i = 0; i < count; ++i) {
        int row = bitmap_row(layout, static_cast<int>(start + i));
        std::memcpy(out + static_cast<std::size_t>(i) * layout.width,
                    &bitmap->pixels[static_cast<std::size_t>(row) * layout.width],
                    static_cast<std::size_t>(layout.width) * 4);
    }
    return static_cast<int>(count);
}

int SetDIBits(HDC, HBITMAP bitmap_handle, UINT start, UINT lines, void const *bits,
              BITMAPINFO const *info, UINT usage)
{
    GdiObject *bitmap = find_gdi(bitmap_handle);
    if (!bitmap || bitmap->kind != GdiObject::Kind::Bitmap || !bits || usage != DIB_RGB_COLORS)
        return 0;
    DibLayout layout;
    if (!dib_layout(info, *bitmap, &layout) || start >= static_cast<UINT>(layout.height))
        return 0;
    UINT count = std::min(lines, static_cast<UINT>(layout.height) - start);
    auto const *in = static_cast<std::uint32_t const *>(bits);
    for (UINT i = 0; i < count; ++i) {
        int row = bitmap_row(layout, static_cast<int>(start + i));
        std::memcpy(&bitmap->pixels[static_cast<std::size_t>(row) * layout.width],
                    in + static_cast<std::size_t>(i) * layout.width,
                    static_cast<std::size_t>(layout.width) * 4);
    }
    return static_cast<int>(count);
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    auto brush = std::make_unique<GdiObject>();
    brush->kind = GdiObject::Kind::Brush;
    brush->colour = colour & 0x00FFFFFF;
    return static_cast<HBRUSH>(add_object(std::move(brush)));
}

DWORD GetSysColor(int index) { return system_colour(index); }

HBRUSH GetSysColorBrush(int index)
{
    static std::map<int, HBRUSH> *brushes = new std::map<int, HBRUSH>;
    auto it = brushes->find(index);
    if (it != brushes->end())
        return it->second;
    auto brush = std::make_unique<GdiObject>();
    brush->kind = GdiObject::Kind::Brush;
    brush->stock = true;
    brush->colour = system_colour(index);
    HBRUSH handle = reinterpret_cast<HBRUSH>(next_handle_value());
    object_table()[reinterpret_cast<std::uintptr_t>(handle)] = std::move(brush);
    (*brushes)[index] = handle;
    return handle;
}

COLORREF SetBkColor(HDC dc_handle, COLORREF colour)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return CLR_INVALID;
    COLORREF old = dc->background;
    dc->background = colour;
    return old;
}

COLORREF GetBkColor(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    return dc ? dc->background : CLR_INVALID;
}

DWORD GetLayout(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    return dc ? dc->layout : GDI_ERROR;
}

DWORD SetLayout(HDC dc_handle, DWORD layout)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return GDI_ERROR;
    DWORD previous = dc->layout;
    dc->layout = layout;
    return previous;
}

COLORREF SetTextColor(HDC dc_handle, COLORREF colour)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return CLR_INVALID;
    COLORREF old = dc->text_colour;
    dc->text_colour = colour;
    return old;
}

COLORREF GetTextColor(HDC dc_handle)
{
    DeviceContext *dc = find_dc(dc_handle);
    return dc ? dc->text_colour : CLR_INVALID;
}

COLORREF SetPixel(HDC dc_handle, int x, int y, COLORREF colour)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return CLR_INVALID;
    Target target = target_of(*dc);
    int dx = x + dc->origin.x, dy = y + dc->origin.y;
    if (!point_drawable(*dc, target, dx, dy))
        return CLR_INVALID;
    *target.at(dx, dy) = pixel_of(colour);
    return colour & 0x00FFFFFF;
}

COLORREF GetPixel(HDC dc_handle, int x, int y)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return CLR_INVALID;
    Target target = target_of(*dc);
    int dx = x + dc->origin.x, dy = y + dc->origin.y;
    if (!point_drawable(*dc, target, dx, dy))
        return CLR_INVALID;
    return colour_of(*target.at(dx, dy));
}

int FillRect(HDC dc_handle, RECT const *rect, HBRUSH brush)
{
    DeviceContext *dc = find_dc(dc_handle);
    COLORREF colour;
    if (!dc || !rect || !brush_colour(brush, &colour))
        return 0;
    if (colour == CLR_INVALID)
        return 1;
    std::uint32_t pixel = pixel_of(colour);
    return for_each_pixel(*dc, *rect, [pixel](std::uint32_t &p, int, int) { p = pixel; }) ? 1 : 0;
}

int FrameRect(HDC dc_handle, RECT const *rect, HBRUSH brush)
{
    if (!rect || IsRectEmpty(rect))
        return rect ? 1 : 0;
    RECT const edges[] = {{rect->left, rect->top, rect->right, rect->top + 1},
                          {rect->left, rect->bottom - 1, rect->right, rect->bottom},
                          {rect->left, rect->top + 1, rect->left + 1, rect->bottom - 1},
                          {rect->right - 1, rect->top + 1, rect->right, rect->bottom - 1}};
    int result = 1;
    for (RECT const &edge : edges)
        if (!IsRectEmpty(&edge))
            result &= FillRect(dc_handle, &edge, brush);
    return result;
}

BOOL DrawFocusRect(HDC dc_handle, RECT const *rect)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || !rect)
        return FALSE;
    if (IsRectEmpty(rect))
        return TRUE;
    // The dotted outline: pixels whose device x + y is even, each edge pixel once.
    auto invert = [](std::uint32_t &p, int x, int y) {
        if (((x + y) & 1) == 0)
            p ^= 0x00FFFFFF;
    };
    RECT const edges[] = {{rect->left, rect->top, rect->right, rect->top + 1},
                          {rect->left, rect->bottom - 1, rect->right, rect->bottom},
                          {rect->left, rect->top + 1, rect->left + 1, rect->bottom - 1},
                          {rect->right - 1, rect->top + 1, rect->right, rect->bottom - 1}};
    for (int i = 0; i < 4; ++i) {
        RECT const &edge = edges[i];
        if (IsRectEmpty(&edge) || (i == 1 && rect->bottom - 1 == rect->top) ||
            (i == 3 && rect->right - 1 == rect->left))
            continue;
        for_each_pixel(*dc, edge, invert);
    }
    return TRUE;
}

BOOL PatBlt(HDC dc_handle, int x, int y, int width, int height, DWORD rop)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return FALSE;
    RECT rect{x, y, x + width, y + height};
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    COLORREF colour = 0;
    brush_colour(dc->brush, &colour);
    std::uint32_t pattern = pixel_of(colour);
    switch (rop) {
    case PATCOPY:
        return for_each_pixel(*dc, rect, [pattern](std::uint32_t &p, int, int) { p = pattern; });
    case PATINVERT:
        return for_each_pixel(*dc, rect, [pattern](std::uint32_t &p, int, int) { p ^= pattern; });
    case DSTINVERT:
        return for_each_pixel(*dc, rect, [](std::uint32_t &p, int, int) { p ^= 0x00FFFFFF; });
    case BLACKNESS:
        return for_each_pixel(*dc, rect, [](std::uint32_t &p, int, int) { p = 0; });
    case WHITENESS:
        return for_each_pixel(*dc, rect, [](std::uint32_t &p, int, int) { p = 0x00FFFFFF; });
    default:
        set_last_error(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL BitBlt(HDC dest_handle, int x, int y, int width, int height, HDC source_handle, int source_x,
            int source_y, DWORD rop)
{
    if (rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS)
        return PatBlt(dest_handle, x, y, width, height, rop);
    DeviceContext *dest = find_dc(dest_handle);
    DeviceContext *source = find_dc(source_handle);
    if (!dest || !source || width < 0 || height < 0)
        return FALSE;
    Target from = target_of(*source);
    if (!from.pixels)
        return source->kind == DeviceContext::Kind::Screen;
    // Copy the source block first so overlapping transfers within one surface
    // read the pixels as they were before the call.
    std::vector<std::uint32_t> block(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::vector<bool> present(block.size(), false);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            int sx = source_x + i + source->origin.x, sy = source_y + j + source->origin.y;
            if (!PtInRect(&from.area, POINT{sx, sy}))
                continue;
            std::size_t index = static_cast<std::size_t>(j) * width + i;
            block[index] = *from.at(sx, sy);
            present[index] = true;
        }
    int dest_x = x + dest->origin.x, dest_y = y + dest->origin.y;
    auto apply = [&](std::uint32_t &p, int dx, int dy) {
        std::size_t index = static_cast<std::size_t>(dy - dest_y) * width + (dx - dest_x);
        if (!present[index])
            return;
        std::uint32_t s = block[index];
        switch (rop) {
        case SRCCOPY:
            p = s;
            break;
        case SRCPAINT:
            p |= s;
            break;
        case SRCAND:
            p &= s;
            break;
        case SRCINVERT:
            p ^= s;
            break;
        case NOTSRCCOPY:
            p = ~s & 0x00FFFFFF;
            break;
        default:
            break;
        }
    };
    if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND && rop != SRCINVERT && rop != NOTSRCCOPY) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return for_each_pixel(*dest, RECT{x, y, x + width, y + height}, apply);
}

BOOL ExtTextOutA(HDC dc_handle, int, int, UINT options, RECT const *rect, LPCSTR, UINT, INT const *)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return FALSE;
    if ((options & ETO_OPAQUE) && rect) {
        // The rectangle is normalised first: the framework's solid fills pass
        // negative extents for the right and bottom edges of 3D frames.
        CRect area(*rect);
        area.NormalizeRect();
        std::uint32_t pixel = pixel_of(dc->background);
        for_each_pixel(*dc, area, [pixel](std::uint32_t &p, int, int) { p = pixel; });
    }
    return TRUE;
}

int ExcludeClipRect(HDC dc_handle, int left, int top, int right, int bottom)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return ERROR_REGION;
    start_clipping(*dc);
    RECT cut{left + dc->origin.x, top + dc->origin.y, right + dc->origin.x, bottom + dc->origin.y};
    std::vector<RECT> kept;
    for (RECT const &r : dc->clip) {
        RECT overlap;
        if (!IntersectRect(&overlap, &r, &cut)) {
            kept.push_back(r);
            continue;
        }
        // What remains of r around the cut: bands above and below, pieces left and right.
        RECT const pieces[] = {{r.left, r.top, r.right, overlap.top},
                               {r.left, overlap.bottom, r.right, r.bottom},
                               {r.left, overlap.top, overlap.left, overlap.bottom},
                               {overlap.right, overlap.top, r.right, overlap.bottom}};
        for (RECT const &piece : pieces)
            if (!IsRectEmpty(&piece))
                kept.push_back(piece);
    }
    dc->clip = std::move(kept);
    return region_kind(*dc);
}

int IntersectClipRect(HDC dc_handle, int left, int top, int right, int bottom)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc)
        return ERROR_REGION;
    start_clipping(*dc);
    RECT keep{left + dc->origin.x, top + dc->origin.y, right + dc->origin.x, bottom + dc->origin.y};
    std::vector<RECT> kept;
    for (RECT const &r : dc->clip) {
        RECT overlap;
        if (IntersectRect(&overlap, &r, &keep))
            kept.push_back(overlap);
    }
    dc->clip = std::move(kept);
    return region_kind(*dc);
}

int SelectClipRgn(HDC dc_handle, HRGN region)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || region)
        return ERROR_REGION;
    dc->clipped = false;
    dc->clip.clear();
    return SIMPLEREGION;
}

int GetClipBox(HDC dc_handle, RECT *rect)
{
    DeviceContext *dc = find_dc(dc_handle);
    if (!dc || !rect)
        return ERROR_REGION;
    Target target = target_of(*dc);
    RECT box{};
    if (!dc->clipped)
        box = target.area;
    else
        for (RECT const &r : dc->clip)
            UnionRect(&box, &box, &r);
    OffsetRect(&box, -dc->origin.x, -dc->origin.y);
    *rect = box;
    return region_kind(*dc);
}
