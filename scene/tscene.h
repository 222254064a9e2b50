// kolt::TScene: the root of a scene. It is the root node of the node tree
// and owns the scene's geometric objects, node properties and textures,
// which the rest of the system refers to by their index in these lists.
#pragma once

#include <cstdint>
#include <new>

#include <tessiv/core/cvector.h>
#include <tessiv/scene/geom_entity.h>
#include <tessiv/scene/node_property.h>
#include <tessiv/scene/pointer_list.h>
#include <tessiv/scene/texture.h>
#include <tessiv/scene/tnode.h>

namespace kolt {

// The scene: a TNode plus three owned pointer lists and four lists of 32-bit
// records. Indices are handles: every delete closes its gap, so each later
// element's index drops by one. A copy shares the children, objects,
// properties and textures of its source without owning them (the lists mark
// them borrowed, see pointer_list.h), so either may be destroyed first; the
// 32-bit lists are copied.
class TScene : public TNode {
public:
    TScene() = default;
    TScene(TScene const &other) = default;
    TScene &operator=(TScene const &other) = default;
    ~TScene() override
    {
        TNode::Clear();
        ClearTexture();
        ClearObject();
        ClearProperty();
        ClearInfo();
    }

    TNode *GetRootNode() { return this; }

    // The scene takes ownership; returns the new index.
    int AddObject(CGeomEntity *object) { return static_cast<int>(objects_.Append(object)); }
    unsigned int GetObjectCount() const { return objects_.size(); }
    // Unchecked: i must be below the object count.
    CGeomEntity *GetObject(unsigned int i) const { return objects_[i]; }
    void ClearObject() { objects_.Clear(); }
    void DeleteObject(unsigned int i) { objects_.Delete(i); }

    int AddProperty(NodeProperty *property) { return static_cast<int>(properties_.Append(property)); }
    unsigned int GetPropertyCount() const { return properties_.size(); }
    NodeProperty *GetProperty(unsigned int i) const { return properties_[i]; }
    void ClearProperty() { properties_.Clear(); }
    void DeleteProperty(unsigned int i) { properties_.Delete(i); }

    // A new default texture, appended; returns its index. When no memory
    // is left a null slot is appended instead.
    unsigned int CreateTexture() { return textures_.Append(new (std::nothrow) Texture()); }
    unsigned int GetTextureCount() const { return textures_.size(); }
    // Checked, unlike the other accessors: null when i is out of range.
    Texture *GetTexture(unsigned int i) const { return i < textures_.size() ? textures_[i] : nullptr; }
    void ClearTexture() { textures_.Clear(); }
    void DeleteTexture(unsigned int i) { textures_.Delete(i); }

    // Resets the node part, then deletes the textures, objects and
    // properties; the four 32-bit lists are left as they are.
    void Clear()
    {
        TNode::Clear();
        ClearTexture();
        ClearObject();
        ClearProperty();
    }

    // The four lists of 32-bit records kept with the scene for the host
    // (which = 0 to 3, unchecked); ClearInfo empties them.
    cvector<std::uint32_t> &GetInfo(int which) { return info_[which]; }
    cvector<std::uint32_t> const &GetInfo(int which) const { return info_[which]; }
    void ClearInfo();

private:
    PointerList<CGeomEntity> objects_;
    PointerList<NodeProperty> properties_;
    PointerList<Texture> textures_;
    cvector<std::uint32_t> info_[4];
};

}  // namespace kolt
