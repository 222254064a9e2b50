// kolt::Tree: a node that owns its children, the skeleton of the scene tree.
//
// Children are kept in insertion order and deleted with their parent,
// children first in index order (pre-order for the whole subtree).
#pragma once

#include <vector>

#include <tessiv/scene/pointer_list.h>

namespace kolt {

// A tree node: a parent link and an owned list of children. A copy names
// the same parent and the same children without owning them (the list marks
// them borrowed, see pointer_list.h): destroying, clearing or deleting
// through a copy only forgets the borrowed children, and the parent's list
// does not gain the copy. Children added to a copy later are its own.
class Tree {
public:
    Tree() = default;
    Tree(Tree const &other) = default;
    Tree &operator=(Tree const &other) = default;
    virtual ~Tree() { ClearChildren(); }

    // A new child of the concrete node type, appended to this node's list.
    virtual Tree *NewChild() = 0;

    Tree *GetParent() const { return parent_; }
    int GetChildCount() const { return static_cast<int>(children_.size()); }
    // Unchecked: i must be below the child count.
    Tree *GetChild(int i) const { return children_[static_cast<unsigned int>(i)]; }
    // The first slot holding child, or the child count when it is not a child.
    int GetChildIndex(Tree const *child) const { return static_cast<int>(children_.IndexOf(child)); }

    void ClearChildren() { children_.Clear(); }
    // i must be below the child count; siblings keep their parent links.
    void DeleteChild(int i) { children_.Delete(static_cast<unsigned int>(i)); }
    // child must be a child of this node.
    void DeleteChild(Tree *child) { DeleteChild(GetChildIndex(child)); }

    // Moves this node to the end of p's list; p must not be null. A copy
    // names its source's parent without being in its list: nothing is
    // removed there for it.
    void ChangeParent(Tree *p)
    {
        if (parent_) {
            unsigned int const slot = parent_->children_.IndexOf(this);
            if (slot < parent_->children_.size())
                parent_->children_.Remove(slot);
        }
        parent_ = p;
        p->children_.Append(this);
    }

    // OnRecursion(n) on this node and its whole subtree, in pre-order
    // (depth first, children in index order). Iterative, so a deep chain
    // cannot exhaust the call stack.
    void Recursion(int n)
    {
        std::vector<Tree *> pending{this};
        while (!pending.empty()) {
            Tree *node = pending.back();
            pending.pop_back();
            node->OnRecursion(n);
            for (unsigned int i = node->children_.size(); i-- > 0;) {
                if (node->children_[i])
                    pending.push_back(node->children_[i]);
            }
        }
    }

protected:
    virtual void OnRecursion(int) {}

    // Sets the link only; the lists of the old and new parent are unchanged.
    void SetParentLink(Tree *p) { parent_ = p; }

    Tree *parent_ = nullptr;
    PointerList<Tree> children_;
};

}  // namespace kolt
