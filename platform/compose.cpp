// Composing a window and its visible descendants into one picture.
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_objects.h>

#include "backend/display.h"

#include <algorithm>

namespace tessiv_platform {
namespace {

// The same cap as a window's GDI surface.
constexpr long long kMaxComposedPixels = 1LL << 26;

struct Canvas {
    int width;
    int height;
    std::vector<std::uint32_t> &pixels;
};

RECT intersect(RECT a, RECT b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

// Copies width x height source pixels (0x00RRGGBB or 0xAARRGGBB) with their
// top-left at origin, inside clip, made opaque.
void paint(Canvas &canvas, POINT origin, int width, int height, std::uint32_t const *source, RECT clip)
{
    RECT area = intersect(clip, RECT{origin.x, origin.y, origin.x + width, origin.y + height});
    for (LONG y = area.top; y < area.bottom; ++y) {
        std::uint32_t const *from = source + static_cast<std::size_t>(y - origin.y) * width + (area.left - origin.x);
        std::uint32_t *to = &canvas.pixels[static_cast<std::size_t>(y) * canvas.width + area.left];
        for (LONG x = area.left; x < area.right; ++x)
            *to++ = *from++ | 0xFF000000u;
    }
}

// origin: the window's top-left in canvas coordinates; clip: what its
// parent lets it cover, in canvas coordinates.
void compose(Canvas &canvas, Window &window, POINT origin, RECT clip)
{
    int width = static_cast<int>(window.rect.right - window.rect.left);
    int height = static_cast<int>(window.rect.bottom - window.rect.top);
    RECT own = intersect(clip, RECT{origin.x, origin.y, origin.x + width, origin.y + height});
    if (own.right <= own.left || own.bottom <= own.top)
        return;
    fit_surface(window);
    if (window.surface_width == width && window.surface_height == height && !window.surface.empty())
        paint(canvas, origin, width, height, window.surface.data(), own);
    RECT inner = client_rect_in_window(window);
    POINT client_origin{origin.x + inner.left, origin.y + inner.top};
    RECT client_clip = intersect(own, RECT{client_origin.x, client_origin.y, origin.x + inner.right,
                                           origin.y + inner.bottom});
    if (window.drawable) {
        TessivFrontBuffer front;
        if (backend::read_front_buffer(window, &front) && !front.pixels.empty() &&
            front.pixels.size() == static_cast<std::size_t>(front.width) * static_cast<std::size_t>(front.height))
            paint(canvas, client_origin, front.width, front.height, front.pixels.data(), client_clip);
    }
    // Children are kept topmost first: paint from the bottom up.
    std::vector<HWND> children = window.children;
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        Window *object = find_window(*child);
        if (!object || !(object->style & WS_VISIBLE))
            continue;
        compose(canvas, *object, POINT{client_origin.x + object->rect.left, client_origin.y + object->rect.top},
                client_clip);
    }
}

}  // namespace
}  // namespace tessiv_platform

BOOL TessivComposeWindow(HWND handle, TessivFrontBuffer *out)
{
    using namespace tessiv_platform;
    Window *window = find_window(handle);
    if (!window || !out)
        return FALSE;
    long long width = window->rect.right - window->rect.left;
    long long height = window->rect.bottom - window->rect.top;
    if (width <= 0 || height <= 0 || width * height > kMaxComposedPixels)
        return FALSE;
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->pixels.assign(static_cast<std::size_t>(width * height), 0xFF000000u);
    Canvas canvas{out->width, out->height, out->pixels};
    compose(canvas, *window, POINT{0, 0}, RECT{0, 0, out->width, out->height});
    return TRUE;
}
