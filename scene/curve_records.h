// The four small records that travel inside the curve records (c3dline.h,
// line_segment.h): kolt::_LineSegment, kolt::_IntersectInform,
// kolt::ContrInterpoint and kolt::NewCline. Their unnamed values belong to
// the curve code outside this module and are copied with the records.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>

namespace kolt {

// One straight piece of a curve: two end points and two values. Copies as
// plain memory; a new one has both points at the origin and the two values
// unset.
struct _LineSegment {
    Pnt3 start;
    Pnt3 end;
    std::uint32_t values[2];

    _LineSegment() {}
};

// Where a curve crosses something: three doubles and an index list (owned,
// copied deep). A new one has the doubles 0, the list empty and the value
// unset.
struct _IntersectInform {
    double values[3] = {0, 0, 0};
    cvector<int> indices;
    std::uint32_t value;

    _IntersectInform() {}
};

// A contour interpolation point and one further 8-byte value. A new one is
// at the origin with the value unset.
struct ContrInterpoint {
    Pnt3 point;
    double value;

    ContrInterpoint() {}
};

// A line made while splitting curves: six doubles, two values, five owned
// lists (copied deep), a flag and five trailing values. A new one has the
// doubles 0, the lists empty and the trailing values -1; the two values and
// the flag are unset.
struct NewCline {
    double values[6] = {0, 0, 0, 0, 0, 0};
    std::uint32_t pair[2];
    cvector<int> indices;
    cvector<Pnt3> points;
    cvector<int> lists[3];
    bool flag;
    int trailing[5] = {-1, -1, -1, -1, -1};

    NewCline() {}
};

}  // namespace kolt
