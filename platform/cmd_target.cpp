// Message-map lookups and command routing.
#include <tessiv/platform/cmd_target.h>

#include <cstddef>
#include <cstdint>

namespace {

// Maps are static and never change, so a lookup's result can be kept for
// the life of the thread: a direct-mapped cache keyed by map and message.
struct CacheSlot {
    AFX_MSGMAP const *map;
    UINT message;
    AFX_MSGMAP_ENTRY const *entry;
};
constexpr std::size_t kCacheSlots = 512;
thread_local CacheSlot lookup_cache[kCacheSlots];

AFX_MSGMAP const *base_of(AFX_MSGMAP const *map)
{
    return map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
}

}  // namespace

AFX_MSGMAP_ENTRY const *AfxFindMessageEntry(AFX_MSGMAP const *map, UINT message)
{
    if (!map || message == WM_COMMAND)
        return nullptr;
    auto key = reinterpret_cast<std::uintptr_t>(map);
    CacheSlot &slot = lookup_cache[((key >> 4) ^ (key >> 13) ^ message) % kCacheSlots];
    if (slot.map == map && slot.message == message)
        return slot.entry;
    AFX_MSGMAP_ENTRY const *found = nullptr;
    for (AFX_MSGMAP const *level = map; level && !found; level = base_of(level))
        for (AFX_MSGMAP_ENTRY const *entry = level->lpEntries; entry->pfnDispatch; ++entry)
            if (entry->nMessage == message) {
                found = entry;
                break;
            }
    slot = CacheSlot{map, message, found};
    return found;
}

AFX_MSGMAP_ENTRY const *AfxFindCommandEntry(AFX_MSGMAP const *map, UINT id, UINT code)
{
    for (AFX_MSGMAP const *level = map; level; level = base_of(level))
        for (AFX_MSGMAP_ENTRY const *entry = level->lpEntries; entry->pfnDispatch; ++entry)
            if (entry->nMessage == WM_COMMAND && entry->nCode == code && entry->nID <= id && id <= entry->nLastID)
                return entry;
    return nullptr;
}

CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", static_cast<int>(sizeof(CCmdTarget)), 0xFFFF,
                                             nullptr, &CCmdTarget::_GetBaseClass};
CRuntimeClass *CCmdTarget::_GetBaseClass() { return RUNTIME_CLASS(CObject); }
CRuntimeClass *CCmdTarget::GetThisClass() { return &classCCmdTarget; }
CRuntimeClass *CCmdTarget::GetRuntimeClass() const { return &classCCmdTarget; }

AFX_MSGMAP const *CCmdTarget::GetThisMessageMap()
{
    static AFX_MSGMAP_ENTRY const entries[] = {{0, 0, 0, 0, nullptr}};
    static AFX_MSGMAP const message_map = {nullptr, &entries[0]};
    return &message_map;
}

AFX_MSGMAP const *CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void *, void *)
{
    AFX_MSGMAP_ENTRY const *entry = AfxFindCommandEntry(GetMessageMap(), nID, static_cast<UINT>(nCode));
    if (!entry)
        return FALSE;
    entry->pfnDispatch(this, nID, 0);
    return TRUE;
}
