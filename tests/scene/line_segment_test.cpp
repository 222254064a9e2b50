#include <tessiv/scene/line_segment.h>

#include <gtest/gtest.h>

namespace {

TEST(CLineSegment, AddCopiesAndClearKeepsSplitLines)
{
    kolt::CLineSegment group;
    kolt::C3DLine line;
    line.Setedges(7);
    group.AddCLine(line);
    group.AddCLine(line);
    line.Getedges(0) = 8;
    ASSERT_EQ(group.GetCLineSize(), 2);
    EXPECT_EQ(group.GetCLine(1).Getedges(0), 7);

    kolt::CLineSegment copy = group;
    copy.GetCLine(0).Setedges(1);
    EXPECT_EQ(group.GetCLine(0).GetedgesCount(), 1);

    group.Clear();
    EXPECT_EQ(group.GetCLineSize(), 0);
    kolt::cvector<kolt::C3DLine> split;
    split.push_back(line);
    group.GetSplitCLine(split);
    EXPECT_EQ(split.size(), 0u) << "the split lines were empty and stay so";
}

}  // namespace
