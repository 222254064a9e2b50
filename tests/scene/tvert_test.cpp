#include <tessiv/scene/tvert.h>

#include <gtest/gtest.h>

namespace {

TEST(TVert, DefaultsAreOpaqueWhiteEmptyAndUnmarkedAndAliasesShareOneField)
{
    kolt::TVert v;
    EXPECT_EQ(v.Color()[0], 1.0f);
    EXPECT_EQ(v.Color()[3], 1.0f);
    EXPECT_EQ(v.GetAdjENum() + v.GetAdjFNum(), 0);
    EXPECT_EQ(v.GetCurvature(), 0);
    EXPECT_FALSE(v.IsVisited() || v.IsOnBoundary());

    v.Color() = kolt::ColorF(0.25f, 0.5f, 0.75f, 1);
    EXPECT_EQ(v.CurvatureColor()[1], 0.5f);
    v.DeformationColor()[2] = 0.125f;
    EXPECT_EQ(v.Color()[2], 0.125f);
    v.GetCurvature() = 2.5;
    EXPECT_EQ(v.GetDeformation(), 2.5);
    v.GetGaussCurvature() = -1;
    EXPECT_EQ(v.GetCurvature(), -1);
}

TEST(TVert, ListsGrowByDoublingAndFastInitEmptiesThemWithRoomForEight)
{
    kolt::TVert v;
    v.AddAdjF(10);
    EXPECT_EQ(v.AdjF().capacity(), 2u);
    v.AddAdjF(11);
    v.AddAdjF(12);
    EXPECT_EQ(v.AdjF().capacity(), 4u);
    v.SetAdjENum(5);
    EXPECT_EQ(v.GetAdjENum(), 5);
    EXPECT_EQ(v.AdjE().capacity(), 5u);
    v.AdjFClear();
    EXPECT_EQ(v.GetAdjFNum(), 0);
    EXPECT_EQ(v.AdjF().capacity(), 0u);

    v.AddAdjF(4);
    v.Pos().Set(1, 2, 3);
    v.FastInit();
    EXPECT_EQ(v.GetAdjENum() + v.GetAdjFNum(), 0);
    EXPECT_EQ(v.Pos().y, 2);
    int const *block = v.AdjE().begin();
    for (int i = 0; i < 8; ++i)
        v.AddAdjE(i);
    EXPECT_EQ(v.AdjE().begin(), block) << "eight edges fit without reallocation";
    EXPECT_EQ(v.AdjE(7), 7);
}

TEST(TVert, CopyOwnsItsOwnAdjacencyLists)
{
    kolt::TVert source;
    source.AddAdjE(1);
    source.AddAdjF(2);
    kolt::TVert copy(source), assigned;
    assigned = source;
    copy.AddAdjE(9);
    copy.AdjF(0) = 7;
    source.AdjE(0) = 5;
    EXPECT_EQ(source.GetAdjENum(), 1);
    EXPECT_EQ(source.AdjF(0), 2);
    EXPECT_EQ(assigned.AdjE(0), 1);
}

}  // namespace
