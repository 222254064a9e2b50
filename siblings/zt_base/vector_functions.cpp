// RotAxis and GetAngleOf2Vector.
#include <tessiv/siblings/zt_base/vector_functions.h>

#include <cmath>

namespace kolt {

Pnt3 RotAxis(Pnt3 v, Pnt3 axis, double angle)
{
    double const length = axis.Magnitude();
    if (length == 0)
        return v;
    Pnt3 const k = axis * (1 / length);
    double const c = std::cos(angle), s = std::sin(angle);
    // Rodrigues: v cos + (k x v) sin + k (k . v)(1 - cos).
    return v * c + k.Cross(v) * s + k * (k.dotmultiple(v) * (1 - c));
}

double GetAngleOf2Vector(Pnt3 const &a, Pnt3 const &b)
{
    return std::atan2(a.Cross(b).Magnitude(), a.dotmultiple(b));
}

}  // namespace kolt
