// Pixel blenders: function objects that combine one source pixel into one
// destination pixel, byte by byte over blue, green, red and alpha.
#pragma once

#include <tessiv/imaging/color.h>

namespace kolt {

// Base of the four blend rules. Holds no state; copies copy nothing. Like
// the rest of this family it has no virtual destructor.
class PixelBlender {
public:
    PixelBlender() = default;
    PixelBlender(PixelBlender const &) {}
    PixelBlender &operator=(PixelBlender const &) { return *this; }

    virtual void operator()(ColorI &dest, ColorI const &src) = 0;

protected:
    ~PixelBlender() = default;
};

// dest := src, all four bytes.
class CopyBlendFunction : public PixelBlender {
public:
    void operator()(ColorI &dest, ColorI const &src) override { dest = src; }
};

// Each channel, alpha included: min(dest + src, 255).
class AddBlendFunction : public PixelBlender {
public:
    void operator()(ColorI &dest, ColorI const &src) override
    {
        for (int channel = 0; channel < 4; ++channel) {
            int const sum = dest[channel] + src[channel];
            dest[channel] = static_cast<unsigned char>(sum > 255 ? 255 : sum);
        }
    }
};

// Each channel, alpha included: dest - src, or 0 when that is not positive.
class DecBlendFunction : public PixelBlender {
public:
    void operator()(ColorI &dest, ColorI const &src) override
    {
        for (int channel = 0; channel < 4; ++channel) {
            int const difference = dest[channel] - src[channel];
            dest[channel] = static_cast<unsigned char>(difference > 0 ? difference : 0);
        }
    }
};

// Blends by the source's alpha a: each colour channel becomes
// ((255 - a) * dest + a * src) / 256, or 255 from 0xFF00 up (which the sum
// never reaches), so even a transparent source scales dest by 255/256; the
// destination alpha becomes min(dest alpha + a, 255).
class AlphaBlendFunction : public PixelBlender {
public:
    void operator()(ColorI &dest, ColorI const &src) override
    {
        int const a = src[3];
        for (int channel = 0; channel < 3; ++channel) {
            int const t = (255 - a) * dest[channel] + a * src[channel];
            dest[channel] = static_cast<unsigned char>(t >= 0xFF00 ? 255 : t >> 8);
        }
        int const alpha = dest[3] + a;
        dest[3] = static_cast<unsigned char>(alpha > 255 ? 255 : alpha);
    }
};

}  // namespace kolt
