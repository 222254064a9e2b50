// Private to libtessiv_platform: the per-thread maps from handles to the
// framework objects that wrap them. A permanent object is one the program
// made and attached; a temporary one is made by FromHandle for a handle
// without a permanent object and lives until the map's temporaries are
// dropped (idle processing, or DeleteTempMap).
#pragma once

#include <memory>
#include <unordered_map>

namespace tessiv_platform {

template <class Handle, class Object>
struct HandleMap {
    std::unordered_map<Handle, Object *> permanent;
    std::unordered_map<Handle, std::unique_ptr<Object>> temporary;

    Object *find_permanent(Handle handle) const
    {
        auto it = permanent.find(handle);
        return it == permanent.end() ? nullptr : it->second;
    }
    // False when the handle already has a permanent object.
    bool add_permanent(Handle handle, Object *object) { return permanent.emplace(handle, object).second; }
    // Forgets the handle's permanent object when it is this one.
    void remove_permanent(Handle handle, Object const *object)
    {
        auto it = permanent.find(handle);
        if (it != permanent.end() && it->second == object)
            permanent.erase(it);
    }
    // The permanent object, else the temporary one, made by make(handle)
    // when there is none yet.
    template <class Make>
    Object *find_or_make(Handle handle, Make make)
    {
        if (Object *object = find_permanent(handle))
            return object;
        auto &slot = temporary[handle];
        if (!slot)
            slot = make(handle);
        return slot.get();
    }
    // release(object) takes the handle out of each temporary before it is
    // deleted, so no temporary frees what it only wraps.
    template <class Release>
    void drop_temporaries(Release release)
    {
        auto doomed = std::move(temporary);
        temporary.clear();
        for (auto &[handle, object] : doomed)
            release(*object);
    }
};

}  // namespace tessiv_platform
