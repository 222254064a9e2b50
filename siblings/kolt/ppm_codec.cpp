// Portable pixmap decoder (P3 and P6) and encoder (P6).
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
    if (magic[0] != 'P' || (magic[1] != '3' && magic[1] != '6'))
        Fail("the file does not start with P3 or P6");
    bool const binary = magic[1] == '6';
    TokenReader tokens(reader);
    unsigned int const width = tokens.Number(kMaxDimension + 1, "reading PPM: width");
    unsigned int const height = tokens.Number(kMaxDimension + 1, "reading PPM: height");
    unsigned int const max_value = tokens.Number(65535, "reading PPM: maximum value");
    CheckDimensions(width, height, "PPM");
    if (max_value == 0)
        Fail("the maximum value is 0");

    RowCollector rows(width, height);
    if (!binary) {
        for (unsigned int y = 0; y < height; ++y) {
            ColorI *row = rows.NextRow();
            for (unsigned int x = 0; x < width; ++x) {
                unsigned char rgb[3];
                for (unsigned char &sample : rgb)
                    sample = Scale(tokens.Number(65535, "reading PPM: sample"), max_value);
                row[x] = ColorI(rgb[0], rgb[1], rgb[2], 255);
            }
        }
        rows.Commit(image, false);
        return;
    }
    // Exactly one whitespace character separates the header from the samples.
    if (!IsSpace(tokens.Last()))
        Fail("no whitespace after the maximum value");
    unsigned int const sample_bytes = max_value > 255 ? 2 : 1;
    std::vector<unsigned char> line(std::size_t{width} * 3 * sample_bytes);
    for (unsigned int y = 0; y < height; ++y) {
        reader.ReadExact(line.data(), line.size(), "reading PPM: pixel rows");
        ColorI *row = rows.NextRow();
        unsigned char const *in = line.data();
        if (max_value == 255) {
            for (unsigned int x = 0; x < width; ++x, in += 3)
                row[x] = ColorI(in[0], in[1], in[2], 255);
            continue;
        }
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char rgb[3];
            for (unsigned char &sample : rgb) {
                unsigned int value = *in++;
                if (sample_bytes == 2)
                    value = (value << 8) | *in++;
                sample = Scale(value, max_value);
            }
            row[x] = ColorI(rgb[0], rgb[1], rgb[2], 255);
        }
    }
    rows.Commit(image, false);
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
