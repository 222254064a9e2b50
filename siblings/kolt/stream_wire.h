// Private to libkolt: the byte order of the binary stream format and the
// pieces of the streams' error messages.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include <tessiv/scene/stream.h>

namespace kolt::wire {

// The value's bytes in little-endian order, whatever the host's order.
template <class T>
inline void StoreLittle(T value, unsigned char *bytes)
{
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(bytes, &value, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < sizeof value / 2; ++i)
            std::swap(bytes[i], bytes[sizeof value - 1 - i]);
}

template <class T>
inline T LoadLittle(unsigned char const *bytes)
{
    static_assert(std::is_trivially_copyable_v<T>);
    unsigned char ordered[sizeof(T)];
    std::memcpy(ordered, bytes, sizeof ordered);
    if constexpr (std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < sizeof ordered / 2; ++i)
            std::swap(ordered[i], ordered[sizeof ordered - 1 - i]);
    T value;
    std::memcpy(&value, ordered, sizeof value);
    return value;
}

// Copies a sink's input. Most writes are one value of 8, 4 or 1 bytes; a
// copy of fixed size compiles to a move instead of a library call.
inline void CopyBytes(unsigned char *to, unsigned char const *from, std::size_t size)
{
    switch (size) {
    case 8: std::memcpy(to, from, 8); break;
    case 4: std::memcpy(to, from, 4); break;
    case 1: *to = *from; break;
    case 0: break;
    default: std::memcpy(to, from, size); break;
    }
}

// Fails the stream with the message "<operation>: <cause>". Should an
// override of throw_exception return, the exception is thrown here.
template <class Stream>
[[noreturn]] void Fail(Stream &stream, std::string_view operation, std::string_view cause)
{
    std::string message(operation);
    message += ": ";
    message += cause;
    stream.throw_exception(message.c_str());
    throw IOException(message);
}

// A token as a message shows it: quoted, at most 40 characters, with
// control and non-ASCII bytes as \xNN.
inline std::string QuoteToken(char const *text, std::size_t length)
{
    static char const digits[] = "0123456789abcdef";
    std::string quoted = "\"";
    std::size_t shown = length < 40 ? length : 40;
    for (std::size_t i = 0; i < shown; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\') {
            quoted += static_cast<char>(byte);
        } else {
            quoted += "\\x";
            quoted += digits[byte >> 4];
            quoted += digits[byte & 15];
        }
    }
    quoted += shown < length ? "\"..." : "\"";
    return quoted;
}

}  // namespace kolt::wire
