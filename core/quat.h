// kolt::CQuat: a record of four doubles, kept in the order given to Set.
// Default construction leaves the components unset, as the rotation keys that
// hold it rely on (a new key carries whatever is written into it).
#pragma once

namespace kolt {

class CQuat {
public:
    double x, y, z, w;

    void Set(double x_, double y_, double z_, double w_)
    {
        x = x_;
        y = y_;
        z = z_;
        w = w_;
    }
};

}  // namespace kolt
