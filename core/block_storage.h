// kolt::block_storage: raw storage for the blocks of kolt::cvector, the one
// place where the library decides how its large blocks are backed.
//
// Every large block the library makes (image pixels, memory-stream bytes,
// the record arrays of a mesh, scaler output) is a cvector block, and
// cvector is header-only in core/, below every library; so the helper lives
// here too. It needs nothing but the standard library and the C library's
// madvise, and degrades to plain operator new where either is missing.
//
// A block of at least one huge page is aligned to the huge-page size and
// advised as such, so filling it takes one page fault per 2 MiB instead of
// one per 4 KiB. Where the kernel has transparent huge pages off, the advice
// is refused at no cost and the alignment costs only address space. Nothing
// here is cached in a static: a function-local static in an inline function
// becomes a unique symbol, which keeps every library that uses the array
// from ever being unloaded. The storage still comes from the global
// operator new, so a host that replaces it (or counts through it) sees
// every block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#if defined(__linux__) && __has_include(<sys/mman.h>)
#include <sys/mman.h>
#define TESSIV_BLOCK_STORAGE_MADVISE 1
#endif

namespace kolt::block_storage {

// The transparent huge page size of x86-64 and of arm64 with 4 KiB pages.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// The alignment a block of the given size and element alignment is made with.
inline std::size_t BlockAlignment(std::size_t bytes, std::size_t alignment)
{
    if (bytes >= kHugePageBytes && alignment < kHugePageBytes)
        return kHugePageBytes;
    return alignment;
}

// Uninitialised storage for bytes bytes aligned to alignment; throws
// std::bad_alloc when there is none. Free it with Free and the same
// arguments.
inline void *Allocate(std::size_t bytes, std::size_t alignment)
{
    std::size_t const block_alignment = BlockAlignment(bytes, alignment);
    if (block_alignment <= __STDCPP_DEFAULT_NEW_ALIGNMENT__)
        return ::operator new(bytes);
    void *block = ::operator new(bytes, std::align_val_t{block_alignment});
#ifdef TESSIV_BLOCK_STORAGE_MADVISE
    if (block_alignment == kHugePageBytes) {
        // Only whole huge pages are advised; the tail stays in small pages.
        // Advice the kernel refuses costs nothing, so the result is ignored.
        std::size_t const whole_pages = bytes - bytes % kHugePageBytes;
        ::madvise(block, whole_pages, MADV_HUGEPAGE);
    }
#endif
    return block;
}

inline void Free(void *block, std::size_t bytes, std::size_t alignment) noexcept
{
    std::size_t const block_alignment = BlockAlignment(bytes, alignment);
    if (block_alignment <= __STDCPP_DEFAULT_NEW_ALIGNMENT__)
        ::operator delete(block);
    else
        ::operator delete(block, std::align_val_t{block_alignment});
}

}  // namespace kolt::block_storage
