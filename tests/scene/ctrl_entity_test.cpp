#include <tessiv/scene/ctrl_entity.h>

#include <gtest/gtest.h>

#include <memory>

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

    std::unique_ptr<kolt::CtrlEntity> clone(a.Clone());
    EXPECT_TRUE(clone->GetName() == "rail" && clone->GetType() == 3);
}

}  // namespace
