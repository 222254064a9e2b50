// kolt::TNode: a node of the scene tree. It places a geometric object with
// its transform (base, local, global and inverse global matrices), carries
// the position, scaling and rotation key-frame controllers, a material and a
// visibility flag.
//
// Matrices follow the row-vector convention of MatX4 (p' = p * M): a point in
// the node's frame maps to its parent's frame by the local matrix and to the
// world by the global matrix, global = local * parent's global.
#pragma once

#include <cstdint>

#include <tessiv/core/matrix.h>
#include <tessiv/core/point.h>
#include <tessiv/scene/controller.h>
#include <tessiv/scene/geom_entity.h>
#include <tessiv/scene/named.h>
#include <tessiv/scene/tree.h>

namespace kolt {

// A named tree node with a transform. Owns its children (Tree), its
// controllers and matrices by value; the object it places is borrowed from
// the scene's object list. A copy shares the children and the object and has
// its own matrices and keys (see tree.h for how a copy avoids deleting what
// it does not own).
class TNode : public Tree, public Named {
public:
    // Identity matrices, no keys, no object, material 0, visible.
    TNode();
    TNode(TNode const &other) = default;
    TNode &operator=(TNode const &other) = default;
    ~TNode() override;

    // A new default TNode appended to this node's children.
    Tree *NewChild() override;

    // Resets the node to its default state: deletes the children it owns,
    // empties the controllers, forgets the object, resets the name, the
    // matrices (all identity), the material and the visibility. The parent
    // link is kept.
    void Clear();

    MatX4 &GetBaseMatrix() { return base_; }
    MatX4 const &GetBaseMatrix() const { return base_; }
    MatX4 &GetLocalMatrix() { return local_; }
    MatX4 const &GetLocalMatrix() const { return local_; }
    MatX4 &GetGlobalMatrix() { return global_; }
    MatX4 const &GetGlobalMatrix() const { return global_; }
    MatX4 &GetInvGlobalMatrix() { return inv_global_; }
    MatX4 const &GetInvGlobalMatrix() const { return inv_global_; }

    // The local matrix becomes the identity; the subtree is brought up to date.
    void SetIdentity()
    {
        local_.SetIdentity();
        CalcChild();
    }

    // Brings the global and inverse global matrices of the whole subtree up
    // to date, parents before children.
    void CalcChild() { Recursion(0); }

    // Turns the node by angle (radians, counter-clockwise looking down the
    // axis, as glRotated) about the axis through the node's origin. With the
    // node itself as frame the axis is in the node's own frame; with a null
    // frame it is in the parent's frame; any other node's frame is
    // converted through the world. The node's position is kept. A zero axis
    // turns nothing.
    void Rotate(TNode *frame, Pnt3 const &axis, double angle);

    // Moves the node by delta, taken in the frame chosen as for Rotate.
    void Translate(TNode *frame, Pnt3 const &delta);

    // p mapped by the global matrix, without a division by w.
    Pnt3 Transform(Pnt3 const &p) const { return Apply(global_, p); }
    // p mapped by the inverse global matrix, without a division by w.
    Pnt3 InverseTransform(Pnt3 const &p) const { return Apply(inv_global_, p); }

    PosController &GetPositionController() { return position_; }
    // The const accessor's name lacks an "n"; hosts call it by this name.
    PosController const &GetPositioController() const { return position_; }
    SclController &GetScalingController() { return scaling_; }
    SclController const &GetScalingController() const { return scaling_; }
    RotController &GetRotationController() { return rotation_; }
    RotController const &GetRotationController() const { return rotation_; }

    CGeomEntity *GetObject() const { return object_; }
    void SetObject(CGeomEntity *object) { object_ = object; }
    unsigned int GetMaterialID() const { return material_id_; }
    void SetMaterialID(unsigned int id) { material_id_ = id; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

protected:
    // Global = local * parent's global (local alone without a TNode
    // parent); the inverse is recomputed from the new global matrix.
    void OnRecursion(int) override;

    // Sets the link only; the parent's child list is not changed.
    void SetParent(TNode *p) { SetParentLink(p); }

private:
    static Pnt3 Apply(MatX4 const &m, Pnt3 const &p)
    {
        return Pnt3(m.m[0] * p.x + m.m[4] * p.y + m.m[8] * p.z + m.m[12],
                    m.m[1] * p.x + m.m[5] * p.y + m.m[9] * p.z + m.m[13],
                    m.m[2] * p.x + m.m[6] * p.y + m.m[10] * p.z + m.m[14]);
    }

    // The direction d of frame's coordinates in this node's parent frame.
    Pnt3 DirectionInParent(TNode const *frame, Pnt3 const &d) const;

    MatX4 base_, local_, global_, inv_global_;
    PosController position_;
    SclController scaling_;
    RotController rotation_;
    CGeomEntity *object_ = nullptr;

protected:
    // Free for a deriving class (no accessor here); copied with the node.
    std::uint32_t tag_ = 0;

private:
    unsigned int material_id_ = 0;
    bool visible_ = true;
};

}  // namespace kolt
