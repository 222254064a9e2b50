// Tuples of 32-bit signed ints used as index pairs, triples and quadruples
// into record arrays. Every component starts at -1, the mark of an index that
// is not set. Access by index is unchecked (TESSIV_CHECKED asserts it).
#pragma once

#include <cstdint>

#include <tessiv/core/checked.h>

namespace kolt {

class IntVec2 {
public:
    std::int32_t x = -1, y = -1;

    IntVec2() = default;
    IntVec2(std::int32_t x_, std::int32_t y_) : x(x_), y(y_) {}

    std::int32_t &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 2); return this->*kMembers[i]; }
    std::int32_t const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 2); return this->*kMembers[i]; }

private:
    static constexpr std::int32_t IntVec2::*kMembers[2] = {&IntVec2::x, &IntVec2::y};
};

class IntVec3 {
public:
    std::int32_t x = -1, y = -1, z = -1;

    IntVec3() = default;
    IntVec3(std::int32_t x_, std::int32_t y_, std::int32_t z_) : x(x_), y(y_), z(z_) {}

    std::int32_t &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3); return this->*kMembers[i]; }
    std::int32_t const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3); return this->*kMembers[i]; }

private:
    static constexpr std::int32_t IntVec3::*kMembers[3] = {&IntVec3::x, &IntVec3::y, &IntVec3::z};
};

class IntVec4 {
public:
    std::int32_t x = -1, y = -1, z = -1, w = -1;

    IntVec4() = default;
    IntVec4(std::int32_t x_, std::int32_t y_, std::int32_t z_, std::int32_t w_)
        : x(x_), y(y_), z(z_), w(w_) {}

    std::int32_t &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return this->*kMembers[i]; }
    std::int32_t const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return this->*kMembers[i]; }

private:
    static constexpr std::int32_t IntVec4::*kMembers[4] = {&IntVec4::x, &IntVec4::y, &IntVec4::z,
                                                           &IntVec4::w};
};

}  // namespace kolt
