// kolt::CStreamO: the conversions of every value to bytes in binary and in
// text mode (the format is described in stream.h).
#include <tessiv/scene/stream.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "stream_wire.h"

namespace kolt {

namespace {

// A value's wire image, built before it goes to the sink in one piece.
struct Image {
    char bytes[64];  // enough for any integer and the shortest form of any double
    unsigned int size;
};

// The little-endian image of value converted to the wire type W.
template <class W, class T>
Image Binary(T value)
{
    Image image;
    wire::StoreLittle<W>(static_cast<W>(value), reinterpret_cast<unsigned char *>(image.bytes));
    image.size = sizeof(W);
    return image;
}

// Decimal for integers, the shortest exact form for floating point.
template <class T>
Image Text(T value)
{
    Image image;
    std::to_chars_result result = std::to_chars(image.bytes, image.bytes + sizeof image.bytes, value);
    image.size = static_cast<unsigned int>(result.ptr - image.bytes);
    return image;
}

// Hands bytes to the stream's sink and throws when the sink refuses them.
void Put(CStreamO &stream, void const *data, unsigned int size, char const *operation)
{
    if (!stream.write_buffer(static_cast<unsigned char const *>(data), size))
        wire::Fail(stream, operation, "the stream refused " + std::to_string(size) + " bytes");
}

void Put(CStreamO &stream, Image const &image, char const *operation)
{
    Put(stream, image.bytes, image.size, operation);
}

}  // namespace

CStreamO::CStreamO(bool ascii, bool further) : m_ascii(ascii), m_further(further) {}

CStreamO::~CStreamO() = default;

void CStreamO::flush() {}

void CStreamO::textout(char const *text)
{
    if (text == nullptr)
        return;
    std::size_t length = std::strlen(text);
    if (length > UINT32_MAX)
        wire::Fail(*this, "writing text",
                   std::to_string(length) + " characters exceed the four-byte limit of one write");
    Put(*this, text, static_cast<unsigned int>(length), "writing text");
}

bool CStreamO::write(void const *data, unsigned int size)
{
    if (size > 0)
        Put(*this, data, size, "writing bytes");
    return true;
}

CStreamO &CStreamO::operator<<(unsigned long long value)
{
    if (m_ascii)
        Put(*this, Text(value), "writing unsigned long long");
    else
        Put(*this, Binary<std::uint64_t>(value), "writing unsigned long long");
    return *this;
}

CStreamO &CStreamO::operator<<(bool value)
{
    if (m_ascii) {
        Put(*this, value ? "1" : "0", 1, "writing bool");
    } else {
        unsigned char byte = value ? 1 : 0;
        Put(*this, &byte, 1, "writing bool");
    }
    return *this;
}

CStreamO &CStreamO::operator<<(char const *text)
{
    if (m_ascii) {
        textout(text);
        return *this;
    }
    std::size_t length = text == nullptr ? 0 : std::strlen(text);
    if (length > UINT32_MAX)
        wire::Fail(*this, "writing string",
                   "length " + std::to_string(length) + " does not fit the four-byte length field");
    Put(*this, Binary<std::uint32_t>(length), "writing string");
    if (length > 0)
        Put(*this, text, static_cast<unsigned int>(length), "writing string");
    return *this;
}

CStreamO &CStreamO::operator<<(float value)
{
    if (m_ascii)
        Put(*this, Text(value), "writing float");
    else
        Put(*this, Binary<float>(value), "writing float");
    return *this;
}

CStreamO &CStreamO::operator<<(double value)
{
    if (m_ascii)
        Put(*this, Text(value), "writing double");
    else
        Put(*this, Binary<double>(value), "writing double");
    return *this;
}

CStreamO &CStreamO::operator<<(unsigned long value)
{
    if (value > UINT32_MAX)
        wire::Fail(*this, "writing unsigned long",
                   "value " + std::to_string(value) + " does not fit the four-byte field");
    if (m_ascii)
        Put(*this, Text(value), "writing unsigned long");
    else
        Put(*this, Binary<std::uint32_t>(value), "writing unsigned long");
    return *this;
}

CStreamO &CStreamO::operator<<(unsigned int value)
{
    if (m_ascii)
        Put(*this, Text(value), "writing unsigned int");
    else
        Put(*this, Binary<std::uint32_t>(value), "writing unsigned int");
    return *this;
}

CStreamO &CStreamO::operator<<(long value)
{
    if (value < INT32_MIN || value > INT32_MAX)
        wire::Fail(*this, "writing long",
                   "value " + std::to_string(value) + " does not fit the four-byte field");
    if (m_ascii)
        Put(*this, Text(value), "writing long");
    else
        Put(*this, Binary<std::int32_t>(value), "writing long");
    return *this;
}

CStreamO &CStreamO::operator<<(int value)
{
    if (m_ascii)
        Put(*this, Text(value), "writing int");
    else
        Put(*this, Binary<std::int32_t>(value), "writing int");
    return *this;
}

CStreamO &CStreamO::operator<<(char value)
{
    Put(*this, &value, 1, "writing char");
    return *this;
}

CStreamO &CStreamO::operator<<(unsigned char value)
{
    if (m_ascii)
        Put(*this, Text(static_cast<unsigned int>(value)), "writing unsigned char");
    else
        Put(*this, &value, 1, "writing unsigned char");
    return *this;
}

}  // namespace kolt
