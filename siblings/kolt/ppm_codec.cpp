// Portable any-map decoder (bitmaps P1 and P4, graymaps P2 and P5, pixmaps
// P3 and P6) and pixmap encoder (P6).
#include <string>
#include <vector>

#include "image_codec.h"

namespace kolt::codec {

namespace {

[[noreturn]] void Fail(std::string const &cause)
{
    throw DecodeError("reading PPM: " + cause);
}

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads the file one byte at a time, so that nothing past the image is
// taken from the stream.
class TokenReader {
public:
    explicit TokenReader(ByteReader &reader) : reader_(reader) {}

    // The next decimal number, after whitespace and comments; at most `limit`.
    unsigned int Number(unsigned int limit, char const *what)
    {
        int c = SkipSpace(what);
        if (c < '0' || c > '9')
            Fail(std::string(what) + ": expected a number");
        std::uint64_t value = 0;
        while (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<unsigned int>(c - '0');
            if (value > limit)
                Fail(std::string(what) + " exceeds " + std::to_string(limit));
            c = Byte();
        }
        if (c >= 0 && !IsSpace(c) && c != '#')
            Fail(std::string(what) + ": unexpected character after the number");
        last_ = c;
        return static_cast<unsigned int>(value);
    }

    // The next bit of a text bitmap: '0' or '1', after optional whitespace
    // and comments (bits need no separator).
    bool Bit()
    {
        int const c = SkipSpace("reading PPM: bit");
        if (c != '0' && c != '1')
            Fail("reading PPM: bit: expected 0 or 1");
        last_ = 0;
        return c == '1';
    }

    // The character that ended the last number (-1 at the end of the data).
    int Last() const { return last_; }

private:
    int Byte()
    {
        unsigned char c;
        return reader_.ReadUpTo(&c, 1) == 1 ? c : -1;
    }

    int SkipSpace(char const *what)
    {
        int c = last_ == '#' ? '#' : Byte();
        for (;;) {
            if (c == '#') {
                while (c != '\n' && c != '\r' && c >= 0)
                    c = Byte();
            } else if (!IsSpace(c)) {
                break;
            }
            c = Byte();
        }
        if (c < 0)
            Fail(std::string(what) + ": data ends");
        return c;
    }

    ByteReader &reader_;
    int last_ = 0;
};

unsigned char Scale(unsigned int value, unsigned int max_value)
{
    if (value > max_value)
        Fail("sample " + std::to_string(value) + " exceeds the maximum " + std::to_string(max_value));
    if (max_value == 255)
        return static_cast<unsigned char>(value);
    return static_cast<unsigned char>((value * 255u + max_value / 2) / max_value);
}

}  // namespace

void DecodePpm(ByteReader &reader, PixelImage &image)
{
    unsigned char magic[2];
    reader.ReadExact(magic, 2, "reading PPM: magic number");
    if (magic[0] != 'P' || magic[1] < '1' || magic[1] > '6')
        Fail("the file does not start with P1 to P6");
    int const kind = (magic[1] - '1') % 3;  // 0 bitmap, 1 graymap, 2 pixmap
    bool const binary = magic[1] >= '4';
    TokenReader tokens(reader);
    unsigned int const width = tokens.Number(kMaxDimension + 1, "reading PPM: width");
    unsigned int const height = tokens.Number(kMaxDimension + 1, "reading PPM: height");
    unsigned int const max_value = kind == 0 ? 1 : tokens.Number(65535, "reading PPM: maximum value");
    CheckDimensions(width, height, "PPM");
    if (max_value == 0)
        Fail("the maximum value is 0");

    unsigned int const channels = kind == 2 ? 3 : 1;
    unsigned int const sample_bytes = max_value > 255 ? 2 : 1;
    std::size_t const row_bytes = kind == 0 ? (std::size_t{width} + 7) / 8
                                            : std::size_t{width} * channels * sample_bytes;
    RowCollector rows(image, width, height, false, binary && Holds(reader, row_bytes * height));
    // Bitmaps store 1 for black.
    auto bit_colour = [](bool set) { return set ? ColorI(0, 0, 0, 255) : ColorI(255, 255, 255, 255); };
    if (!binary) {
        for (unsigned int y = 0; y < height; ++y) {
            ColorI *row = rows.NextRow();
            for (unsigned int x = 0; x < width; ++x) {
                if (kind == 0) {
                    row[x] = bit_colour(tokens.Bit());
                    continue;
                }
                unsigned char rgb[3];
                for (unsigned int c = 0; c < channels; ++c)
                    rgb[c] = Scale(tokens.Number(65535, "reading PPM: sample"), max_value);
                row[x] = channels == 3 ? ColorI(rgb[0], rgb[1], rgb[2], 255) : ColorI(rgb[0], rgb[0], rgb[0], 255);
            }
        }
        rows.Commit();
        return;
    }
    // Exactly one whitespace character separates the header from the samples.
    if (!IsSpace(tokens.Last()))
        Fail(kind == 0 ? "no whitespace after the height" : "no whitespace after the maximum value");
    std::vector<unsigned char> line(row_bytes);
    for (unsigned int y = 0; y < height; ++y) {
        reader.ReadExact(line.data(), line.size(), "reading PPM: pixel rows");
        ColorI *row = rows.NextRow();
        unsigned char const *in = line.data();
        if (kind == 0) {
            for (unsigned int x = 0; x < width; ++x)
                row[x] = bit_colour((in[x / 8] >> (7 - x % 8)) & 1);
            continue;
        }
        if (max_value == 255 && channels == 3) {
            for (unsigned int x = 0; x < width; ++x, in += 3)
                row[x] = ColorI(in[0], in[1], in[2], 255);
            continue;
        }
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char rgb[3];
            for (unsigned int c = 0; c < channels; ++c) {
                unsigned int value = *in++;
                if (sample_bytes == 2)
                    value = (value << 8) | *in++;
                rgb[c] = Scale(value, max_value);
            }
            row[x] = channels == 3 ? ColorI(rgb[0], rgb[1], rgb[2], 255) : ColorI(rgb[0], rgb[0], rgb[0], 255);
        }
    }
    rows.Commit();
}

bool EncodePpm(PixelImage const &image, ByteWriter &writer)
{
    if (!HasPixels(image))
        return false;
    unsigned int const width = image.Width();
    unsigned int const height = image.Height();
    std::string const header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    writer.Write(header.data(), header.size());
    std::vector<unsigned char> line(std::size_t{width} * 3);
    for (unsigned int y = 0; y < height; ++y) {
        ColorI const *in = &image(0, y);
        unsigned char *out = line.data();
        for (unsigned int x = 0; x < width; ++x, out += 3) {
            out[0] = in[x][2];
            out[1] = in[x][1];
            out[2] = in[x][0];
        }
        writer.Write(line.data(), line.size());
    }
    return true;
}

}  // namespace kolt::codec
