// kolt::PointerList<T>: the list of owned pointers behind a tree node's
// children and a scene's objects, properties and textures.
//
// Copies of trees and scenes share their elements, and only one of them may
// delete a shared element. The list settles this per slot: every slot
// carries an owned mark. Appending marks the slot owned; a copy takes the
// pointers with every mark cleared, so a copy is a view that deletes nothing
// it borrowed (whichever of the two is destroyed first, and without reading
// the borrowed elements, which may already be gone). Assignment first deletes
// the elements the target owned, except those that the new list names again:
// those stay owned, so assigning a copy back to its source ("restore a
// snapshot") neither deletes nor leaks the children.
#pragma once

#include <unordered_set>

#include <tessiv/core/cvector.h>

namespace kolt {

// Owns the elements in its owned slots and deletes them through their
// (virtual) destructor; borrowed slots are only forgotten. The pointer
// array grows as cvector::push_back does (2, then doubling).
template <class T>
class PointerList {
public:
    PointerList() = default;
    PointerList(PointerList const &other) : items_(other.items_) { owned_.resize(items_.size()); Disown(); }
    PointerList &operator=(PointerList const &other)
    {
        if (this == &other)
            return *this;
        std::unordered_set<T *> named_by_other(other.items_.begin(), other.items_.end());
        std::unordered_set<T *> kept;
        for (unsigned int i = 0; i < items_.size(); ++i) {
            T *element = items_[i];
            if (!owned_[i] || !element)
                continue;
            if (named_by_other.count(element))
                kept.insert(element);
            else
                delete element;
        }
        items_ = other.items_;
        owned_.resize(items_.size());
        // A kept element is owned through its first slot only, so it is
        // deleted once even when the list names it twice.
        for (unsigned int i = 0; i < items_.size(); ++i)
            owned_[i] = kept.erase(items_[i]) != 0;
        return *this;
    }
    ~PointerList() { Clear(); }

    unsigned int size() const { return items_.size(); }
    unsigned int capacity() const { return items_.capacity(); }
    // Unchecked: i must be below size().
    T *operator[](unsigned int i) const { return items_.at(i); }
    bool Owns(unsigned int i) const { return owned_.at(i); }

    // The first slot holding element, or size() when there is none.
    unsigned int IndexOf(T const *element) const
    {
        unsigned int i = 0;
        while (i < items_.size() && items_.at(i) != element)
            ++i;
        return i;
    }

    // Appends an owned element; returns its index.
    unsigned int Append(T *element)
    {
        items_.push_back(element);
        owned_.push_back(true);
        return items_.size() - 1;
    }

    // Removes slot i without deleting its element; later slots move down.
    void Remove(unsigned int i)
    {
        items_.erase(items_.begin() + i);
        owned_.erase(owned_.begin() + i);
    }

    // Deletes element i when this list owns it, then removes the slot.
    void Delete(unsigned int i)
    {
        if (owned_.at(i))
            delete items_.at(i);
        Remove(i);
    }

    // Deletes the owned elements in index order, then frees the storage.
    void Clear()
    {
        for (unsigned int i = 0; i < items_.size(); ++i) {
            if (owned_[i])
                delete items_[i];
        }
        Forget();
    }

    // Frees the storage without deleting any element.
    void Forget()
    {
        items_.clear();
        owned_.clear();
    }

private:
    void Disown()
    {
        for (unsigned int i = 0; i < owned_.size(); ++i)
            owned_[i] = false;
    }

    cvector<T *> items_;
    cvector<bool> owned_;
};

}  // namespace kolt
