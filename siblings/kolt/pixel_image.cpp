// The out-of-line members of kolt::PixelImage.
#include <tessiv/imaging/pixel_image.h>

#include <cstdint>
#include <new>

namespace kolt {

PixelImage::PixelImage() : dpi_x_(72.0), dpi_y_(72.0), width_(0), height_(0) {}

PixelImage::~PixelImage() = default;

void PixelImage::SetSize(unsigned int w, unsigned int h)
{
    std::uint64_t const count = std::uint64_t{w} * h;
    if (count > UINT32_MAX)
        throw std::bad_alloc();
    // Forget the elements first so that growing copies none of them; when
    // the allocation fails the old elements are still in their slots.
    unsigned int const old_count = pixels_.size();
    pixels_.resetsize();
    try {
        pixels_.resize(static_cast<unsigned int>(count));
    } catch (...) {
        pixels_.resize(old_count);
        throw;
    }
    width_ = w;
    height_ = h;
}

}  // namespace kolt
