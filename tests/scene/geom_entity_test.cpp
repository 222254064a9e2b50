#include <tessiv/scene/geom_entity.h>

#include <gtest/gtest.h>

namespace {

class Solid : public kolt::CGeomEntity {
public:
    static inline int destroyed = 0;
    ~Solid() override { ++destroyed; }
    unsigned long ClassID() const override { return 1; }
    kolt::BaseObject *Clone() const override { return new Solid(*this); }
    bool Save(kolt::CStreamO &) override { return true; }
    bool Load(kolt::CStreamI &) override { return true; }
};

TEST(GeomEntityTest, CopiesAreDeepAndCarryTheFlag)
{
    Solid a;
    a.GetVertices().push_back(kolt::Pnt3(1, 2, 3));
    a.SetModifiedFlag(true);

    Solid b(a);
    b.GetVert(0).x = 9;
    EXPECT_EQ(a.GetVert(0).x, 1) << "the copy has its own vertices";
    EXPECT_TRUE(b.Modified());

    Solid c;
    c = a;
    EXPECT_EQ(c.GetVert(0).z, 3);
    EXPECT_TRUE(c.Modified());
    c.SetModifiedFlag(false);
    EXPECT_FALSE(c.Modified());
}

TEST(GeomEntityTest, DeletedThroughTheBaseRunsTheDerivedDestructor)
{
    Solid::destroyed = 0;
    kolt::BaseObject *object = new Solid;
    delete object;
    EXPECT_EQ(Solid::destroyed, 1);
}

}  // namespace
