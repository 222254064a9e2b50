#include <tessiv/scene/tmesh_base.h>

#include <gtest/gtest.h>

namespace {

TEST(TMeshBase, SetAppendsWithPushBackGrowth)
{
    kolt::TMeshBase mesh;
    EXPECT_EQ(mesh.ClassID(), 0x2BE712E8ul);
    kolt::TVert v;
    v.Pos().Set(1, 0, 0);
    mesh.SetV(v);
    EXPECT_EQ(mesh.GetVNum(), 1);
    mesh.SetV(v);
    mesh.SetV(v);
    EXPECT_EQ(mesh.GetVNum(), 3);
    EXPECT_EQ(mesh.GetV(2).Pos().x, 1);

    mesh.SetE(kolt::TEdge());
    mesh.SetF(kolt::TFace());
    EXPECT_EQ(mesh.GetENum(), 1);
    EXPECT_EQ(mesh.GetFNum(), 1);
    mesh.SetFNum(4);
    EXPECT_EQ(mesh.GetFNum(), 4);
    EXPECT_EQ(mesh.GetF(3).GetIndex(0), -1) << "new faces are default-constructed";
}

TEST(TMeshBase, CopyIsFullyIndependent)
{
    kolt::TMeshBase source;
    source.SetVNum(2);
    source.GetV(0).AddAdjE(0);
    source.SetENum(1);
    source.GetE(0).SetIndex(0, 1);
    source.GetAverageELen() = 2.5;
    source.HasBoundaryFlagSet() = true;
    source.SetSmoothAngle(0.5);

    kolt::TMeshBase copy(source);
    copy.GetV(0).AddAdjE(7);
    copy.GetE(0).SetIndex(5, 6);
    EXPECT_EQ(source.GetV(0).GetAdjENum(), 1);
    EXPECT_EQ(source.GetE(0).GetIndex(0), 0);
    EXPECT_EQ(copy.GetAverageELen(), 2.5);
    EXPECT_TRUE(copy.HasBoundaryFlagSet());
    EXPECT_EQ(copy.GetSmoothAngle(), 0.5);

    kolt::TMeshBase assigned;
    assigned = source;
    source.GetV(0).AdjE(0) = 3;
    EXPECT_EQ(assigned.GetV(0).AdjE(0), 0);
    EXPECT_EQ(assigned.GetVNum(), 2);
}

TEST(TMeshBase, FlagAccessorsAreReferences)
{
    kolt::TMeshBase mesh;
    EXPECT_FALSE(mesh.IsAngleInited());
    mesh.IsAngleInited() = true;
    mesh.IsEdgeLenComp() = true;
    mesh.GetScale() = 3;
    kolt::TMeshBase const &view = mesh;
    EXPECT_TRUE(view.IsAngleInited());
    EXPECT_TRUE(view.IsEdgeLenComp());
    EXPECT_EQ(view.GetScale(), 3);
    EXPECT_FALSE(view.HasBoundaryFlagSet());
}

}  // namespace
