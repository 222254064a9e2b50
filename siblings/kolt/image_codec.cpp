// Byte sources and sinks, limits and the row collector shared by the codecs.
#include "image_codec.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kolt::codec {

void ByteReader::ReadExact(void *destination, std::size_t count, char const *what)
{
    std::size_t const got = ReadUpTo(destination, count);
    if (got != count)
        throw DecodeError(std::string(what) + ": data ends after " + std::to_string(got) +
                          " of " + std::to_string(count) + " bytes");
}

std::uint8_t ByteReader::U8(char const *what)
{
    std::uint8_t value;
    ReadExact(&value, 1, what);
    return value;
}

std::uint16_t ByteReader::U16LE(char const *what)
{
    unsigned char bytes[2];
    ReadExact(bytes, 2, what);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t ByteReader::U32LE(char const *what)
{
    unsigned char bytes[4];
    ReadExact(bytes, 4, what);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void ByteReader::Skip(std::uint64_t count, char const *what)
{
    unsigned char scratch[4096];
    while (count > 0) {
        std::size_t const step = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof scratch));
        ReadExact(scratch, step, what);
        count -= step;
    }
}

std::size_t MemoryReader::ReadSome(void *destination, std::size_t count)
{
    std::size_t const step = std::min(count, size_ - position_);
    if (step > 0)
        std::memcpy(destination, data_ + position_, step);
    position_ += step;
    return step;
}

void ByteWriter::U16LE(std::uint16_t value)
{
    unsigned char const bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    Write(bytes, 2);
}

void ByteWriter::U32LE(std::uint32_t value)
{
    unsigned char const bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 24)};
    Write(bytes, 4);
}

void MemoryWriter::Write(void const *data, std::size_t count)
{
    auto const *first = static_cast<unsigned char const *>(data);
    bytes.insert(bytes.end(), first, first + count);
}

void CheckDimensions(std::uint64_t width, std::uint64_t height, char const *format)
{
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension)
        throw DecodeError(std::string("reading ") + format + ": size " + std::to_string(width) + " x " +
                          std::to_string(height) + " is outside 1 to " + std::to_string(kMaxDimension));
}

bool HasPixels(PixelImage const &image)
{
    std::uint64_t const count = std::uint64_t{image.Width()} * image.Height();
    return count > 0 && static_cast<std::uint64_t>(image.GetBufferEnd() - image.GetBuffer()) >= count;
}

namespace {
// Storage is reserved up front up to this many pixels (4 MiB); beyond it,
// it grows with the rows decoded.
constexpr std::size_t kUpFrontPixels = std::size_t{1} << 20;
}  // namespace

RowCollector::RowCollector(unsigned int width, unsigned int height) : width_(width), height_(height)
{
    pixels_.reserve(std::min<std::size_t>(std::size_t{width} * height, kUpFrontPixels));
}

ColorI *RowCollector::NextRow()
{
    if (rows_done_ >= height_)
        throw DecodeError("decoder produced more rows than the image has");
    std::size_t const needed = std::size_t{rows_done_ + 1} * width_;
    if (needed > pixels_.capacity())
        pixels_.reserve(std::min<std::size_t>(std::max(needed, 2 * pixels_.capacity()),
                                              std::size_t{width_} * height_));
    pixels_.resize(needed);
    return pixels_.data() + std::size_t{rows_done_++} * width_;
}

void RowCollector::MakeOpaque()
{
    for (ColorI &pixel : pixels_)
        pixel[3] = 255;
}

void RowCollector::MakeOpaqueIfAllTransparent()
{
    for (ColorI const &pixel : pixels_)
        if (pixel[3] != 0)
            return;
    MakeOpaque();
}

void RowCollector::Commit(PixelImage &image, bool bottom_up) const
{
    if (rows_done_ != height_)
        throw DecodeError("decoder ended before the last row");
    image.SetSize(width_, height_);
    std::size_t const row_bytes = std::size_t{width_} * sizeof(ColorI);
    if (!bottom_up) {
        std::memcpy(image.GetBuffer(), pixels_.data(), row_bytes * height_);
        return;
    }
    for (unsigned int row = 0; row < height_; ++row)
        std::memcpy(&image(0, height_ - 1 - row), pixels_.data() + std::size_t{row} * width_, row_bytes);
}

}  // namespace kolt::codec
