// kolt::IndexImage: an image of 8-bit indices into a colour table.
#pragma once

#include <cstdint>
#include <new>

#include <tessiv/core/checked.h>
#include <tessiv/core/cvector.h>
#include <tessiv/imaging/color.h>

namespace kolt {

// An image of one index byte per pixel, rows top to bottom (index (x, y) is
// element y * width + x), with the colour table the indices name. Owns both
// arrays; copies are deep. Entries past 256 cannot be reached by an index.
// Accessors do not check indices or coordinates.
class IndexImage {
public:
    IndexImage() = default;
    IndexImage(IndexImage const &other) = default;
    IndexImage &operator=(IndexImage const &other) = default;

    ColorI &Palette(int i) { return palette_[i]; }
    ColorI const &Palette(int i) const { return palette_[i]; }
    unsigned int PaletteSize() const { return palette_.size(); }
    // Entries added by growing are not initialised.
    void SetPaletteSize(unsigned int n) { palette_.resize(n); }

    // New index bytes are not initialised. Throws std::bad_alloc past 4 GiB.
    void SetSize(unsigned int w, unsigned int h)
    {
        std::uint64_t const count = std::uint64_t{w} * h;
        if (count > UINT32_MAX)
            throw std::bad_alloc();
        indices_.resize(static_cast<unsigned int>(count));
        width_ = w;
        height_ = h;
    }

    unsigned char &operator()(unsigned int x, unsigned int y)
    {
        TESSIV_ASSERT_BOUNDS(x < width_ && y < height_);
        return indices_.begin()[static_cast<std::size_t>(y) * width_ + x];
    }
    unsigned char const &operator()(unsigned int x, unsigned int y) const
    {
        TESSIV_ASSERT_BOUNDS(x < width_ && y < height_);
        return indices_.begin()[static_cast<std::size_t>(y) * width_ + x];
    }

    unsigned int Width() const { return width_; }
    unsigned int Height() const { return height_; }

private:
    cvector<ColorI> palette_;
    cvector<unsigned char> indices_;
    unsigned int width_ = 0;
    unsigned int height_ = 0;
};

}  // namespace kolt
