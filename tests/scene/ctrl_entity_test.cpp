#include <tessiv/scene/ctrl_entity.h>

#include <gtest/gtest.h>

namespace {

class Curve : public kolt::CtrlEntity {
public:
    kolt::CtrlEntity *Clone() const override { return new Curve(*this); }
};

TEST(CtrlEntityTest, CopiesAndVirtualAssignmentCarryNameAndType)
{
    Curve a;
    a.SetName("rail");
    a.SetType(3);
    EXPECT_EQ(a.ClassID(), 0xC2405FBCul);

    Curve c;
    kolt::CtrlEntity &base = c;
    base = a;
    EXPECT_EQ(c.GetName(), "rail");
    EXPECT_EQ(c.GetType(), 3);

    kolt::CtrlEntity *clone = a.Clone();
    EXPECT_EQ(clone->GetName(), "rail");
    EXPECT_EQ(clone->GetType(), 3);
    delete clone;
}

}  // namespace
