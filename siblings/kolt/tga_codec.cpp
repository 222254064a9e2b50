// Targa decoder and encoder: colour-mapped, true-colour and gray images,
// raw or RLE.
#include <algorithm>
#include <string>
#include <vector>

#include "image_codec.h"

namespace kolt::codec {

namespace {

[[noreturn]] void Fail(std::string const &cause)
{
    throw DecodeError("reading TGA: " + cause);
}

// How the bytes of one pixel (or one colour-map entry) become a colour.
enum class Layout {
    Gray8,      // one gray byte
    GrayAlpha,  // gray byte, alpha byte
    Rgb15,      // 5 bits each of blue, green, red, low to high; bit 15 unused
    Rgb16,      // as Rgb15 with bit 15 as a one-bit alpha
    Bgr24,
    Bgra32,
    Index8,     // a colour-map index
    Index16,
};

unsigned int BytesOf(Layout layout)
{
    switch (layout) {
    case Layout::Gray8:
    case Layout::Index8: return 1;
    case Layout::GrayAlpha:
    case Layout::Rgb15:
    case Layout::Rgb16:
    case Layout::Index16: return 2;
    case Layout::Bgr24: return 3;
    case Layout::Bgra32: return 4;
    }
    return 1;
}

// A 5-bit channel spread over 0 to 255.
unsigned char Expand5(unsigned int value)
{
    return static_cast<unsigned char>((value << 3) | (value >> 2));
}

// The colour of one pixel of a layout that is not an index.
ColorI Direct(Layout layout, unsigned char const *in)
{
    switch (layout) {
    case Layout::Gray8: return ColorI(in[0], in[0], in[0], 255);
    case Layout::GrayAlpha: return ColorI(in[0], in[0], in[0], in[1]);
    case Layout::Rgb15:
    case Layout::Rgb16: {
        unsigned int const word = in[0] | (in[1] << 8);
        unsigned char const alpha = layout == Layout::Rgb15 || (word & 0x8000) != 0 ? 255 : 0;
        return ColorI(Expand5((word >> 10) & 31), Expand5((word >> 5) & 31), Expand5(word & 31), alpha);
    }
    case Layout::Bgr24: return ColorI(in[2], in[1], in[0], 255);
    default: return ColorI(in[2], in[1], in[0], in[3]);
    }
}

// Hands out the pixels of the data area one after another, raw or through
// RLE packets (which may run on into the next row), looking indices up in
// the colour map.
class PixelSource {
public:
    PixelSource(ByteReader &reader, Layout layout, bool rle, std::vector<ColorI> const &map, unsigned int first_entry)
        : reader_(reader), layout_(layout), bytes_(BytesOf(layout)), rle_(rle), map_(map), first_entry_(first_entry)
    {
    }

    void ReadRow(ColorI *out, unsigned int width)
    {
        if (!rle_) {
            raw_.resize(std::size_t{width} * bytes_);
            reader_.ReadExact(raw_.data(), raw_.size(), "reading TGA: pixel rows");
            Convert(raw_.data(), out, width);
            return;
        }
        unsigned int x = 0;
        while (x < width) {
            if (remaining_ == 0)
                NextPacket();
            unsigned int const count = std::min(remaining_, width - x);
            if (run_) {
                std::fill(out + x, out + x + count, run_pixel_);
            } else {
                Convert(raw_.data() + std::size_t{raw_position_} * bytes_, out + x, count);
                raw_position_ += count;
            }
            x += count;
            remaining_ -= count;
        }
    }

private:
    void NextPacket()
    {
        unsigned int const header = reader_.U8("reading TGA: RLE packet");
        remaining_ = (header & 0x7F) + 1;
        run_ = (header & 0x80) != 0;
        raw_.resize(std::size_t{run_ ? 1 : remaining_} * bytes_);
        reader_.ReadExact(raw_.data(), raw_.size(), "reading TGA: RLE packet");
        raw_position_ = 0;
        if (run_)
            Convert(raw_.data(), &run_pixel_, 1);
    }

    void Convert(unsigned char const *in, ColorI *out, unsigned int count) const
    {
        if (layout_ != Layout::Index8 && layout_ != Layout::Index16) {
            for (unsigned int i = 0; i < count; ++i, in += bytes_)
                out[i] = Direct(layout_, in);
            return;
        }
        for (unsigned int i = 0; i < count; ++i, in += bytes_) {
            unsigned int const index = layout_ == Layout::Index8 ? in[0] : in[0] | (in[1] << 8);
            if (index < first_entry_ || index - first_entry_ >= map_.size())
                Fail("colour index " + std::to_string(index) + " is outside the map's entries " +
                     std::to_string(first_entry_) + " to " + std::to_string(first_entry_ + map_.size() - 1));
            out[i] = map_[index - first_entry_];
        }
    }

    ByteReader &reader_;
    Layout layout_;
    unsigned int bytes_;
    bool rle_;
    std::vector<ColorI> const &map_;
    unsigned int first_entry_;
    bool run_ = false;
    unsigned int remaining_ = 0;
    unsigned int raw_position_ = 0;
    ColorI run_pixel_;
    std::vector<unsigned char> raw_;
};

// The layout of `bits` for a true-colour value; alpha_bits (from the image
// descriptor) decides whether bit 15 of a 16-bit value is alpha.
bool ColourLayout(unsigned int bits, unsigned int alpha_bits, Layout &layout)
{
    switch (bits) {
    case 15: layout = Layout::Rgb15; return true;
    case 16: layout = alpha_bits > 0 ? Layout::Rgb16 : Layout::Rgb15; return true;
    case 24: layout = Layout::Bgr24; return true;
    case 32: layout = Layout::Bgra32; return true;
    default: return false;
    }
}

bool HasAlpha(Layout layout)
{
    return layout == Layout::GrayAlpha || layout == Layout::Rgb16 || layout == Layout::Bgra32;
}

}  // namespace

void DecodeTga(ByteReader &reader, PixelImage &image)
{
    unsigned char header[18];
    reader.ReadExact(header, sizeof header, "reading TGA: header");
    unsigned int const id_length = header[0];
    unsigned int const colour_map_type = header[1];
    unsigned int const image_type = header[2];
    unsigned int const first_entry = header[3] | (header[4] << 8);
    unsigned int const map_length = header[5] | (header[6] << 8);
    unsigned int const map_entry_bits = header[7];
    unsigned int const width = header[12] | (header[13] << 8);
    unsigned int const height = header[14] | (header[15] << 8);
    unsigned int const bits = header[16];
    unsigned int const descriptor = header[17];
    unsigned int const alpha_bits = descriptor & 0x0F;

    bool const mapped = image_type == 1 || image_type == 9;
    bool const gray = image_type == 3 || image_type == 11;
    bool const rle = image_type >= 9;
    if (!mapped && !gray && image_type != 2 && image_type != 10)
        Fail("image type " + std::to_string(image_type) + " is not a colour-mapped, true-colour or gray image");
    if (colour_map_type > 1)
        Fail("colour map type " + std::to_string(colour_map_type) + " is unknown");
    if (mapped && colour_map_type != 1)
        Fail("a colour-mapped image without a colour map");
    Layout layout = Layout::Gray8;
    bool const known = mapped ? bits == 8 || bits == 16
                       : gray ? bits == 8 || bits == 16
                              : ColourLayout(bits, alpha_bits, layout);
    if (!known)
        Fail(std::to_string(bits) + " bits per pixel are not supported for image type " +
             std::to_string(image_type));
    if (mapped)
        layout = bits == 8 ? Layout::Index8 : Layout::Index16;
    else if (gray)
        layout = bits == 8 ? Layout::Gray8 : Layout::GrayAlpha;
    CheckDimensions(width, height, "TGA");

    reader.Skip(id_length, "reading TGA: image id");
    std::vector<ColorI> map;
    Layout entry_layout = Layout::Bgr24;
    if (colour_map_type == 1) {
        if (mapped && !ColourLayout(map_entry_bits, alpha_bits, entry_layout))
            Fail("colour-map entries of " + std::to_string(map_entry_bits) + " bits are not supported");
        std::uint64_t const entry_bytes = (map_entry_bits + 7) / 8;
        if (!mapped) {
            reader.Skip(std::uint64_t{map_length} * entry_bytes, "reading TGA: colour map");
        } else {
            // At most 65535 entries of 4 bytes: small enough to take whole.
            std::vector<unsigned char> entries(map_length * entry_bytes);
            reader.ReadExact(entries.data(), entries.size(), "reading TGA: colour map");
            map.resize(map_length);
            for (unsigned int i = 0; i < map_length; ++i)
                map[i] = Direct(entry_layout, entries.data() + i * entry_bytes);
        }
    }

    RowCollector rows(image, width, height, (descriptor & 0x20) == 0,
                      !rle && Holds(reader, std::uint64_t{width} * height * BytesOf(layout)));
    PixelSource source(reader, layout, rle, map, first_entry);
    bool const right_to_left = (descriptor & 0x10) != 0;
    for (unsigned int y = 0; y < height; ++y) {
        ColorI *row = rows.NextRow();
        source.ReadRow(row, width);
        if (right_to_left)
            std::reverse(row, row + width);
    }
    // Many writers leave the alpha bits 0 everywhere: such a file is opaque.
    if (HasAlpha(mapped ? entry_layout : layout))
        rows.MakeOpaqueIfAllTransparent();
    rows.Commit();
}

bool EncodeTga(PixelImage const &image, ByteWriter &writer, int bits_per_pixel)
{
    if (!HasPixels(image) || image.Width() > 65535 || image.Height() > 65535)
        return false;
    unsigned int const bytes = bits_per_pixel == 32 ? 4 : 3;
    unsigned int const width = image.Width();
    unsigned int const height = image.Height();
    unsigned char header[18] = {};
    header[2] = 2;
    header[12] = static_cast<unsigned char>(width);
    header[13] = static_cast<unsigned char>(width >> 8);
    header[14] = static_cast<unsigned char>(height);
    header[15] = static_cast<unsigned char>(height >> 8);
    header[16] = static_cast<unsigned char>(bytes * 8);
    header[17] = static_cast<unsigned char>(0x20 | (bytes == 4 ? 8 : 0));  // top-left origin
    writer.Write(header, sizeof header);
    std::vector<unsigned char> line(std::size_t{width} * bytes);
    for (unsigned int y = 0; y < height; ++y) {
        ColorI const *in = &image(0, y);
        unsigned char *out = line.data();
        for (unsigned int x = 0; x < width; ++x, out += bytes) {
            out[0] = in[x][0];
            out[1] = in[x][1];
            out[2] = in[x][2];
            if (bytes == 4)
                out[3] = in[x][3];
        }
        writer.Write(line.data(), line.size());
    }
    return true;
}

}  // namespace kolt::codec
