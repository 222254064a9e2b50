#include <tessiv/scene/c3dspline.h>
#include <tessiv/scene/spline.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CSpline, ResizeAndBackAndCopiesAndClonesShareNothing)
{
    kolt::CSpline spline;
    EXPECT_EQ(spline.ClassID(), 0xD4FE5009ul);
    spline.resize(3);
    EXPECT_EQ(spline.GetCtrlPointCount(), 3);
    EXPECT_EQ(spline.GetCtrlPointArr().capacity(), 3u);
    EXPECT_EQ(&spline.pBack(), &spline.GetCtrlPoint(2));
    EXPECT_EQ(spline.GetTangentCount(), 0);

    kolt::CSpline source;
    source.SetName("rail");
    kolt::cvector<kolt::Pnt3> points;
    points.push_back(kolt::Pnt3(1, 0, 0));
    source.SetCtrlPointArr(points);
    points[0].x = 5;
    kolt::CSpline copy(source);
    copy.p(0).x = 2;
    EXPECT_EQ(source.p(0).x, 1);

    std::unique_ptr<kolt::CtrlEntity> clone(source.Clone());
    EXPECT_EQ(clone->ClassID(), kolt::kClassIdSpline);
    kolt::CSpline assigned;
    kolt::CtrlEntity &as_entity = assigned;
    as_entity = *clone;
    EXPECT_EQ(assigned.size(), 1) << "assignment through the base copies the points too";
    EXPECT_EQ(assigned.GetName(), CString("rail"));
}

TEST(C3DSpline, LayerIdAndPlaneCut)
{
    kolt::C3DSpline curve;
    EXPECT_EQ(curve.ClassID(), 0xB4FF5697ul);
    EXPECT_FALSE(curve.IsPlaneCut());
    EXPECT_FALSE(curve.IsFeatureLine());
    curve.SetLayerId(-1);
    curve.SetID(7);
    curve.SetAsPlaneCut();
    EXPECT_TRUE(curve.IsFeatureLine());

    kolt::C3DSpline copy;
    copy = curve;
    EXPECT_TRUE(copy.IsPlaneCut());
    EXPECT_EQ(copy.GetID(), 7);
    EXPECT_EQ(copy.GetLayerId(), -1);
    std::unique_ptr<kolt::CtrlEntity> clone(curve.Clone());
    EXPECT_EQ(static_cast<kolt::C3DSpline &>(*clone).GetID(), 7);
}

}  // namespace
