#include <tessiv/platform/carray.h>

#include <gtest/gtest.h>

namespace {

TEST(CArrayTest, GrowsInsertsAndRemovesWithinBounds)
{
    CArray<int, int> numbers;
    EXPECT_EQ(numbers.Add(4), 0);
    EXPECT_EQ(numbers.Add(6), 1);
    numbers.InsertAt(1, 5);
    numbers.SetAtGrow(5, 9);
    ASSERT_EQ(numbers.GetSize(), 6);
    EXPECT_EQ(numbers[1], 5);
    EXPECT_EQ(numbers[3], 0) << "growing fills with default values";
    numbers.RemoveAt(4, 100);
    EXPECT_EQ(numbers.GetSize(), 4) << "removal past the end stops at the end";
    numbers.RemoveAt(-1);
    numbers.SetSize(-3);
    EXPECT_TRUE(numbers.IsEmpty());
}

}  // namespace
