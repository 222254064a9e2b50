#include <tessiv/scene/c3dline.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(C3DLine, TypePredicatesTestTheTypeAndTheFeatureLayerTheLayer)
{
    // Per type 0 to 7: cutting, boundary, super, fit spline, central, base
    // feature, measure line, feature or boundary layer.
    char const *const expected[] = {"10000000", "00000000", "01000000", "00100000",
                                    "00000000", "00010000", "00001100", "00000100"};
    kolt::C3DLine line;
    for (int type = 0; type < 8; ++type) {
        line.SetType(type);
        std::string predicates;
        for (bool holds : {line.IsCuttingLine(), line.IsBoundary(), line.IsSuper(), line.IsFitSpline(),
                           line.IsCentralLine(), line.IsBaseFeatureLine(), line.IsMeasureLine(),
                           line.IsFeatureOrBoundaryLayer()})
            predicates += holds ? '1' : '0';
        EXPECT_EQ(predicates, expected[type]) << "type " << type;
    }
    line.SetLayerId(-1);
    EXPECT_TRUE(line.IsFeatureOrBoundaryLayer());
}

TEST(C3DLine, ControlFlagsTakeValueThenIndex)
{
    kolt::C3DLine line;
    line.Setcf(9, 1);
    EXPECT_EQ(line.Getcf(1), 9);
    EXPECT_EQ(line.Getcf(0), 0);
    line.Setcpt(kolt::Pnt3(1, 2, 3), 3);
    EXPECT_EQ(line.Getcpt(3).z, 3);
}

TEST(C3DLine, ListSettersAppendAndDeletesKeepOrder)
{
    kolt::C3DLine line;
    for (int edge : {4, 5, 6})
        line.Setedges(edge);
    line.Deleteedge(0);
    ASSERT_EQ(line.GetedgesCount(), 2);
    EXPECT_TRUE(line.Getedges(0) == 5 && line.Getedges(1) == 6);
    line.Clearedges();
    line.Deleteedge(0);  // an empty list: nothing happens
    EXPECT_EQ(line.GetedgesCount(), 0);

    line.Setifs(1);
    line.Setifs(2);
    line.Deleteifs(0);
    EXPECT_EQ(line.Getifs(0), 2);
    line.Deleteifs(0);
    line.Deleteifs(0);  // an empty list again: nothing happens
    EXPECT_EQ(line.GetifsCount(), 0);

    line.Setipt(kolt::Pnt3(1, 0, 0));
    line.Setipt(kolt::Pnt3(2, 0, 0));
    line.Deleteipt(0);
    EXPECT_EQ(line.Getipt(0).x, 2);

    line.Setinterclineid(8);
    line.GetinterclineidA(0) = 11;
    EXPECT_EQ(line.Getinterclineid(0), 11);
    line.Setinterpinfid(3);
    line.Setinterp(kolt::Pnt3(0, 1, 0));
    line.AddBaryCenterCoor(kolt::Pnt3(0.2, 0.3, 0.5));
    line.SetBaryCenterCoor(0, kolt::Pnt3(1, 0, 0));
    EXPECT_EQ(line.GetBaryCenterCoor(0).x, 1);
    line.Clearinterclineid();
    line.Clearinterpinfid();
    line.Clearinterp();
    line.Cleaript();
    EXPECT_EQ(line.GetinterclineidCount() + line.GetinterpinfidCount() + line.GetinterpCount() + line.GetiptCount(), 0);
}

TEST(C3DLine, AttachSegmentCopiesAndDetachFrees)
{
    kolt::cvector<kolt::_LineSegment> segments;
    segments.push_back(kolt::_LineSegment());
    segments.push_back(kolt::_LineSegment());
    kolt::C3DLine line;
    line.AttachSegment(segments);
    segments[0].start.x = 5;
    ASSERT_EQ(line.GetSegments().size(), 2u);
    EXPECT_EQ(line.GetSegments()[0].start.x, 0);
    line.DetachSegment();
    EXPECT_EQ(line.GetSegments().size(), 0u);
    EXPECT_EQ(line.GetSegments().capacity(), 0u);
}

TEST(C3DLine, CopySharesNothing)
{
    kolt::C3DLine source;
    source.Setedges(1);
    source.Setipt(kolt::Pnt3(1, 1, 1));
    source.SetId(4);
    kolt::C3DLine copy(source), assigned;
    assigned = source;
    source.Getedges(0) = 2;
    source.Getipt(0).x = 9;
    for (kolt::C3DLine *line : {&copy, &assigned}) {
        EXPECT_EQ(line->Getedges(0), 1);
        EXPECT_EQ(line->Getipt(0).x, 1);
        EXPECT_EQ(line->GetId(), 4);
    }
}

}  // namespace
