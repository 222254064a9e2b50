// Resources of resource libraries: the exported table is found with the
// dynamic loader, checked against its exported size before anything in it
// is followed, and turned into cursors, menus, bitmaps and strings.
#include <tessiv/platform/headless.h>
#include <tessiv/platform/resource_format.h>
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

using namespace tessiv_resource;

namespace {

struct Table {
    unsigned char const *bytes = nullptr;
    std::size_t size = 0;
};

struct Resource {
    HMODULE module = nullptr;
    unsigned char const *data = nullptr;
    std::size_t size = 0;
};

using ResourceKey = std::tuple<HMODULE, std::uint16_t, std::uint16_t>;  // module, type, id

std::mutex resource_mutex;
std::map<std::uintptr_t, Resource> &resources()
{
    static auto *table = new std::map<std::uintptr_t, Resource>;
    return *table;
}
std::map<ResourceKey, std::uintptr_t> &resource_handles()
{
    static auto *table = new std::map<ResourceKey, std::uintptr_t>;
    return *table;
}
std::map<std::uintptr_t, std::vector<TessivCursorImage>> &cursors()
{
    static auto *table = new std::map<std::uintptr_t, std::vector<TessivCursorImage>>;
    return *table;
}
std::map<std::pair<HMODULE, std::uint16_t>, HCURSOR> &shared_cursors()
{
    static auto *table = new std::map<std::pair<HMODULE, std::uint16_t>, HCURSOR>;
    return *table;
}

void report(char const *operation, std::string const &text)
{
    TessivReportDiagnostic(operation, text.c_str());
}

link_map *main_link_map()
{
    static link_map *map = [] {
        link_map *found = nullptr;
        void *self = dlopen(nullptr, RTLD_LAZY);
        if (!self || dlinfo(self, RTLD_DI_LINKMAP, &found) != 0)
            return static_cast<link_map *>(nullptr);
        return found;
    }();
    return map;
}

// The loaded object a module handle names, found by walking the loader's
// list, so a stale or made-up handle is refused instead of followed.
link_map *module_link_map(HMODULE module)
{
    link_map *first = main_link_map();
    if (!module)
        return first;
    if (module == GetModuleHandleA(nullptr))
        return first;
    for (link_map *map = first; map; map = map->l_next)
        if (reinterpret_cast<void *>(map) == reinterpret_cast<void *>(module))
            return map;
    return nullptr;
}

std::string module_name(link_map const *map)
{
    return map && map->l_name && map->l_name[0] ? map->l_name : "the executable";
}

// The module's own resource table after checking its header and every entry
// against the exported size. A quiet look-up reports damage but not absence:
// searching a chain of modules misses in most of them.
std::optional<Table> find_table(HMODULE module, char const *operation, bool quiet = false)
{
    link_map *map = module_link_map(module);
    if (!map) {
        report(operation, "module handle is not a loaded library");
        SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    void *handle = reinterpret_cast<void *>(map);
    void *bytes = dlsym(handle, kTableSymbol);
    void *size = dlsym(handle, kTableSizeSymbol);
    // dlsym also searches the library's dependencies: the table counts only
    // when it lies in the library itself.
    link_map *bytes_owner = nullptr;
    link_map *size_owner = nullptr;
    Dl_info info{};
    if (bytes)
        dladdr1(bytes, &info, reinterpret_cast<void **>(&bytes_owner), RTLD_DL_LINKMAP);
    if (size)
        dladdr1(size, &info, reinterpret_cast<void **>(&size_owner), RTLD_DL_LINKMAP);
    if (!bytes || !size || bytes_owner != map || size_owner != map) {
        if (!quiet)
            report(operation, module_name(map) + ": no resource table");
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    Table table{static_cast<unsigned char const *>(bytes), *static_cast<unsigned int const *>(size)};
    if (table.size < kHeaderSize || std::memcmp(table.bytes, kMagic, sizeof kMagic) != 0) {
        report(operation, module_name(map) + ": resource table has no valid header");
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    std::uint32_t count = read_u32(table.bytes + 8);
    if (count > (table.size - kHeaderSize) / kEntrySize) {
        report(operation, module_name(map) + ": resource table lists " + std::to_string(count) +
                              " entries but holds " + std::to_string(table.size) + " bytes");
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    for (std::uint32_t index = 0; index < count; ++index) {
        unsigned char const *entry = table.bytes + kHeaderSize + index * kEntrySize;
        std::uint64_t end = std::uint64_t{read_u32(entry + 4)} + read_u32(entry + 8);
        if (end > table.size) {
            report(operation, module_name(map) + ": resource table entry " + std::to_string(index) +
                                  " ends at byte " + std::to_string(end) + " beyond the table's " +
                                  std::to_string(table.size) + " bytes");
            SetLastError(ERROR_FILE_NOT_FOUND);
            return std::nullopt;
        }
    }
    return table;
}

std::optional<std::uint16_t> resource_number(LPCSTR name)
{
    if (!name || !IS_INTRESOURCE(name))
        return std::nullopt;
    return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(name));
}

std::optional<Resource> find_resource(HMODULE module, std::uint16_t type, std::uint16_t id,
                                      char const *operation, bool quiet = false)
{
    std::optional<Table> table = find_table(module, operation, quiet);
    if (!table)
        return std::nullopt;
    std::uint32_t count = read_u32(table->bytes + 8);
    for (std::uint32_t index = 0; index < count; ++index) {
        unsigned char const *entry = table->bytes + kHeaderSize + index * kEntrySize;
        if (read_u16(entry) == type && read_u16(entry + 2) == id)
            return Resource{module, table->bytes + read_u32(entry + 4), read_u32(entry + 8)};
    }
    if (!quiet)
        report(operation, module_name(module_link_map(module)) + ": no resource " + std::to_string(id) +
                              " of type " + std::to_string(type));
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

std::optional<Resource> find_resource(HMODULE module, LPCSTR name, std::uint16_t type,
                                      char const *operation, bool quiet = false)
{
    std::optional<std::uint16_t> id = resource_number(name);
    if (!id) {
        report(operation, "resource names must be numbers");
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    return find_resource(module, type, *id, operation, quiet);
}

std::uint16_t type_number(LPCSTR type) { return resource_number(type).value_or(0); }

// One RT_CURSOR image, or nullopt when its data is shorter than its header
// says.
std::optional<TessivCursorImage> decode_cursor_image(Resource const &resource)
{
    if (resource.size < kCursorHeaderSize)
        return std::nullopt;
    unsigned char const *data = resource.data;
    unsigned width = read_u16(data);
    unsigned height = read_u16(data + 2);
    unsigned bits = read_u16(data + 4);
    unsigned palette_size = read_u16(data + 10);
    if (width == 0 || height == 0 || width > kMaxCursorSide || height > kMaxCursorSide ||
        (bits != 1 && bits != 8) || palette_size > 256 || (bits == 1 && palette_size != 0))
        return std::nullopt;
    std::size_t mask_stride = (width + 7) / 8;
    std::size_t plane = bits == 8 ? std::size_t{width} * height : mask_stride * height;
    std::size_t needed = kCursorHeaderSize + std::size_t{palette_size} * 4 + plane + mask_stride * height;
    if (resource.size < needed)
        return std::nullopt;
    unsigned char const *palette = data + kCursorHeaderSize;
    unsigned char const *colours = palette + std::size_t{palette_size} * 4;
    unsigned char const *mask = colours + plane;
    TessivCursorImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.bits_per_pixel = static_cast<int>(bits);
    image.hot_spot = POINT{read_u16(data + 6), read_u16(data + 8)};
    image.pixels.resize(std::size_t{width} * height);
    auto bit = [mask_stride](unsigned char const *rows, unsigned x, unsigned y) {
        return (rows[y * mask_stride + x / 8] >> (7 - x % 8)) & 1;
    };
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            bool clear = bit(mask, x, y);
            std::uint32_t pixel;
            if (bits == 8) {
                unsigned index = colours[std::size_t{y} * width + x];
                // An index past the palette draws black rather than reading on.
                unsigned char const *entry = index < palette_size ? palette + index * 4 : nullptr;
                pixel = entry ? (std::uint32_t{entry[2]} << 16) | (std::uint32_t{entry[1]} << 8) | entry[0]
                              : 0;
                pixel |= clear ? 0u : 0xFF000000u;
            } else {
                bool white = bit(colours, x, y);
                pixel = (white ? 0x00FFFFFFu : 0u) | (clear ? 0u : 0xFF000000u);
            }
            image.pixels[std::size_t{y} * width + x] = pixel;
        }
    }
    return image;
}

std::optional<std::vector<TessivCursorImage>> decode_cursor_group(HMODULE module, Resource const &group)
{
    if (group.size < 2)
        return std::nullopt;
    unsigned count = read_u16(group.data);
    if (count == 0 || group.size < 2 + std::size_t{count} * kGroupImageSize)
        return std::nullopt;
    std::vector<TessivCursorImage> images;
    for (unsigned index = 0; index < count; ++index) {
        unsigned char const *listed = group.data + 2 + index * kGroupImageSize;
        std::optional<Resource> data =
            find_resource(module, 1, read_u16(listed + 10), "LoadCursorA");
        if (!data)
            return std::nullopt;
        std::optional<TessivCursorImage> image = decode_cursor_image(*data);
        if (!image || image->width != read_u16(listed) || image->height != read_u16(listed + 2) ||
            image->bits_per_pixel != read_u16(listed + 4))
            return std::nullopt;
        images.push_back(std::move(*image));
    }
    return images;
}

// Appends the item list at data[*offset] to menu; false on a malformed list.
bool build_menu(HMENU menu, unsigned char const *data, std::size_t size, std::size_t *offset, unsigned depth)
{
    if (depth > kMaxMenuDepth)
        return false;
    constexpr UINT kKnownFlags = MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | kMenuEnd;
    for (;;) {
        if (size - *offset < 6)
            return false;
        unsigned char const *item = data + *offset;
        UINT flags = read_u16(item);
        UINT id = read_u16(item + 2);
        std::size_t text_length = read_u16(item + 4);
        if ((flags & ~kKnownFlags) || size - *offset - 6 < text_length)
            return false;
        std::string text(reinterpret_cast<char const *>(item + 6), text_length);
        *offset += 6 + text_length;
        UINT append_flags = flags & ~kMenuEnd;
        if (flags & MF_POPUP) {
            HMENU submenu = CreatePopupMenu();
            if (!build_menu(submenu, data, size, offset, depth + 1) ||
                !AppendMenuA(menu, append_flags, reinterpret_cast<UINT_PTR>(submenu), text.c_str())) {
                DestroyMenu(submenu);
                return false;
            }
        } else if (!AppendMenuA(menu, append_flags, id, (flags & MF_SEPARATOR) ? nullptr : text.c_str())) {
            return false;
        }
        if (flags & kMenuEnd)
            return true;
    }
}

}  // namespace

namespace tessiv_platform {

// Drops what was found in a module that is being released: its resource
// data goes away with it.
void forget_module_resources(HMODULE module)
{
    std::lock_guard<std::mutex> lock(resource_mutex);
    for (auto it = resource_handles().begin(); it != resource_handles().end();) {
        if (std::get<0>(it->first) == module) {
            resources().erase(it->second);
            it = resource_handles().erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = shared_cursors().begin(); it != shared_cursors().end();) {
        if (it->first.first == module) {
            cursors().erase(reinterpret_cast<std::uintptr_t>(it->second));
            it = shared_cursors().erase(it);
        } else {
            ++it;
        }
    }
}

HCURSOR load_resource_cursor(HINSTANCE instance, LPCSTR name)
{
    std::optional<std::uint16_t> id = resource_number(name);
    if (id) {
        std::lock_guard<std::mutex> lock(resource_mutex);
        auto it = shared_cursors().find({instance, *id});
        if (it != shared_cursors().end())
            return it->second;
    }
    std::optional<Resource> group = find_resource(instance, name, 12, "LoadCursorA");
    if (!group)
        return nullptr;
    std::optional<std::vector<TessivCursorImage>> images = decode_cursor_group(instance, *group);
    if (!images) {
        report("LoadCursorA", module_name(module_link_map(instance)) + ": cursor " + std::to_string(*id) +
                                  " is malformed");
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto handle = reinterpret_cast<HCURSOR>(next_handle_value());
    std::lock_guard<std::mutex> lock(resource_mutex);
    cursors()[reinterpret_cast<std::uintptr_t>(handle)] = std::move(*images);
    shared_cursors()[{instance, *id}] = handle;
    return handle;
}

}  // namespace tessiv_platform

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type)
{
    std::optional<Resource> found = find_resource(module, name, type_number(type), "FindResourceA", true);
    if (!found)
        return nullptr;
    ResourceKey key{module, type_number(type), *resource_number(name)};
    std::lock_guard<std::mutex> lock(resource_mutex);
    std::uintptr_t &handle = resource_handles()[key];
    if (!handle)
        handle = tessiv_platform::next_handle_value();
    resources()[handle] = *found;
    return reinterpret_cast<HRSRC>(handle);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource)
{
    std::lock_guard<std::mutex> lock(resource_mutex);
    auto it = resources().find(reinterpret_cast<std::uintptr_t>(resource));
    if (it == resources().end() || it->second.module != module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<unsigned char *>(it->second.data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE module, HRSRC resource)
{
    std::lock_guard<std::mutex> lock(resource_mutex);
    auto it = resources().find(reinterpret_cast<std::uintptr_t>(resource));
    if (it == resources().end() || it->second.module != module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(it->second.size);
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

BOOL TessivIsResourceLibrary(HMODULE module)
{
    return find_table(module, "TessivIsResourceLibrary", true).has_value();
}

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name)
{
    std::optional<Resource> found = find_resource(instance, name, 4, "LoadMenuA");
    if (!found)
        return nullptr;
    HMENU menu = CreateMenu();
    std::size_t offset = 0;
    if (!build_menu(menu, found->data, found->size, &offset, 0)) {
        DestroyMenu(menu);
        report("LoadMenuA", module_name(module_link_map(instance)) + ": menu " +
                                std::to_string(*resource_number(name)) + " is malformed at byte " +
                                std::to_string(offset));
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return menu;
}

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size)
{
    if (!buffer || size <= 0 || id > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = '\0';
    std::optional<Resource> found = find_resource(instance, 6, static_cast<std::uint16_t>(id), "LoadStringA");
    if (!found)
        return 0;
    std::size_t length = std::min(found->size, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, found->data, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    std::optional<Resource> found = find_resource(instance, name, 2, "LoadBitmapA");
    if (!found)
        return nullptr;
    auto malformed = [&](char const *cause) -> HBITMAP {
        report("LoadBitmapA", module_name(module_link_map(instance)) + ": bitmap " +
                                  std::to_string(*resource_number(name)) + " " + cause);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    };
    if (found->size < sizeof(BITMAPINFOHEADER))
        return malformed("is shorter than its header");
    BITMAPINFOHEADER header;
    std::memcpy(&header, found->data, sizeof header);
    if (header.biSize < sizeof header || header.biSize > found->size || header.biPlanes != 1 ||
        header.biBitCount != 24 || header.biCompression != BI_RGB)
        return malformed("is not an uncompressed 24-bit DIB");
    long long width = header.biWidth;
    long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return malformed("has an impossible size");
    std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if ((found->size - header.biSize) / stride < static_cast<std::size_t>(height))
        return malformed("has fewer rows than its header says");
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    unsigned char const *rows = found->data + header.biSize;
    for (long long y = 0; y < height; ++y) {
        // Rows are stored bottom up unless the height is negative.
        long long source_row = header.biHeight < 0 ? y : height - 1 - y;
        unsigned char const *row = rows + static_cast<std::size_t>(source_row) * stride;
        for (long long x = 0; x < width; ++x) {
            unsigned char const *pixel = row + x * 3;
            pixels[static_cast<std::size_t>(y * width + x)] =
                (std::uint32_t{pixel[2]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[0];
        }
    }
    return CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, 32, pixels.data());
}

BOOL TessivGetCursorImages(HCURSOR cursor, std::vector<TessivCursorImage> *images)
{
    std::lock_guard<std::mutex> lock(resource_mutex);
    auto it = cursors().find(reinterpret_cast<std::uintptr_t>(cursor));
    if (it == cursors().end() || !images)
        return FALSE;
    *images = it->second;
    return TRUE;
}
