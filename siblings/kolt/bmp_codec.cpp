// Windows bitmap decoder and encoder.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "image_codec.h"

namespace kolt::codec {

namespace {

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;

// An RLE file's escapes can skip pixels without data; beyond this many
// pixels per byte of file a header is taken to lie rather than to compress.
constexpr std::uint64_t kMaxRlePixelsPerByte = 4096;

// Red, green, blue and alpha masks that match ColorI's memory order.
constexpr std::uint32_t kMemoryOrderMasks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

// Skipped RLE pixels and palette images are opaque.
ColorI const kBackground(0xFF000000ul);

[[noreturn]] void Fail(std::string const &cause)
{
    throw DecodeError("reading BMP: " + cause);
}

// One channel of a bit-field pixel: the mask's bits, scaled to 0-255.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask)
    {
        if (mask == 0)
            return;
        shift_ = std::countr_zero(mask);
        std::uint32_t const bits = mask >> shift_;
        if ((bits & (bits + 1)) != 0)
            Fail("bit-field mask " + std::to_string(mask) + " is not contiguous");
        mask_ = mask;
        max_ = bits;
    }
    bool Present() const { return mask_ != 0; }
    unsigned char Extract(std::uint32_t pixel) const
    {
        std::uint32_t const value = (pixel & mask_) >> shift_;
        return static_cast<unsigned char>((std::uint64_t{value} * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint32_t max_ = 1;
};

struct Header {
    std::uint32_t data_offset = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows top first
    unsigned int bits = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t colours_used = 0;
    bool core = false;  // 12-byte header: 3-byte palette entries
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool masks_given = false;
};

Header ReadHeader(ByteReader &reader)
{
    Header header;
    unsigned char magic[2];
    reader.ReadExact(magic, 2, "reading BMP: file header");
    if (magic[0] != 'B' || magic[1] != 'M')
        Fail("the file does not start with BM");
    reader.Skip(8, "reading BMP: file header");
    header.data_offset = reader.U32LE("reading BMP: file header");
    std::uint32_t const info_size = reader.U32LE("reading BMP: info header");
    if (info_size == 12) {
        header.core = true;
        header.width = reader.U16LE("reading BMP: info header");
        header.height = reader.U16LE("reading BMP: info header");
        reader.U16LE("reading BMP: info header");
        header.bits = reader.U16LE("reading BMP: info header");
        return header;
    }
    if (info_size < 40 || info_size > 4096)
        Fail("info header size " + std::to_string(info_size) + " is not supported");
    header.width = static_cast<std::int32_t>(reader.U32LE("reading BMP: info header"));
    header.height = static_cast<std::int32_t>(reader.U32LE("reading BMP: info header"));
    reader.U16LE("reading BMP: info header");
    header.bits = reader.U16LE("reading BMP: info header");
    header.compression = reader.U32LE("reading BMP: info header");
    reader.Skip(12, "reading BMP: info header");
    header.colours_used = reader.U32LE("reading BMP: info header");
    reader.U32LE("reading BMP: info header");
    std::uint32_t remaining = info_size - 40;
    bool const bit_fields =
        header.compression == kCompressionBitFields || header.compression == kCompressionAlphaBitFields;
    int mask_count = 0;
    if (remaining >= 12) {
        // Version 2 and later headers carry the masks inside the header.
        mask_count = remaining >= 16 ? 4 : 3;
    } else if (bit_fields) {
        // A 40-byte header is followed by the masks.
        mask_count = header.compression == kCompressionAlphaBitFields ? 4 : 3;
        remaining += 4 * mask_count;
    }
    for (int i = 0; i < mask_count; ++i)
        header.masks[i] = reader.U32LE("reading BMP: bit-field masks");
    remaining -= std::min<std::uint32_t>(remaining, 4 * mask_count);
    reader.Skip(remaining, "reading BMP: info header");
    header.masks_given = bit_fields;
    return header;
}

void ReadPalette(ByteReader &reader, Header const &header, std::vector<ColorI> &palette)
{
    std::uint32_t count = header.colours_used;
    std::uint32_t const full = 1u << header.bits;
    if (count == 0 || header.core)
        count = full;
    if (count > 256)
        Fail("palette of " + std::to_string(count) + " entries exceeds 256");
    unsigned int const entry_size = header.core ? 3 : 4;
    unsigned char entries[256 * 4];
    reader.ReadExact(entries, std::size_t{count} * entry_size, "reading BMP: palette");
    palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        unsigned char const *entry = entries + i * entry_size;
        palette[i] = ColorI(entry[2], entry[1], entry[0], 255);
    }
}

ColorI PaletteEntry(std::vector<ColorI> const &palette, unsigned int index)
{
    if (index >= palette.size())
        Fail("palette index " + std::to_string(index) + " is past the " + std::to_string(palette.size()) +
             " entries");
    return palette[index];
}

// Uncompressed and bit-field rows. Returns whether the file carried alpha.
bool DecodeRows(ByteReader &reader, Header const &header, std::vector<ColorI> const &palette,
                RowCollector &rows)
{
    unsigned int const width = rows.Width();
    std::size_t const stride = (std::size_t{width} * header.bits + 31) / 32 * 4;
    std::vector<unsigned char> line(stride);
    Channel red, green, blue, alpha;
    if (header.bits == 16 || header.bits == 32) {
        if (header.masks_given) {
            red = Channel(header.masks[0]);
            green = Channel(header.masks[1]);
            blue = Channel(header.masks[2]);
            alpha = Channel(header.masks[3]);
        } else if (header.bits == 16) {
            red = Channel(0x7C00);
            green = Channel(0x03E0);
            blue = Channel(0x001F);
        }
    }
    // Pixels already in memory order are copied as they are.
    bool const plain32 =
        header.bits == 32 && (!header.masks_given || (header.masks[0] == kMemoryOrderMasks[0] &&
                                                      header.masks[1] == kMemoryOrderMasks[1] &&
                                                      header.masks[2] == kMemoryOrderMasks[2] &&
                                                      (header.masks[3] == kMemoryOrderMasks[3] || header.masks[3] == 0)));
    bool const copied_alpha = plain32 && (!header.masks_given || header.masks[3] != 0);
    for (unsigned int row = 0; row < rows.Height(); ++row) {
        reader.ReadExact(line.data(), stride, "reading BMP: pixel rows");
        ColorI *out = rows.NextRow();
        unsigned char const *in = line.data();
        switch (header.bits) {
        case 1:
        case 4:
        case 8: {
            unsigned int const per_byte = 8 / header.bits;
            unsigned int const mask = (1u << header.bits) - 1;
            for (unsigned int x = 0; x < width; ++x) {
                unsigned int const shift = (per_byte - 1 - x % per_byte) * header.bits;
                out[x] = PaletteEntry(palette, (in[x / per_byte] >> shift) & mask);
            }
            break;
        }
        case 24:
            for (unsigned int x = 0; x < width; ++x, in += 3)
                out[x] = ColorI(in[2], in[1], in[0], 255);
            break;
        case 32:
            if (plain32) {
                std::memcpy(out, in, std::size_t{width} * 4);
                if (!copied_alpha)
                    for (unsigned int x = 0; x < width; ++x)
                        out[x][3] = 255;
                break;
            }
            [[fallthrough]];
        case 16: {
            unsigned int const bytes = header.bits / 8;
            for (unsigned int x = 0; x < width; ++x, in += bytes) {
                std::uint32_t pixel = in[0] | (in[1] << 8);
                if (bytes == 4)
                    pixel |= (std::uint32_t{in[2]} << 16) | (std::uint32_t{in[3]} << 24);
                out[x] = ColorI(red.Extract(pixel), green.Extract(pixel), blue.Extract(pixel),
                                alpha.Present() ? alpha.Extract(pixel) : 255);
            }
            break;
        }
        }
    }
    return copied_alpha || alpha.Present();
}

// RLE8 and RLE4: runs, absolute runs and the escapes end of line, end of
// bitmap and delta. Skipped pixels are background.
class RleDecoder {
public:
    RleDecoder(ByteReader &reader, std::vector<ColorI> const &palette, RowCollector &rows, bool four_bit)
        : reader_(reader), palette_(palette), rows_(rows), four_bit_(four_bit)
    {
    }

    void Run()
    {
        StartRow();
        for (;;) {
            unsigned char pair[2];
            if (reader_.ReadUpTo(pair, 2) != 2) {
                // Some writers stop in the last row without an end mark.
                if (rows_.RowsDone() == rows_.Height())
                    return;
                Fail("RLE data ends before the end of the bitmap");
            }
            if (pair[0] > 0) {
                Repeat(pair[0], pair[1]);
            } else if (pair[1] == 0) {
                EndLine();
            } else if (pair[1] == 1) {
                while (row_ != nullptr)
                    StartRow();
                return;
            } else if (pair[1] == 2) {
                unsigned int const dx = reader_.U8("reading BMP: RLE delta");
                unsigned int const dy = reader_.U8("reading BMP: RLE delta");
                Delta(dx, dy);
            } else {
                Absolute(pair[1]);
            }
        }
    }

private:
    void StartRow()
    {
        if (rows_.RowsDone() == rows_.Height()) {
            row_ = nullptr;
            return;
        }
        std::uint64_t const pixels = std::uint64_t{rows_.RowsDone() + 1} * rows_.Width();
        if (pixels > kMaxRlePixelsPerByte * reader_.Consumed())
            Fail("RLE codes skip more pixels than " + std::to_string(reader_.Consumed()) +
                 " bytes can describe");
        row_ = rows_.NextRow();
        std::fill(row_, row_ + rows_.Width(), kBackground);
        x_ = 0;
    }

    void EndLine()
    {
        if (row_ == nullptr)
            Fail("RLE end of line past the last row");
        StartRow();
    }

    ColorI *Place(unsigned int count)
    {
        if (row_ == nullptr)
            Fail("RLE run past the last row");
        if (x_ + count > rows_.Width())
            Fail("RLE run of " + std::to_string(count) + " at column " + std::to_string(x_) +
                 " passes the row's end");
        ColorI *out = row_ + x_;
        x_ += count;
        return out;
    }

    void Repeat(unsigned int count, unsigned char value)
    {
        ColorI *out = Place(count);
        if (!four_bit_) {
            std::fill(out, out + count, PaletteEntry(palette_, value));
            return;
        }
        ColorI const high = PaletteEntry(palette_, value >> 4);
        ColorI const low = count > 1 ? PaletteEntry(palette_, value & 15) : high;
        for (unsigned int i = 0; i < count; ++i)
            out[i] = i % 2 == 0 ? high : low;
    }

    void Absolute(unsigned int count)
    {
        unsigned int const data_bytes = four_bit_ ? (count + 1) / 2 : count;
        unsigned char data[256];
        reader_.ReadExact(data, data_bytes + data_bytes % 2, "reading BMP: RLE absolute run");
        ColorI *out = Place(count);
        for (unsigned int i = 0; i < count; ++i) {
            unsigned int const index = four_bit_ ? (i % 2 == 0 ? data[i / 2] >> 4 : data[i / 2] & 15) : data[i];
            out[i] = PaletteEntry(palette_, index);
        }
    }

    void Delta(unsigned int dx, unsigned int dy)
    {
        if (row_ == nullptr)
            Fail("RLE delta past the last row");
        if (x_ + dx > rows_.Width() || rows_.RowsDone() - 1 + std::uint64_t{dy} >= rows_.Height())
            Fail("RLE delta leaves the image");
        unsigned int const column = x_ + dx;
        for (unsigned int i = 0; i < dy; ++i)
            StartRow();
        x_ = column;
    }

    ByteReader &reader_;
    std::vector<ColorI> const &palette_;
    RowCollector &rows_;
    bool four_bit_;
    ColorI *row_ = nullptr;
    unsigned int x_ = 0;
};

}  // namespace

void DecodeBmp(ByteReader &reader, PixelImage &image, bool opaque)
{
    Header const header = ReadHeader(reader);
    std::int64_t const height = header.height < 0 ? -header.height : header.height;
    CheckDimensions(header.width < 0 ? 0 : static_cast<std::uint64_t>(header.width),
                    static_cast<std::uint64_t>(height), "BMP");
    bool valid = false;
    switch (header.compression) {
    case kCompressionRgb:
        valid = header.bits == 1 || header.bits == 4 || header.bits == 8 || header.bits == 16 ||
                header.bits == 24 || header.bits == 32;
        break;
    case kCompressionRle8:
        valid = header.bits == 8;
        break;
    case kCompressionRle4:
        valid = header.bits == 4;
        break;
    case kCompressionBitFields:
    case kCompressionAlphaBitFields:
        valid = header.bits == 16 || header.bits == 32;
        break;
    }
    if (!valid)
        Fail("compression " + std::to_string(header.compression) + " with " + std::to_string(header.bits) +
             " bits per pixel is not supported");

    std::vector<ColorI> palette;
    if (header.bits <= 8)
        ReadPalette(reader, header, palette);
    if (header.data_offset > reader.Consumed())
        reader.Skip(header.data_offset - reader.Consumed(), "reading BMP: gap before the pixels");

    RowCollector rows(static_cast<unsigned int>(header.width), static_cast<unsigned int>(height));
    bool has_alpha = false;
    if (header.compression == kCompressionRle8 || header.compression == kCompressionRle4)
        RleDecoder(reader, palette, rows, header.compression == kCompressionRle4).Run();
    else
        has_alpha = DecodeRows(reader, header, palette, rows);
    if (opaque)
        rows.MakeOpaque();
    else if (has_alpha)
        rows.MakeOpaqueIfAllTransparent();
    rows.Commit(image, header.height > 0);
}

bool EncodeBmp(PixelImage const &image, ByteWriter &writer, int bits_per_pixel, bool top_down)
{
    if (!HasPixels(image))
        return false;
    bool const with_alpha = bits_per_pixel == 32;
    unsigned int const bits = with_alpha ? 32 : 24;
    // 32-bit files carry a version 4 header with an alpha mask: most readers
    // ignore the fourth byte of a plain 32-bit file.
    std::uint32_t const info_size = with_alpha ? 108 : 40;
    std::uint32_t const data_offset = 14 + info_size;
    unsigned int const width = image.Width();
    unsigned int const height = image.Height();
    std::size_t const stride = (std::size_t{width} * bits + 31) / 32 * 4;
    std::uint64_t const data_size = std::uint64_t{stride} * height;
    if (data_size + data_offset > UINT32_MAX)
        return false;
    writer.Write("BM", 2);
    writer.U32LE(static_cast<std::uint32_t>(data_offset + data_size));
    writer.U32LE(0);
    writer.U32LE(data_offset);
    writer.U32LE(info_size);
    writer.U32LE(width);
    writer.U32LE(top_down ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)) : height);
    writer.U16LE(1);
    writer.U16LE(static_cast<std::uint16_t>(bits));
    writer.U32LE(with_alpha ? kCompressionBitFields : kCompressionRgb);
    writer.U32LE(static_cast<std::uint32_t>(data_size));
    writer.U32LE(2835);  // 72 dots per inch, in dots per metre
    writer.U32LE(2835);
    writer.U32LE(0);
    writer.U32LE(0);
    if (with_alpha) {
        for (std::uint32_t const mask : kMemoryOrderMasks)
            writer.U32LE(mask);
        writer.U32LE(0x73524742);  // colour space "sRGB"
        unsigned char const unused[48] = {};  // end points and gamma
        writer.Write(unused, sizeof unused);
    }
    std::vector<unsigned char> line(stride, 0);
    for (unsigned int i = 0; i < height; ++i) {
        unsigned int const y = top_down ? i : height - 1 - i;
        ColorI const *in = &image(0, y);
        if (with_alpha) {
            writer.Write(in, stride);
            continue;
        }
        unsigned char *out = line.data();
        for (unsigned int x = 0; x < width; ++x, out += 3) {
            out[0] = in[x][0];
            out[1] = in[x][1];
            out[2] = in[x][2];
        }
        writer.Write(line.data(), stride);
    }
    return true;
}

}  // namespace kolt::codec
