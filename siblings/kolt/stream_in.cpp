// kolt::CStreamI: reading every value back in binary and in text mode (the
// format is described in stream.h), through the 4096-byte read buffer.
#include <tessiv/scene/stream.h>

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>
#include <type_traits>

#include "stream_wire.h"

namespace kolt {

namespace {

// Longest number token accepted; longer ones are malformed. Generous, so a
// hand-written text file with many digits still reads.
constexpr std::size_t kMaxNumberToken = 256;

// Chunk in which read_counted grows its result when the source cannot say
// how much is left.
constexpr std::uint64_t kCountedChunk = 64 * 1024;

// Throws unless the token is short enough to be a number.
void CheckNumberLength(CStreamI &stream, char const *text, std::size_t length, char const *operation)
{
    if (length > kMaxNumberToken)
        wire::Fail(stream, operation,
                   "token " + wire::QuoteToken(text, length) + " is longer than " +
                       std::to_string(kMaxNumberToken) + " characters");
}

// The value of a whole token as T; throws when the token is not a number
// or, though well-formed, is out of T's range.
template <class T>
T ParseWhole(CStreamI &stream, char const *text, std::size_t length, char const *operation)
{
    T value{};
    std::from_chars_result result = std::from_chars(text, text + length, value);
    bool whole = result.ptr == text + length;
    if (whole && result.ec == std::errc::result_out_of_range)
        wire::Fail(stream, operation, wire::QuoteToken(text, length) + " is out of range");
    if (!whole || result.ec != std::errc())
        wire::Fail(stream, operation, "token " + wire::QuoteToken(text, length) + " is not a number");
    return value;
}

}  // namespace

CStreamI::CStreamI(bool ascii) : m_ascii(ascii) {}

unsigned int CStreamI::refill()
{
    unsigned int got = read_source(m_rbuffer, sizeof m_rbuffer);
    m_rptr = m_rbuffer;
    m_rend = m_rbuffer + got;
    // A source that knows its size reports the end as soon as it is reached,
    // not only on the next, empty refill.
    set_eof(got < sizeof m_rbuffer || source_size_left() == 0);
    return got;
}

unsigned int CStreamI::read_some(void *data, unsigned int size)
{
    auto *out = static_cast<unsigned char *>(data);
    unsigned int done = 0;
    while (done < size) {
        auto buffered = static_cast<unsigned int>(m_rend - m_rptr);
        if (buffered == 0) {
            unsigned int wanted = size - done;
            // Large remainders bypass the read buffer.
            if (wanted >= sizeof m_rbuffer) {
                unsigned int got = read_source(out + done, wanted);
                done += got;
                set_eof(got < wanted || source_size_left() == 0);
                if (got < wanted)
                    break;
                continue;
            }
            buffered = refill();
            if (buffered == 0)
                break;
        }
        unsigned int take = std::min(buffered, size - done);
        std::memcpy(out + done, m_rptr, take);
        m_rptr += take;
        done += take;
    }
    return done;
}

void CStreamI::read_slow(void *data, unsigned int size, char const *operation)
{
    unsigned int done = read_some(data, size);
    if (done < size)
        wire::Fail(*this, operation,
                   "end of data after " + std::to_string(done) + " of " + std::to_string(size) +
                       " bytes");
}

int CStreamI::read(void *data, unsigned int size)
{
    if (size <= static_cast<std::size_t>(m_rend - m_rptr)) {
        if (size > 0)
            std::memcpy(data, m_rptr, size);
        m_rptr += size;
    } else {
        read_slow(data, size, "reading bytes");
    }
    return static_cast<int>(size);
}

template <class T>
void CStreamI::read_binary(T &value, char const *operation)
{
    unsigned char bytes[sizeof(T)];
    if (m_rend - m_rptr >= static_cast<std::ptrdiff_t>(sizeof bytes)) {
        std::memcpy(bytes, m_rptr, sizeof bytes);
        m_rptr += sizeof bytes;
    } else {
        read_slow(bytes, sizeof bytes, operation);
    }
    value = wire::LoadLittle<T>(bytes);
}

std::size_t CStreamI::next_token(char *text, std::size_t capacity, char const *operation)
{
    std::bitset<256> delimiter;
    for (char const *d = m_delimitor; *d != '\0'; ++d)
        delimiter.set(static_cast<unsigned char>(*d));

    // Skip the delimiters before the token.
    for (;;) {
        if (m_rptr == m_rend && refill() == 0)
            wire::Fail(*this, operation, "end of data");
        while (m_rptr != m_rend && delimiter.test(static_cast<unsigned char>(*m_rptr)))
            ++m_rptr;
        if (m_rptr != m_rend)
            break;
    }
    // Collect up to the next delimiter, which stays unread.
    std::size_t length = 0;
    for (;;) {
        char const *start = m_rptr;
        while (m_rptr != m_rend && !delimiter.test(static_cast<unsigned char>(*m_rptr)))
            ++m_rptr;
        auto run = static_cast<std::size_t>(m_rptr - start);
        if (length + 1 < capacity) {
            std::size_t keep = std::min(run, capacity - 1 - length);
            std::memcpy(text + length, start, keep);
        }
        length += run;
        if (m_rptr != m_rend || refill() == 0)
            break;
    }
    if (capacity > 0)
        text[std::min(length, capacity - 1)] = '\0';
    return length;
}

bool CStreamI::get_token(char *token, unsigned int size)
{
    return next_token(token, size, "reading token") < size;
}

template <class T>
void CStreamI::read_integer_text(T &value, long long low, unsigned long long high,
                                 char const *operation)
{
    char text[kMaxNumberToken + 1];
    std::size_t length = next_token(text, sizeof text, operation);
    CheckNumberLength(*this, text, length, operation);
    // Parsed in the widest type of the same signedness, then held to the
    // field's range (long keeps the four-byte range of the wire).
    using Wide = std::conditional_t<std::is_signed_v<T>, long long, unsigned long long>;
    Wide wide = ParseWhole<Wide>(*this, text, length, operation);
    bool in_range;
    if constexpr (std::is_signed_v<T>)
        in_range = wide >= low && wide <= static_cast<long long>(high);
    else
        in_range = wide <= high;
    if (!in_range)
        wire::Fail(*this, operation, wire::QuoteToken(text, length) + " is out of range");
    value = static_cast<T>(wide);
}

template <class W, class T>
void CStreamI::read_integer(T &value, long long low, unsigned long long high, char const *operation)
{
    if (m_ascii) {
        read_integer_text(value, low, high, operation);
    } else {
        W wire_value = 0;
        read_binary(wire_value, operation);
        value = static_cast<T>(wire_value);
    }
}

template <class T>
void CStreamI::read_float_text(T &value, char const *operation)
{
    char text[kMaxNumberToken + 1];
    std::size_t length = next_token(text, sizeof text, operation);
    CheckNumberLength(*this, text, length, operation);
    value = ParseWhole<T>(*this, text, length, operation);
}

CStreamI &CStreamI::operator>>(bool &value)
{
    unsigned char byte = 0;
    if (m_ascii) {
        char text[3];
        std::size_t length = next_token(text, sizeof text, "reading bool");
        if (length != 1 || (text[0] != '0' && text[0] != '1'))
            wire::Fail(*this, "reading bool",
                       "token " + wire::QuoteToken(text, std::min<std::size_t>(length, 2)) +
                           (length > 2 ? "..." : "") + " is neither 0 nor 1");
        byte = text[0] == '1';
    } else {
        read_binary(byte, "reading bool");
        if (byte > 1) {
            char hex[8];
            std::to_chars_result result = std::to_chars(hex, hex + sizeof hex, byte, 16);
            wire::Fail(*this, "reading bool",
                       "byte 0x" + std::string(hex, result.ptr) + " is neither 0 nor 1");
        }
    }
    value = byte == 1;
    return *this;
}

CStreamI &CStreamI::operator>>(float &value)
{
    if (m_ascii)
        read_float_text(value, "reading float");
    else
        read_binary(value, "reading float");
    return *this;
}

CStreamI &CStreamI::operator>>(double &value)
{
    if (m_ascii)
        read_float_text(value, "reading double");
    else
        read_binary(value, "reading double");
    return *this;
}

CStreamI &CStreamI::operator>>(unsigned long &value)
{
    read_integer<std::uint32_t>(value, 0, UINT32_MAX, "reading unsigned long");
    return *this;
}

CStreamI &CStreamI::operator>>(unsigned int &value)
{
    read_integer<std::uint32_t>(value, 0, UINT32_MAX, "reading unsigned int");
    return *this;
}

CStreamI &CStreamI::operator>>(long &value)
{
    read_integer<std::int32_t>(value, INT32_MIN, INT32_MAX, "reading long");
    return *this;
}

CStreamI &CStreamI::operator>>(int &value)
{
    read_integer<std::int32_t>(value, INT32_MIN, INT32_MAX, "reading int");
    return *this;
}

CStreamI &CStreamI::operator>>(char &value)
{
    read_binary(value, "reading char");
    return *this;
}

CStreamI &CStreamI::operator>>(unsigned char &value)
{
    read_integer<unsigned char>(value, 0, 255, "reading unsigned char");
    return *this;
}

CStreamI &CStreamI::operator>>(unsigned long long &value)
{
    read_integer<std::uint64_t>(value, 0, UINT64_MAX, "reading unsigned long long");
    return *this;
}

std::uint64_t CStreamI::bytes_left() const
{
    std::uint64_t source = source_size_left();
    if (source == kUnknownSize)
        return kUnknownSize;
    return source + static_cast<std::uint64_t>(m_rend - m_rptr);
}

void CStreamI::ensure_available(std::uint64_t count, std::uint64_t element_size,
                                char const *operation)
{
    std::uint64_t left = bytes_left();
    if (left == kUnknownSize)
        return;
    if (element_size != 0 && count > left / element_size) {
        std::string cause = element_size == 1
            ? "length " + std::to_string(count) + " exceeds the " + std::to_string(left) +
                  " bytes left"
            : "count " + std::to_string(count) + " of " + std::to_string(element_size) +
                  "-byte elements exceeds the " + std::to_string(left) + " bytes left";
        wire::Fail(*this, operation, cause);
    }
}

std::string CStreamI::read_counted(std::uint64_t size, char const *operation)
{
    ensure_available(size, 1, operation);
    bool known = bytes_left() != kUnknownSize;
    std::string bytes;
    if (known)
        bytes.reserve(static_cast<std::size_t>(size));
    // A source of unknown size grows the result chunk by chunk, so a hostile
    // length fails at the end of the real data, not at an allocation.
    while (bytes.size() < size) {
        std::uint64_t chunk = std::min<std::uint64_t>(size - bytes.size(), kCountedChunk);
        std::size_t start = bytes.size();
        bytes.resize(start + static_cast<std::size_t>(chunk));
        unsigned int got = read_some(bytes.data() + start, static_cast<unsigned int>(chunk));
        if (got < chunk)
            wire::Fail(*this, operation,
                       "end of data after " + std::to_string(start + got) + " of " +
                           std::to_string(size) + " bytes");
    }
    return bytes;
}

}  // namespace kolt
