#include <tessiv/scene/tmesh_base.h>

#include <gtest/gtest.h>

namespace {

TEST(TMeshBase, SetAppendsAndSetNumAddsDefaultElements)
{
    kolt::TMeshBase mesh;
    EXPECT_EQ(mesh.ClassID(), 0x2BE712E8ul);
    kolt::TVert v;
    v.Pos().Set(1, 0, 0);
    for (int i = 0; i < 3; ++i)
        mesh.SetV(v);
    EXPECT_EQ(mesh.GetVNum(), 3);
    EXPECT_EQ(mesh.GetV(2).Pos().x, 1);
    mesh.SetE(kolt::TEdge());
    mesh.SetF(kolt::TFace());
    EXPECT_EQ(mesh.GetENum(), 1);
    mesh.SetFNum(4);
    EXPECT_EQ(mesh.GetFNum(), 4);
    EXPECT_EQ(mesh.GetF(3).GetIndex(0), -1) << "new faces are default-constructed";
}

TEST(TMeshBase, CopyIsFullyIndependentAndKeepsTheFlags)
{
    kolt::TMeshBase source;
    source.SetVNum(2);
    source.GetV(0).AddAdjE(0);
    source.SetENum(1);
    source.GetE(0).SetIndex(0, 1);
    source.GetAverageELen() = 2.5;
    source.HasBoundaryFlagSet() = true;
    source.IsAngleInited() = true;
    source.GetScale() = 3;
    source.SetSmoothAngle(0.5);

    kolt::TMeshBase copy(source);
    kolt::TMeshBase assigned;
    assigned = source;
    source.GetV(0).AdjE(0) = 3;
    source.GetE(0).SetIndex(5, 6);
    for (kolt::TMeshBase const *mesh : {&copy, &assigned}) {
        EXPECT_EQ(mesh->GetV(0).AdjE(0), 0);
        EXPECT_EQ(mesh->GetE(0).GetIndex(0), 0);
        EXPECT_EQ(mesh->GetAverageELen(), 2.5);
        EXPECT_TRUE(mesh->HasBoundaryFlagSet() && mesh->IsAngleInited());
        EXPECT_FALSE(mesh->IsEdgeLenComp());
        EXPECT_EQ(mesh->GetScale(), 3);
        EXPECT_EQ(mesh->GetSmoothAngle(), 0.5);
    }
}

}  // namespace
