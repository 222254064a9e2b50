// kolt::Box: an axis-aligned bounding box, stored upper corner first. A
// default box is empty with its bounds inverted (upper at -HUGE_VAL, lower at
// +HUGE_VAL), so it contains nothing and overlaps nothing.
#pragma once

#include <cmath>

#include <tessiv/core/point.h>

namespace kolt {

class Box {
public:
    Pnt3 upper{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    Pnt3 lower{HUGE_VAL, HUGE_VAL, HUGE_VAL};

    Box() = default;
    // The first corner is the lower one; nothing is reordered, so callers pass
    // (minimum, maximum).
    Box(Pnt3 const &a, Pnt3 const &b) : upper(b), lower(a) {}
    void Set(Pnt3 const &a, Pnt3 const &b)
    {
        lower = a;
        upper = b;
    }

    // Both bounds inclusive.
    bool PtInBox(Pnt3 const &p) const
    {
        return lower.x <= p.x && p.x <= upper.x && lower.y <= p.y && p.y <= upper.y &&
               lower.z <= p.z && p.z <= upper.z;
    }

    bool BoxInBox(Box const &other) const { return PtInBox(other.lower) && PtInBox(other.upper); }

    // Boxes that only touch overlap.
    bool BoxOverBox(Box const &other) const
    {
        for (int axis = 0; axis < 3; ++axis) {
            if (other.lower[axis] > upper[axis] || lower[axis] > other.upper[axis])
                return false;
        }
        return true;
    }
};

}  // namespace kolt
