#include <tessiv/core/box.h>

#include <gtest/gtest.h>

using kolt::Box;
using kolt::Pnt3;

namespace {

TEST(BoxTest, DefaultBoxIsEmpty)
{
    Box empty;
    EXPECT_EQ(empty.upper.x, -HUGE_VAL) << "the upper corner comes first and starts at -inf";
    EXPECT_EQ(empty.lower.z, HUGE_VAL);
    EXPECT_FALSE(empty.PtInBox(Pnt3(0, 0, 0)));
    EXPECT_FALSE(empty.PtInBox(Pnt3(1e300, -1e300, 5)));
    Box unit(Pnt3(0, 0, 0), Pnt3(1, 1, 1));
    EXPECT_FALSE(empty.BoxOverBox(unit));
    EXPECT_FALSE(unit.BoxOverBox(empty));
}

TEST(BoxTest, BoundsAreInclusive)
{
    Pnt3 p(1, 2, 3);
    Box point(p, p);
    EXPECT_TRUE(point.PtInBox(p));
    EXPECT_FALSE(point.PtInBox(Pnt3(1, 2, 3.0000001)));

    Box a;
    a.Set(Pnt3(0, 0, 0), Pnt3(2, 2, 2));
    EXPECT_EQ(a.lower.x, 0.0) << "Set takes the lower corner first";
    EXPECT_EQ(a.upper.y, 2.0);
    EXPECT_TRUE(a.BoxInBox(Box(Pnt3(0, 0, 0), Pnt3(2, 2, 2))));
    EXPECT_TRUE(a.BoxInBox(Box(Pnt3(1, 1, 1), Pnt3(2, 1.5, 2))));
    EXPECT_FALSE(a.BoxInBox(Box(Pnt3(1, 1, 1), Pnt3(2, 2, 2.5))));

    Box touching(Pnt3(2, 0, 0), Pnt3(3, 2, 2));
    EXPECT_TRUE(a.BoxOverBox(touching)) << "boxes sharing a face overlap";
    EXPECT_TRUE(touching.BoxOverBox(a));
    Box apart(Pnt3(2.5, 0, 0), Pnt3(3, 2, 2));
    EXPECT_FALSE(a.BoxOverBox(apart));
    EXPECT_FALSE(apart.BoxOverBox(a));
    Box apart_in_z(Pnt3(0, 0, -3), Pnt3(2, 2, -0.1));
    EXPECT_FALSE(a.BoxOverBox(apart_in_z));

    // No reordering: a box given (max, min) is empty.
    Box reversed(Pnt3(2, 2, 2), Pnt3(0, 0, 0));
    EXPECT_FALSE(reversed.PtInBox(Pnt3(1, 1, 1)));
}

}  // namespace
