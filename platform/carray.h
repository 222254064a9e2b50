// CArray: the framework's growable array of values, as far as the system
// uses it (the effect bitmap passes its processor chain in one). Elements
// are copied by value; the storage is a std::vector.
#pragma once

#include <tessiv/platform/windef.h>

#include <cstddef>
#include <vector>

// A growable array indexed by INT_PTR. ARG_TYPE is the type elements are
// passed in as, kept for the framework's spelling. GetAt and operator[] do
// not check the index, as in the framework's release build.
template <class TYPE, class ARG_TYPE = TYPE const &>
class CArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return items_.empty(); }

    // Grows with default-constructed elements or shrinks to new_size; a
    // negative size empties the array.
    void SetSize(INT_PTR new_size)
    {
        items_.resize(new_size < 0 ? 0 : static_cast<std::size_t>(new_size));
    }
    void RemoveAll() { items_.clear(); }

    TYPE const &GetAt(INT_PTR i) const { return items_[static_cast<std::size_t>(i)]; }
    TYPE &ElementAt(INT_PTR i) { return items_[static_cast<std::size_t>(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE value) { items_[static_cast<std::size_t>(i)] = value; }
    TYPE &operator[](INT_PTR i) { return items_[static_cast<std::size_t>(i)]; }
    TYPE const &operator[](INT_PTR i) const { return items_[static_cast<std::size_t>(i)]; }
    TYPE *GetData() { return items_.data(); }
    TYPE const *GetData() const { return items_.data(); }

    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE value)
    {
        items_.push_back(value);
        return GetSize() - 1;
    }
    // Sets element i, growing the array first when i lies beyond its end.
    void SetAtGrow(INT_PTR i, ARG_TYPE value)
    {
        if (i < 0)
            return;
        if (i >= GetSize())
            SetSize(i + 1);
        items_[static_cast<std::size_t>(i)] = value;
    }
    // Inserts count copies at index i (appending when i is past the end).
    void InsertAt(INT_PTR i, ARG_TYPE value, INT_PTR count = 1)
    {
        if (i < 0 || count <= 0)
            return;
        if (i > GetSize())
            SetSize(i);
        items_.insert(items_.begin() + i, static_cast<std::size_t>(count), value);
    }
    // Removes up to count elements from index i; out-of-range parts are ignored.
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count <= 0 || i >= GetSize())
            return;
        INT_PTR end = i + count > GetSize() ? GetSize() : i + count;
        items_.erase(items_.begin() + i, items_.begin() + end);
    }
    void Copy(CArray const &other) { items_ = other.items_; }
    INT_PTR Append(CArray const &other)
    {
        INT_PTR first = GetSize();
        items_.insert(items_.end(), other.items_.begin(), other.items_.end());
        return first;
    }

private:
    std::vector<TYPE> items_;
};
