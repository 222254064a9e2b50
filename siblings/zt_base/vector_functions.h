// The two vector functions of libzt_base.so that the view's overlay drawing
// calls: rotating a vector about an axis and the angle between two vectors.
#pragma once

#include <tessiv/core/point.h>

namespace kolt {

// v rotated about the axis through the origin by angle radians,
// counter-clockwise when the axis points at the viewer (right-handed). The
// axis need not be of unit length; a zero axis gives v unchanged.
Pnt3 RotAxis(Pnt3 v, Pnt3 axis, double angle);

// The angle between a and b in radians, 0 to pi. Taken as atan2 of the
// cross and dot products, so nearly parallel and nearly opposite vectors keep
// full precision; when either vector is zero the result is 0.
double GetAngleOf2Vector(Pnt3 const &a, Pnt3 const &b);

}  // namespace kolt
