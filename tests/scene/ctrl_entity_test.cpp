#include <tessiv/scene/ctrl_entity.h>

#include <gtest/gtest.h>

namespace {

class Curve : public kolt::CtrlEntity {
public:
    kolt::CtrlEntity *Clone() const override { return new Curve(*this); }
};

TEST(CtrlEntityTest, ClassIdentifiersHaveTheirFixedValues)
{
    Curve curve;
    EXPECT_EQ(curve.ClassID(), 0xC2405FBCul);
    EXPECT_EQ(kolt::kClassIdSpline, 0xD4FE5009ul);
    EXPECT_EQ(kolt::kClassId3DSpline, 0xB4FF5697ul);
    EXPECT_EQ(kolt::kClassIdMeshBase, 0x2BE712E8ul);
}

TEST(CtrlEntityTest, CopiesAndAssignmentCarryNameAndType)
{
    Curve a;
    a.SetName("rail");
    a.SetType(3);
    Curve b(a);
    EXPECT_EQ(b.GetName(), "rail");
    EXPECT_EQ(b.GetType(), 3);

    Curve c;
    kolt::CtrlEntity &base = c;
    base = a;  // through the virtual operator=
    EXPECT_EQ(c.GetName(), "rail");
    EXPECT_EQ(c.GetType(), 3);

    CString name = a.GetName();
    name += "x";
    EXPECT_EQ(a.GetName(), "rail") << "GetName returns a copy";

    kolt::CtrlEntity *clone = a.Clone();
    EXPECT_EQ(clone->GetName(), "rail");
    delete clone;
}

}  // namespace
