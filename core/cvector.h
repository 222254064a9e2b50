// kolt::cvector<T>: the growable array in which every record keeps its
// sequences (mesh elements, curve points, key frames, pixels, hit lists).
//
// It is deliberately not std::vector:
//  - storage is one block made by array new, so every slot of a class type is
//    default-constructed when the block is made and destroyed when it is freed;
//  - elements move by plain assignment, one at a time;
//  - growth goes to 2 slots, then doubles from the size at the moment of growth;
//  - stale slots are kept: resize() and resetsize() neither construct nor reset
//    elements, so growing within the capacity exposes earlier contents;
//  - assigning an empty array releases the storage; assigning a non-empty one
//    never reduces the capacity.
// Element access is unchecked (callers keep indices below size()); a build
// with TESSIV_CHECKED asserts the bounds. Blocks come from block_storage.h,
// which backs large ones with huge pages; the slots are constructed and
// destroyed exactly as array new and array delete would.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

#include <tessiv/core/block_storage.h>
#include <tessiv/core/checked.h>

namespace kolt {

template <class T>
class cvector {
public:
    cvector() = default;
    cvector(cvector const &other) { *this = other; }
    ~cvector() { clear(); }

    cvector &operator=(cvector const &other)
    {
        if (other.size_ == 0) {
            clear();
            return *this;
        }
        if (capacity_ < other.size_)
            reserve(other.size_);
        size_ = other.size_;
        for (unsigned int i = 0; i < size_; ++i)
            data_[i] = other.data_[i];
        return *this;
    }

    // Frees the block; the array is empty with no storage.
    void clear()
    {
        FreeBlock(data_, capacity_);
        data_ = nullptr;
        size_ = 0;
        capacity_ = 0;
    }

    // Forgets the elements but keeps the block and its slots.
    void resetsize() { size_ = 0; }

    unsigned int size() const { return size_; }
    unsigned int capacity() const { return capacity_; }

    // Grows the block to exactly n slots when n exceeds the capacity.
    void reserve(unsigned int n)
    {
        if (n <= capacity_)
            return;
        T *block = AllocateBlock(n);
        try {
            for (unsigned int i = 0; i < size_; ++i)
                block[i] = data_[i];
        } catch (...) {
            FreeBlock(block, n);
            throw;
        }
        FreeBlock(data_, capacity_);
        data_ = block;
        capacity_ = n;
    }

    // Sets the size; slots between the old and new size keep what they held.
    void resize(unsigned int n)
    {
        if (capacity_ < n)
            reserve(n);
        size_ = n;
    }

    // Grows before it reads v, so v must not be an element of this array.
    void push_back(T const &v)
    {
        unsigned int const n = size_;
        if (capacity_ <= n)
            Grow(GrownCapacity());
        data_[n] = v;
        size_ = n + 1;
    }

    // Shifts the following elements down by assignment; the last slot keeps
    // its old value.
    void erase(T *position)
    {
        if (size_ == 0)
            return;
        TESSIV_ASSERT_BOUNDS(position >= data_ && position < data_ + size_);
        T *last = data_ + size_ - 1;
        for (T *slot = position; slot < last; ++slot)
            *slot = *(slot + 1);
        --size_;
    }

    T &operator[](int i)
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && static_cast<unsigned int>(i) < size_);
        return data_[i];
    }
    T const &operator[](int i) const
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && static_cast<unsigned int>(i) < size_);
        return data_[i];
    }
    T &at(unsigned int i)
    {
        TESSIV_ASSERT_BOUNDS(i < size_);
        return data_[i];
    }
    T const &at(unsigned int i) const
    {
        TESSIV_ASSERT_BOUNDS(i < size_);
        return data_[i];
    }

    T *begin() { return data_; }
    T *end() { return data_ + size_; }
    T const *begin() const { return data_; }
    T const *end() const { return data_ + size_; }

    T &back()
    {
        TESSIV_ASSERT_BOUNDS(size_ > 0);
        return data_[size_ - 1];
    }
    T const &back() const
    {
        TESSIV_ASSERT_BOUNDS(size_ > 0);
        return data_[size_ - 1];
    }

private:
    // The original platform computed the block's byte size in 32 bits and
    // passed an overflowing request on as the largest unsigned value, which
    // array new refuses; a request past 4 GiB fails the same way here.
    static T *AllocateBlock(std::uint64_t n)
    {
        if (n > UINT32_MAX || n * sizeof(T) > UINT32_MAX)
            throw std::bad_alloc();
        std::size_t const count = static_cast<std::size_t>(n);
        T *block = static_cast<T *>(block_storage::Allocate(count * sizeof(T), alignof(T)));
        // Default-initialised as by array new: plain types stay uninitialised;
        // a throwing constructor undoes the slots made so far, last first.
        std::size_t made = 0;
        try {
            for (; made < count; ++made)
                ::new (static_cast<void *>(block + made)) T;
        } catch (...) {
            DestroySlots(block, made);
            block_storage::Free(block, count * sizeof(T), alignof(T));
            throw;
        }
        return block;
    }

    // Destroys every slot, last first as array delete does, and frees the block.
    static void FreeBlock(T *block, unsigned int capacity) noexcept
    {
        if (block == nullptr)
            return;
        DestroySlots(block, capacity);
        block_storage::Free(block, std::size_t{capacity} * sizeof(T), alignof(T));
    }

    static void DestroySlots(T *block, std::size_t count) noexcept
    {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            while (count > 0)
                block[--count].~T();
        }
    }

    std::uint64_t GrownCapacity() const
    {
        return size_ == 0 ? 2 : std::uint64_t{2} * size_;
    }

    void Grow(std::uint64_t n)
    {
        if (n > UINT32_MAX)
            throw std::bad_alloc();
        reserve(static_cast<unsigned int>(n));
    }

    T *data_ = nullptr;
    unsigned int size_ = 0;
    unsigned int capacity_ = 0;
};

}  // namespace kolt
