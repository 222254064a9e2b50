#include <tessiv/scene/tnode.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using kolt::MatX4;
using kolt::Pnt3;
using kolt::TNode;

namespace {

constexpr double kPi = std::numbers::pi;

void ExpectMatrixNear(MatX4 const &actual, MatX4 const &expected, char const *what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], 1e-12) << what << ", element " << i;
}

void ExpectPointNear(Pnt3 const &actual, Pnt3 const &expected)
{
    EXPECT_LT((actual - expected).GetLength(), 1e-12) << actual.x << ", " << actual.y << ", " << actual.z;
}

MatX4 Translation(double x, double y, double z) { MatX4 m; m.SetTranslate(Pnt3(x, y, z)); return m; }
MatX4 RotX(double a) { MatX4 m; m.SetRotateX(a); return m; }
MatX4 RotY(double a) { MatX4 m; m.SetRotateY(a); return m; }
MatX4 RotZ(double a) { MatX4 m; m.SetRotateZ(a); return m; }
MatX4 Identity() { MatX4 m; m.SetIdentity(); return m; }

TEST(TNodeTest, SetIdentityResetsTheMatricesAndTransformsReadTheirOwnWhichStayExact)
{
    TNode node;
    node.GetLocalMatrix() = RotX(0.3) * Translation(1, 2, 3);
    node.SetIdentity();
    ExpectMatrixNear(node.GetLocalMatrix(), Identity(), "local");
    ExpectMatrixNear(node.GetGlobalMatrix(), Identity(), "global");
    ExpectMatrixNear(node.GetInvGlobalMatrix(), Identity(), "inverse global");

    node.GetGlobalMatrix() = Translation(1, 2, 3);
    node.GetGlobalMatrix().m[3] = 5;  // no division by w
    node.GetInvGlobalMatrix() = Translation(10, 20, 30);
    ExpectPointNear(node.Transform(Pnt3(0, 0, 0)), Pnt3(1, 2, 3));
    ExpectPointNear(node.InverseTransform(Pnt3(0, 0, 0)), Pnt3(10, 20, 30));

    MatX4 m = RotY(0.3) * Translation(1, 2, 3);
    m.m[3] = 0.5;  // not affine: the fast inverse refuses it
    node.GetLocalMatrix() = m;
    node.CalcChild();
    ExpectMatrixNear(node.GetGlobalMatrix() * node.GetInvGlobalMatrix(), Identity(), "projective inverse");
}

TEST(TNodeTest, RotationsTurnCounterClockwiseAboutOwnAndParentAxes)
{
    TNode node;
    node.SetIdentity();
    node.Rotate(nullptr, Pnt3(0, 0, 1), kPi / 2);
    ExpectPointNear(node.Transform(Pnt3(1, 0, 0)), Pnt3(0, 1, 0));

    // A turned and moved node: own-frame turns come before the local matrix,
    // parent-frame turns after its 3x3 block, the position staying put.
    MatX4 const start = RotZ(0.4) * Translation(5, -2, 7);
    node.GetLocalMatrix() = start;
    node.Rotate(&node, Pnt3(0, 2, 0), 0.7);  // the axis need not be unit length
    MatX4 const own = RotY(0.7) * start;
    ExpectMatrixNear(node.GetLocalMatrix(), own, "own y axis");

    node.Rotate(nullptr, Pnt3(1, 0, 0), -0.25);
    MatX4 const parent = RotY(0.7) * RotZ(0.4) * RotX(-0.25) * Translation(5, -2, 7);
    ExpectMatrixNear(node.GetLocalMatrix(), parent, "parent x axis");
    ExpectMatrixNear(node.GetGlobalMatrix(), parent, "a root's global is its local");
    ExpectMatrixNear(node.GetInvGlobalMatrix() * node.GetGlobalMatrix(), Identity(), "inverse");

    node.Rotate(nullptr, Pnt3(0, 0, 0), 1.0);
    ExpectMatrixNear(node.GetLocalMatrix(), parent, "a zero axis turns nothing");

    // The standard pose of the view composes as row-vector products.
    TNode view;
    view.Rotate(&view, Pnt3(0, 1, 0), 0.7853981633974483);
    view.Rotate(nullptr, Pnt3(1, 0, 0), -0.17453292519943295);
    view.Translate(nullptr, Pnt3(0, -75, 0));
    MatX4 const expected = RotY(0.7853981633974483) * RotX(-0.17453292519943295) * Translation(0, -75, 0);
    ExpectMatrixNear(view.GetGlobalMatrix(), expected, "pose");
}

TEST(TNodeTest, ChildGlobalIsLocalThenParentGlobal)
{
    TNode root;
    auto *child = static_cast<TNode *>(root.NewChild());
    EXPECT_EQ(child->GetParent(), &root);
    EXPECT_EQ(root.GetChild(0), child);

    root.GetLocalMatrix() = RotZ(kPi / 2) * Translation(10, 0, 0);
    child->GetLocalMatrix() = Translation(1, 0, 0);
    root.CalcChild();
    ExpectPointNear(child->Transform(Pnt3(0, 0, 0)), Pnt3(10, 1, 0));
    ExpectPointNear(child->InverseTransform(Pnt3(10, 1, 0)), Pnt3(0, 0, 0));

    // Turning the parent moves the child with it.
    root.Rotate(&root, Pnt3(0, 0, 1), -kPi / 2);
    ExpectPointNear(child->Transform(Pnt3(0, 0, 0)), Pnt3(11, 0, 0));
}

TEST(TNodeTest, TranslateTakesTheOffsetInTheChosenFrame)
{
    TNode root;
    auto *node = static_cast<TNode *>(root.NewChild());
    root.GetLocalMatrix() = RotZ(kPi / 2);
    node->GetLocalMatrix() = RotZ(kPi / 2);
    root.CalcChild();

    node->Translate(nullptr, Pnt3(1, 0, 0));
    ExpectMatrixNear(node->GetLocalMatrix(), RotZ(kPi / 2) * Translation(1, 0, 0), "parent frame");
    node->Translate(node, Pnt3(1, 0, 0));  // own x is the parent's y
    ExpectMatrixNear(node->GetLocalMatrix(), RotZ(kPi / 2) * Translation(1, 1, 0), "own frame");
    node->Translate(&root, Pnt3(0, 1, 0));  // root's frame: the same as the parent's
    ExpectMatrixNear(node->GetLocalMatrix(), RotZ(kPi / 2) * Translation(1, 2, 0), "the parent's own frame");

    TNode other;
    other.GetLocalMatrix() = RotZ(kPi / 2);  // other's x is the world's y, root's x
    other.CalcChild();
    node->Translate(&other, Pnt3(1, 0, 0));
    ExpectMatrixNear(node->GetLocalMatrix(), RotZ(kPi / 2) * Translation(2, 2, 0), "another node's frame");
    ExpectPointNear(node->Transform(Pnt3(0, 0, 0)), Pnt3(-2, 2, 0));
}

TEST(TNodeTest, CopiesHaveTheirOwnKeysAndShareChildrenAndObject)
{
    TNode source;
    source.SetName("arm");
    source.SetMaterialID(7);
    source.SetVisible(false);
    source.GetPositionController().GetKeys().resize(1);
    source.GetPositionController().GetKey(0).frame = 5;
    source.NewChild();

    {
        TNode copy(source);
        EXPECT_STREQ(copy.GetName().getbuf(), "arm");
        EXPECT_EQ(copy.GetMaterialID(), 7u);
        EXPECT_FALSE(copy.GetVisible());
        EXPECT_EQ(copy.GetChild(0), source.GetChild(0));
        copy.GetPositionController().GetKey(0).frame = 9;
        EXPECT_EQ(source.GetPositioController().GetKey(0).frame, 5);
    }  // the copy's end must not delete the shared child

    TNode assigned;
    assigned.NewChild();
    assigned = source;
    EXPECT_EQ(assigned.GetChild(0), source.GetChild(0));
    EXPECT_EQ(assigned.GetChildCount(), 1);
    EXPECT_EQ(source.GetChild(0)->GetParent(), &source);
}

TEST(TNodeTest, ClearResetsTheNodeButKeepsItsParent)
{
    TNode root;
    auto *node = static_cast<TNode *>(root.NewChild());
    node->SetName("n");
    node->SetVisible(false);
    node->GetRotationController().GetKeys().resize(2);
    node->GetLocalMatrix() = Translation(1, 1, 1);
    node->NewChild();
    node->Clear();
    EXPECT_EQ(node->GetChildCount(), 0);
    EXPECT_EQ(node->GetRotationController().GetKeyCount(), 0);
    EXPECT_EQ(node->GetName().len(), 0);
    EXPECT_TRUE(node->GetVisible());
    ExpectMatrixNear(node->GetGlobalMatrix(), Identity(), "global");
    EXPECT_EQ(node->GetParent(), &root);
}

}  // namespace
