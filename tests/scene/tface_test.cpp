#include <tessiv/scene/tedge.h>
#include <tessiv/scene/tface.h>

#include <gtest/gtest.h>

namespace {

TEST(TEdge, DefaultsAndIndexAccessors)
{
    kolt::TEdge e;
    EXPECT_EQ(e.GetIndex(0), -1);
    EXPECT_EQ(e.GetFIdx(1), -1);
    EXPECT_TRUE(e.GetVisible());
    EXPECT_FALSE(e.IsBoundary());
    e.SetIndex(4, 9);
    EXPECT_EQ(e.p(1), 9);
    e.p(0) = 3;
    EXPECT_EQ(e.GetIndex(0), 3);
    e.GetFIdx(0) = 12;
    EXPECT_EQ(e.GetFIdx(0), 12);
}

TEST(TFace, SettersByPositionAndFastInitKeepingTheVertices)
{
    kolt::TFace f;
    f.SetVertex(5, 6, 7);
    EXPECT_EQ(f.p(2), 7);
    f.SetEdgeRef(1, 40);
    f.SetAdjacent(2, 50);
    EXPECT_EQ(f.GetEdgeRef(1), 40);
    EXPECT_EQ(f.GetEdgeRef(0), -1);
    EXPECT_EQ(f.GetAdjacent(2), 50);

    f.SetIndex(1, 2, 3);
    f.SetEdgeRef(4, 5, 6);
    f.SetAdjacent(7, 8, 9);
    f.FastInit();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.GetEdgeRef(i), -1);
        EXPECT_EQ(f.GetAdjacent(i), -1);
        EXPECT_EQ(f.GetIndex(i), i + 1);
    }
}

TEST(TFace, IsInVisibleRegionIgnoresItsArgument)
{
    kolt::TFace f;
    EXPECT_TRUE(f.IsInVisibleRegion(false));
    f.GetVisible() = false;
    EXPECT_FALSE(f.IsInVisibleRegion(true));
}

}  // namespace
