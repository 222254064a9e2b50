// Module handles over the dynamic loader: file names of the executable and
// of loaded shared libraries, loading and unloading, symbol look-up.
#include <tessiv/platform/win_objects.h>
#include <tessiv/platform/winbase.h>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <unistd.h>

namespace {

std::string executable_path()
{
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
}

HMODULE executable_handle()
{
    static HMODULE handle = reinterpret_cast<HMODULE>(dlopen(nullptr, RTLD_LAZY));
    return handle;
}

}  // namespace

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path;
    if (!module || module == executable_handle()) {
        path = executable_path();
    } else {
        link_map *map = nullptr;
        if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            buffer[0] = '\0';
            return 0;
        }
        path = map->l_name[0] ? map->l_name : executable_path();
    }
    DWORD length = static_cast<DWORD>(path.size());
    if (length >= size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.c_str(), length + 1);
    SetLastError(ERROR_SUCCESS);
    return length;
}

HMODULE GetModuleHandleA(LPCSTR name)
{
    if (!name)
        return executable_handle();
    void *handle = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Module handles are not counted references: drop the one NOLOAD added.
    dlclose(handle);
    return reinterpret_cast<HMODULE>(handle);
}

HMODULE LoadLibraryA(LPCSTR file_name)
{
    void *handle = file_name ? dlopen(file_name, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!handle)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return reinterpret_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module)
{
    if (!module || module == executable_handle())
        return FALSE;
    link_map *map = nullptr;
    std::string name = dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name ? map->l_name : "";
    if (dlclose(module) != 0)
        return FALSE;
    // The resources found in it go with the library, not with one reference.
    if (void *still_loaded = name.empty() ? nullptr : dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD))
        dlclose(still_loaded);
    else
        tessiv_platform::forget_module_resources(module);
    return TRUE;
}

void *GetProcAddress(HMODULE module, LPCSTR name)
{
    void *symbol = module && name ? dlsym(module, name) : nullptr;
    if (!symbol)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return symbol;
}

HMODULE TessivModuleFromAddress(void const *address)
{
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return nullptr;
    std::string self = executable_path();
    if (!info.dli_fname[0] || info.dli_fname == self)
        return executable_handle();
    return GetModuleHandleA(info.dli_fname);
}
