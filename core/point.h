// Double-precision points and vectors of two, three and four components.
// Plain value types: copied member by member, no heap storage, every
// operation inline. Component access by index is unchecked (0 to n-1 only);
// a build with TESSIV_CHECKED asserts the index.
#pragma once

#include <cmath>

#include <tessiv/core/checked.h>

namespace kolt {

class Pnt2 {
public:
    double x = 0, y = 0;

    Pnt2() = default;
    Pnt2(double x_, double y_) : x(x_), y(y_) {}

    void Set(double x_, double y_) { x = x_; y = y_; }
    void Zero() { x = y = 0; }

    double &e(int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 2); return this->*kMembers[i]; }
    double const &e(int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 2); return this->*kMembers[i]; }
    double &operator[](int i) { return e(i); }
    double const &operator[](int i) const { return e(i); }

    Pnt2 &operator+=(Pnt2 const &v) { x += v.x; y += v.y; return *this; }
    Pnt2 &operator-=(Pnt2 const &v) { x -= v.x; y -= v.y; return *this; }
    Pnt2 &operator*=(double s) { x *= s; y *= s; return *this; }
    Pnt2 &operator/=(double s) { x /= s; y /= s; return *this; }

    double SquareMagnitude() const { return x * x + y * y; }
    double Magnitude() const { return std::sqrt(SquareMagnitude()); }
    // Divides without a check: a zero vector gives NaN components.
    Pnt2 Normalize() const { double m = Magnitude(); return Pnt2(x / m, y / m); }
    double Min() const { return std::fmin(x, y); }
    double Max() const { return std::fmax(x, y); }
    Pnt2 Abs() const { return Pnt2(std::fabs(x), std::fabs(y)); }

private:
    static constexpr double Pnt2::*kMembers[2] = {&Pnt2::x, &Pnt2::y};
};

class Pnt3 {
public:
    double x = 0, y = 0, z = 0;

    Pnt3() = default;
    Pnt3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    void Set(double x_, double y_, double z_) { x = x_; y = y_; z = z_; }
    void Zero() { x = y = z = 0; }

    double &e(int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3); return this->*kMembers[i]; }
    double const &e(int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3); return this->*kMembers[i]; }
    double &operator[](int i) { return e(i); }
    double const &operator[](int i) const { return e(i); }

    Pnt3 &operator+=(Pnt3 const &v) { x += v.x; y += v.y; z += v.z; return *this; }
    Pnt3 &operator-=(Pnt3 const &v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    Pnt3 &operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    Pnt3 &operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    // Adds the scalar to every component.
    Pnt3 &operator+=(double s) { x += s; y += s; z += s; return *this; }

    double SquareMagnitude() const { return x * x + y * y + z * z; }
    double Magnitude() const { return std::sqrt(SquareMagnitude()); }
    double GetLength() const { return Magnitude(); }

    // A new vector of unit length; the zero vector stays (0, 0, 0).
    Pnt3 Normalize() const
    {
        double m = Magnitude();
        if (m == 0)
            return Pnt3(0, 0, 0);
        return Pnt3(x / m, y / m, z / m);
    }

    // Normalises in place; a vector shorter than 1e-11 becomes (1, 0, 0).
    void unit()
    {
        double m = Magnitude();
        if (m < 1e-11) {
            Set(1, 0, 0);
            return;
        }
        x /= m;
        y /= m;
        z /= m;
    }

    // Maps a direction into the cube [0, 1]^3, the encoding by which
    // directions are stored as colours. No check for a zero magnitude.
    void Scale_to_01()
    {
        double m = Magnitude();
        x = x / m * 0.5 + 0.5;
        y = y / m * 0.5 + 0.5;
        z = z / m * 0.5 + 0.5;
    }

    double Min() const { return std::fmin(std::fmin(x, y), z); }
    double Max() const { return std::fmax(std::fmax(x, y), z); }
    Pnt3 Abs() const { return Pnt3(std::fabs(x), std::fabs(y), std::fabs(z)); }

    // Index of the component with the largest absolute value; ties go low.
    int ClosestAxis() const
    {
        double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
        int axis = 0;
        double largest = ax;
        if (ay > largest) {
            axis = 1;
            largest = ay;
        }
        if (az > largest)
            axis = 2;
        return axis;
    }

    // True when the distance to other is strictly below the tolerance.
    bool Equals(Pnt3 const &other, double tolerance) const
    {
        Pnt3 d(x - other.x, y - other.y, z - other.z);
        return d.Magnitude() < tolerance;
    }

    double dotmultiple(Pnt3 const &b) const { return x * b.x + y * b.y + z * b.z; }
    Pnt3 Cross(Pnt3 const &b) const
    {
        return Pnt3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
    }
    Pnt3 multiple(Pnt3 b) const { return Cross(b); }

    Pnt3 Trans(double dx, double dy, double dz) const { return Pnt3(x + dx, y + dy, z + dz); }

    // Counter-clockwise (right-handed) rotations about the axes, in radians.
    Pnt3 RotateX(double a) const
    {
        double c = std::cos(a), s = std::sin(a);
        return Pnt3(x, y * c - z * s, z * c + y * s);
    }
    Pnt3 RotateY(double a) const
    {
        double c = std::cos(a), s = std::sin(a);
        return Pnt3(x * c + z * s, y, z * c - x * s);
    }
    Pnt3 RotateZ(double a) const
    {
        double c = std::cos(a), s = std::sin(a);
        return Pnt3(x * c - y * s, y * c + x * s, z);
    }

    // The angles about X (a1) and then Y (a2) that turn this direction onto +Z.
    void ComputeGlbAng(double &a1, double &a2) const
    {
        // The single-precision 1e-6, widened: the tolerance the system uses.
        constexpr double eps = static_cast<double>(1e-6f);
        constexpr double pi = 3.14159265358979323846;

        if (std::fabs(z) < eps && std::fabs(y) < eps)
            a1 = 0;
        else if (std::fabs(z) < eps && y > 0)
            a1 = pi / 2;
        else if (std::fabs(z) < eps && y < 0)
            a1 = -pi / 2;
        else
            a1 = std::atan(y / z);
        if (z < 0)
            a1 += y > 0 ? pi : -pi;

        double w = std::sin(a1) * y + std::cos(a1) * z;

        if (std::fabs(w) < eps && std::fabs(x) < eps)
            a2 = 0;
        else if (std::fabs(w) < eps && x > 0)
            a2 = -pi / 2;
        else if (std::fabs(w) < eps && x < 0)
            a2 = pi / 2;
        else
            a2 = std::atan(-x / w);
        if (w < 0)
            a2 += x < 0 ? pi : -pi;
    }

    // Rotation by angle (radians) about a direction through the origin; the
    // axis need not be of unit length.
    Pnt3 RotAxis(Pnt3 const &axis, double angle) const
    {
        double a1, a2;
        axis.ComputeGlbAng(a1, a2);
        return RotateX(a1).RotateY(a2).RotateZ(angle).RotateY(-a2).RotateX(-a1);
    }

private:
    static constexpr double Pnt3::*kMembers[3] = {&Pnt3::x, &Pnt3::y, &Pnt3::z};
};

inline Pnt3 operator+(Pnt3 a, Pnt3 const &b) { return a += b; }
inline Pnt3 operator-(Pnt3 a, Pnt3 const &b) { return a -= b; }
inline Pnt3 operator*(Pnt3 a, double s) { return a *= s; }
inline Pnt3 operator*(double s, Pnt3 a) { return a *= s; }

class Pnt4 {
public:
    double x = 0, y = 0, z = 0, w = 0;

    Pnt4() = default;
    Pnt4(double x_, double y_, double z_, double w_) : x(x_), y(y_), z(z_), w(w_) {}

    void Set(double x_, double y_, double z_, double w_) { x = x_; y = y_; z = z_; w = w_; }
    void Zero() { x = y = z = w = 0; }

    double &e(int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return this->*kMembers[i]; }
    double const &e(int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return this->*kMembers[i]; }
    double &operator[](int i) { return e(i); }
    double const &operator[](int i) const { return e(i); }

    Pnt4 &operator+=(Pnt4 const &v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
    Pnt4 &operator-=(Pnt4 const &v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
    Pnt4 &operator*=(double s) { x *= s; y *= s; z *= s; w *= s; return *this; }
    Pnt4 &operator/=(double s) { x /= s; y /= s; z /= s; w /= s; return *this; }

    double SquareMagnitude() const { return x * x + y * y + z * z + w * w; }
    double Magnitude() const { return std::sqrt(SquareMagnitude()); }
    // Divides without a check: a zero vector gives NaN components.
    Pnt4 Normalize() const
    {
        double m = Magnitude();
        return Pnt4(x / m, y / m, z / m, w / m);
    }
    double Min() const { return std::fmin(std::fmin(x, y), std::fmin(z, w)); }
    double Max() const { return std::fmax(std::fmax(x, y), std::fmax(z, w)); }
    Pnt4 Abs() const { return Pnt4(std::fabs(x), std::fabs(y), std::fabs(z), std::fabs(w)); }

private:
    static constexpr double Pnt4::*kMembers[4] = {&Pnt4::x, &Pnt4::y, &Pnt4::z, &Pnt4::w};
};

}  // namespace kolt
