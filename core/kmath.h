// kolt::Math: angle conversions and the random number of the system.
#pragma once

#include <cstdlib>

namespace kolt {

class Math {
public:
    static double Deg2Rad(double degrees) { return degrees * 0.017453292519943295; }
    static double Rad2Deg(double radians) { return radians * 57.29577951308232; }

    // A double in [0, 1] from the C library's rand(), seeded by srand(). The
    // system's values were made by a rand() of range 0 to 32767; this
    // platform's goes to 2147483647, so only its low 15 bits are used.
    static double Random() { return (std::rand() & 0x7fff) / 32767.0; }
};

}  // namespace kolt
