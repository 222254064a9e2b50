// Image lists over the GDI layer: images are kept as 0x00RRGGBB pixels with
// one transparency byte each, and drawn with the two block transfers of a
// masked blit (mask ANDed in, image ORed over it) from cached strip bitmaps.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/image_list.h>
#include <tessiv/platform/win_objects.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace {

// The same ceiling as for bitmaps: a list is refused beyond it.
constexpr long long kMaxListPixels = 1LL << 26;

struct ImageList {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    int count = 0;
    COLORREF background = CLR_NONE;
    // Image i occupies cx × cy pixels from i × cx × cy, rows top-down;
    // transparent pixels are stored black.
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> transparent;
    // The strip bitmaps the draws blit from, made again after each change.
    HBITMAP image_strip = nullptr;
    HBITMAP mask_strip = nullptr;

    bool masked() const { return (flags & ILC_MASK) != 0; }
    std::size_t image_size() const { return static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy); }
    void drop_strips()
    {
        if (image_strip)
            DeleteObject(image_strip);
        if (mask_strip)
            DeleteObject(mask_strip);
        image_strip = mask_strip = nullptr;
    }
    ~ImageList() { drop_strips(); }
};

std::map<std::uintptr_t, std::unique_ptr<ImageList>> &list_table()
{
    static auto *table = new std::map<std::uintptr_t, std::unique_ptr<ImageList>>;
    return *table;
}

ImageList *find_list(HIMAGELIST handle)
{
    auto it = list_table().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == list_table().end() ? nullptr : it->second.get();
}

std::uint32_t pixel_of(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

tessiv_platform::GdiObject *find_bitmap(HBITMAP handle)
{
    tessiv_platform::GdiObject *object = tessiv_platform::find_gdi(handle);
    return object && object->kind == tessiv_platform::GdiObject::Kind::Bitmap ? object : nullptr;
}

// Appends the whole cx-wide images of the bitmap; is_transparent(x, y) says
// which of its pixels the mask takes out. Returns the first new index or -1.
template <class TransparentTest>
int add_images(ImageList &list, tessiv_platform::GdiObject const &bitmap, TransparentTest is_transparent)
{
    int const added = bitmap.width / list.cx;  // a narrower remainder is dropped
    if (added <= 0)
        return -1;
    if ((static_cast<long long>(list.count) + added) * list.cx * list.cy > kMaxListPixels)
        return -1;
    int const rows = std::min(bitmap.height, list.cy);
    std::size_t const first = static_cast<std::size_t>(list.count) * list.image_size();
    std::size_t const total = first + static_cast<std::size_t>(added) * list.image_size();
    list.pixels.resize(total, 0);
    // Rows below a shorter bitmap are transparent in a masked list.
    list.transparent.resize(total, list.masked() ? 1 : 0);
    for (int i = 0; i < added; ++i) {
        std::size_t const base = first + static_cast<std::size_t>(i) * list.image_size();
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < list.cx; ++x) {
                int const sx = i * list.cx + x;
                std::size_t const at = base + static_cast<std::size_t>(y) * list.cx + x;
                std::uint32_t const pixel =
                    bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + sx] & 0x00FFFFFF;
                bool const clear = list.masked() && is_transparent(sx, y);
                list.pixels[at] = clear ? 0 : pixel;
                list.transparent[at] = clear ? 1 : 0;
            }
    }
    int const index = list.count;
    list.count += added;
    list.drop_strips();
    return index;
}

// Lays the images side by side in two bitmaps: the image with transparent
// pixels black, and the mask white where transparent and black elsewhere.
bool make_strips(ImageList &list)
{
    if (list.image_strip)
        return true;
    int const width = list.cx * list.count;
    std::vector<std::uint32_t> image(static_cast<std::size_t>(width) * list.cy);
    std::vector<std::uint32_t> mask(image.size());
    for (int i = 0; i < list.count; ++i)
        for (int y = 0; y < list.cy; ++y)
            for (int x = 0; x < list.cx; ++x) {
                std::size_t const from = static_cast<std::size_t>(i) * list.image_size() +
                                         static_cast<std::size_t>(y) * list.cx + x;
                std::size_t const to = static_cast<std::size_t>(y) * width + i * list.cx + x;
                image[to] = list.pixels[from];
                mask[to] = list.transparent[from] ? 0x00FFFFFF : 0;
            }
    list.image_strip = CreateBitmap(width, list.cy, 1, 32, image.data());
    list.mask_strip = CreateBitmap(width, list.cy, 1, 32, mask.data());
    if (!list.image_strip || !list.mask_strip) {
        list.drop_strips();
        return false;
    }
    return true;
}

// One block transfer from a strip bitmap through a temporary memory DC.
bool blit(HDC dest, int x, int y, int width, int height, HBITMAP strip, int source_x, DWORD rop)
{
    HDC memory = CreateCompatibleDC(dest);
    if (!memory)
        return false;
    HGDIOBJ previous = SelectObject(memory, strip);
    BOOL const done = BitBlt(dest, x, y, width, height, memory, source_x, 0, rop);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return done != FALSE;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (cx <= 0 || cy <= 0 || initial < 0 || grow < 0 || static_cast<long long>(cx) * cy > kMaxListPixels)
        return nullptr;
    auto list = std::make_unique<ImageList>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    // The initial count is only a hint; storage grows with the images added.
    auto handle = reinterpret_cast<HIMAGELIST>(tessiv_platform::next_handle_value());
    list_table()[reinterpret_cast<std::uintptr_t>(handle)] = std::move(list);
    return handle;
}

BOOL ImageList_Destroy(HIMAGELIST handle)
{
    return list_table().erase(reinterpret_cast<std::uintptr_t>(handle)) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST handle)
{
    ImageList const *list = find_list(handle);
    return list ? list->count : -1;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int *cx, int *cy)
{
    ImageList const *list = find_list(handle);
    if (!list || !cx || !cy)
        return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF colour)
{
    ImageList *list = find_list(handle);
    if (!list)
        return CLR_NONE;
    COLORREF const previous = list->background;
    list->background = colour;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle)
{
    ImageList const *list = find_list(handle);
    return list ? list->background : CLR_NONE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask)
{
    ImageList *list = find_list(handle);
    tessiv_platform::GdiObject const *bitmap = find_bitmap(image);
    if (!list || !bitmap)
        return -1;
    tessiv_platform::GdiObject const *mask_bitmap = find_bitmap(mask);
    // A set (non-black) mask pixel is transparent; outside the mask nothing is.
    return add_images(*list, *bitmap, [mask_bitmap](int x, int y) {
        if (!mask_bitmap || x >= mask_bitmap->width || y >= mask_bitmap->height)
            return false;
        return (mask_bitmap->pixels[static_cast<std::size_t>(y) * mask_bitmap->width + x] & 0x00FFFFFF) != 0;
    });
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF mask)
{
    ImageList *list = find_list(handle);
    tessiv_platform::GdiObject *bitmap = find_bitmap(image);
    if (!list || !bitmap)
        return -1;
    std::uint32_t const key = pixel_of(mask);
    int const index = add_images(*list, *bitmap, [&](int x, int y) {
        return (bitmap->pixels[static_cast<std::size_t>(y) * bitmap->width + x] & 0x00FFFFFF) == key;
    });
    // As on Win32, the mask-coloured pixels of the source turn black.
    if (index >= 0 && list->masked())
        for (std::uint32_t &pixel : bitmap->pixels)
            if ((pixel & 0x00FFFFFF) == key)
                pixel = 0;
    return index;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index)
{
    ImageList *list = find_list(handle);
    if (!list || index < -1 || index >= list->count)
        return FALSE;
    if (index == -1) {
        list->pixels.clear();
        list->transparent.clear();
        list->count = 0;
    } else {
        auto const from = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(index) * list->image_size());
        auto const to = from + static_cast<std::ptrdiff_t>(list->image_size());
        list->pixels.erase(list->pixels.begin() + from, list->pixels.begin() + to);
        list->transparent.erase(list->transparent.begin() + from, list->transparent.begin() + to);
        --list->count;
    }
    list->drop_strips();
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC dc, int x, int y, UINT style)
{
    ImageList *list = find_list(handle);
    if (!list || index < 0 || index >= list->count || !make_strips(*list))
        return FALSE;
    int const source_x = index * list->cx;
    if (style & ILD_MASK)
        return blit(dc, x, y, list->cx, list->cy, list->mask_strip, source_x, SRCCOPY);
    bool const transparent =
        list->masked() && ((style & ILD_TRANSPARENT) || list->background == CLR_NONE);
    if (transparent)
        return blit(dc, x, y, list->cx, list->cy, list->mask_strip, source_x, SRCAND) &&
               blit(dc, x, y, list->cx, list->cy, list->image_strip, source_x, SRCPAINT);
    if (list->masked()) {
        // A background colour fills the transparent pixels under ILD_NORMAL.
        HBRUSH brush = CreateSolidBrush(list->background);
        RECT area{x, y, x + list->cx, y + list->cy};
        bool const done = brush && FillRect(dc, &area, brush) &&
                          blit(dc, x, y, list->cx, list->cy, list->mask_strip, source_x, SRCAND) &&
                          blit(dc, x, y, list->cx, list->cy, list->image_strip, source_x, SRCPAINT);
        if (brush)
            DeleteObject(brush);
        return done;
    }
    return blit(dc, x, y, list->cx, list->cy, list->image_strip, source_x, SRCCOPY);
}

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (m_hImageList)
        return FALSE;
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (m_hImageList || !find_list(hImageList))
        return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST handle = m_hImageList;
    m_hImageList = nullptr;
    return handle;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

int CImageList::Add(CBitmap *pbmImage, CBitmap *pbmMask)
{
    if (!pbmImage)
        return -1;
    return ImageList_Add(m_hImageList, static_cast<HBITMAP>(pbmImage->m_hObject),
                         pbmMask ? static_cast<HBITMAP>(pbmMask->m_hObject) : nullptr);
}

int CImageList::Add(CBitmap *pbmImage, COLORREF crMask)
{
    if (!pbmImage)
        return -1;
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(pbmImage->m_hObject), crMask);
}

BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }

COLORREF CImageList::SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }

BOOL CImageList::Draw(CDC *pDC, int nImage, POINT pt, UINT nStyle)
{
    if (!pDC)
        return FALSE;
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}
