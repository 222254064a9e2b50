// Targa decoder and encoder: true-colour and gray images, raw or RLE.
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

// Hands out the pixels of the data area one after another, raw or through
// RLE packets (which may run on into the next row).
class PixelSource {
public:
    PixelSource(ByteReader &reader, unsigned int bytes_per_pixel, bool rle)
        : reader_(reader), bytes_(bytes_per_pixel), rle_(rle)
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
        switch (bytes_) {
        case 1:
            for (unsigned int i = 0; i < count; ++i)
                out[i] = ColorI(in[i], in[i], in[i], 255);
            break;
        case 3:
            for (unsigned int i = 0; i < count; ++i, in += 3)
                out[i] = ColorI(in[2], in[1], in[0], 255);
            break;
        default:
            for (unsigned int i = 0; i < count; ++i, in += 4)
                out[i] = ColorI(in[2], in[1], in[0], in[3]);
            break;
        }
    }

    ByteReader &reader_;
    unsigned int bytes_;
    bool rle_;
    bool run_ = false;
    unsigned int remaining_ = 0;
    unsigned int raw_position_ = 0;
    ColorI run_pixel_;
    std::vector<unsigned char> raw_;
};

}  // namespace

void DecodeTga(ByteReader &reader, PixelImage &image)
{
    unsigned char header[18];
    reader.ReadExact(header, sizeof header, "reading TGA: header");
    unsigned int const id_length = header[0];
    unsigned int const colour_map_type = header[1];
    unsigned int const image_type = header[2];
    unsigned int const map_length = header[5] | (header[6] << 8);
    unsigned int const map_entry_bits = header[7];
    unsigned int const width = header[12] | (header[13] << 8);
    unsigned int const height = header[14] | (header[15] << 8);
    unsigned int const bits = header[16];
    unsigned int const descriptor = header[17];

    bool const gray = image_type == 3 || image_type == 11;
    bool const rle = image_type == 10 || image_type == 11;
    if (image_type != 2 && image_type != 3 && image_type != 10 && image_type != 11)
        Fail("image type " + std::to_string(image_type) + " is not a true-colour or gray image");
    if (colour_map_type > 1)
        Fail("colour map type " + std::to_string(colour_map_type) + " is unknown");
    if (gray ? bits != 8 : bits != 24 && bits != 32)
        Fail(std::to_string(bits) + " bits per pixel are not supported");
    CheckDimensions(width, height, "TGA");

    reader.Skip(id_length, "reading TGA: image id");
    if (colour_map_type == 1)
        reader.Skip(std::uint64_t{map_length} * ((map_entry_bits + 7) / 8), "reading TGA: colour map");

    RowCollector rows(width, height);
    PixelSource source(reader, bits / 8, rle);
    bool const right_to_left = (descriptor & 0x10) != 0;
    for (unsigned int y = 0; y < height; ++y) {
        ColorI *row = rows.NextRow();
        source.ReadRow(row, width);
        if (right_to_left)
            std::reverse(row, row + width);
    }
    if (bits == 32)
        rows.MakeOpaqueIfAllTransparent();
    rows.Commit(image, (descriptor & 0x20) == 0);
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
