// Out-of-line members of the scene node: construction, reset, the
// transform operations and the per-node step of CalcChild.
#include <tessiv/scene/tnode.h>

#include <cmath>
#include <limits>

namespace kolt {

namespace {

// d * m for a direction: the 3x3 block only, no translation.
Pnt3 MapDirection(MatX4 const &m, Pnt3 const &d)
{
    return Pnt3(d.x * m.m[0] + d.y * m.m[4] + d.z * m.m[8],
                d.x * m.m[1] + d.y * m.m[5] + d.z * m.m[9],
                d.x * m.m[2] + d.y * m.m[6] + d.z * m.m[10]);
}

}  // namespace

TNode::TNode()
{
    base_.SetIdentity();
    local_.SetIdentity();
    global_.SetIdentity();
    inv_global_.SetIdentity();
}

TNode::~TNode() = default;

Tree *TNode::NewChild()
{
    auto *child = new TNode;
    child->ChangeParent(this);
    return child;
}

void TNode::Clear()
{
    ClearChildren();
    position_.ClearKey();
    scaling_.ClearKey();
    rotation_.ClearKey();
    object_ = nullptr;
    tag_ = 0;
    SetName("");
    base_.SetIdentity();
    local_.SetIdentity();
    material_id_ = 0;
    visible_ = true;
    OnRecursion(0);
}

Pnt3 TNode::DirectionInParent(TNode const *frame, Pnt3 const &d) const
{
    if (!frame)
        return d;
    Pnt3 const world = MapDirection(frame->global_, d);
    auto const *parent = dynamic_cast<TNode const *>(GetParent());
    return parent ? MapDirection(parent->inv_global_, world) : world;
}

void TNode::Rotate(TNode *frame, Pnt3 const &axis, double angle)
{
    // In the node's own frame the axis needs no conversion: the turn comes
    // before the local matrix (R * local). Otherwise it comes after the
    // local matrix's 3x3 block, with the position kept.
    Pnt3 const direction = frame == this ? axis : DirectionInParent(frame, axis);
    double const length = direction.Magnitude();
    if (length > 0 && std::isfinite(length)) {
        MatX4 turn;
        // SetRotate turns clockwise under p * M; the opposite angle turns
        // counter-clockwise, as SetRotateX/Y/Z and glRotated do.
        turn.SetRotate(Pnt3(direction.x / length, direction.y / length, direction.z / length), -angle);
        if (frame == this) {
            local_ = turn * local_;
        } else {
            double const tx = local_.m[12], ty = local_.m[13], tz = local_.m[14];
            local_ = local_ * turn;
            local_.m[12] = tx;
            local_.m[13] = ty;
            local_.m[14] = tz;
        }
    }
    CalcChild();
}

void TNode::Translate(TNode *frame, Pnt3 const &delta)
{
    Pnt3 const d = frame == this ? MapDirection(local_, delta) : DirectionInParent(frame, delta);
    local_.m[12] += d.x;
    local_.m[13] += d.y;
    local_.m[14] += d.z;
    CalcChild();
}

void TNode::OnRecursion(int)
{
    auto const *parent = dynamic_cast<TNode const *>(GetParent());
    global_ = parent ? local_ * parent->global_ : local_;
    // The inverse is recomputed from the global matrix every time rather
    // than accumulated, so rounding does not build up under many turns.
    inv_global_ = global_;
    if (inv_global_.InvertFast())
        return;
    inv_global_ = global_;
    if (!inv_global_.Invert()) {
        // A singular matrix has no inverse: the affine path above leaves
        // non-finite elements, and the general one is marked NaN alike.
        for (double &e : inv_global_.m)
            e = std::numeric_limits<double>::quiet_NaN();
    }
}

}  // namespace kolt
