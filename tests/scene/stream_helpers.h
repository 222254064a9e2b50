// Helpers shared by the tests that drive records through streams: every
// primitive with its extremes, memory streams from and to bytes, a source of
// unknown size, and the message of an expected IOException.
#pragma once

#include <tessiv/scene/stream.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace stream_test {

inline std::vector<unsigned char> Bytes(kolt::CStreamMem const &stream)
{
    return {stream.get_data().begin(), stream.get_data().end()};
}

inline std::string Text(kolt::CStreamMem const &stream)
{
    return {stream.get_data().begin(), stream.get_data().end()};
}

// A memory stream holding bytes, to be read in the given mode.
inline kolt::CStreamMem MemStream(std::string_view bytes, bool ascii = false)
{
    kolt::CStreamMem stream;
    stream.set_ascii(ascii);
    stream.set_data(bytes.data(), static_cast<unsigned int>(bytes.size()));
    return stream;
}

// The next value of type T from the stream.
template <class T>
T Read(kolt::CStreamI &stream)
{
    T value{};
    stream >> value;
    return value;
}

// The message of the IOException that action throws ("" and a failure if none).
template <class Action>
std::string FailureOf(Action action)
{
    try {
        action();
    } catch (kolt::IOException const &error) {
        return error.what();
    }
    ADD_FAILURE() << "no IOException thrown";
    return "";
}

// An input stream that cannot tell how much is left, as over a pipe.
class UnsizedStream : public kolt::CStreamI {
public:
    explicit UnsizedStream(std::string bytes) : data_(std::move(bytes)) {}
    std::size_t largest_request = 0;

protected:
    unsigned int read_source(void *buffer, unsigned int size) override
    {
        largest_request = std::max<std::size_t>(largest_request, size);
        std::size_t const take = std::min<std::size_t>(size, data_.size() - offset_);
        std::memcpy(buffer, data_.data() + offset_, take);
        offset_ += take;
        return static_cast<unsigned int>(take);
    }

private:
    std::string data_;
    std::size_t offset_ = 0;
};

// Calls each with every primitive the streams carry, extremes included.
template <class Each>
void ForEveryPrimitive(Each each)
{
    using Double = std::numeric_limits<double>;
    for (double d : {0.0, -0.0, 0.1, -1.5e300, 4.9406564584124654e-324, 2.2250738585072009e-308, Double::max(),
                     Double::infinity(), -Double::infinity()})
        each(d);
    for (float f : {0.1f, -0.0f, 1.4e-45f, std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity()})
        each(f);
    each(std::nan(""));
    each(-std::numeric_limits<float>::quiet_NaN());
    each(INT_MIN);
    each(INT_MAX);
    each(0u);
    each(UINT_MAX);
    each(static_cast<long>(INT32_MIN));
    each(static_cast<unsigned long>(UINT32_MAX));  // the largest unsigned long that fits four bytes
    each(true);
    each(false);
    each('q');
    each(static_cast<unsigned char>(255));
    each(ULLONG_MAX);
}

// Writes every primitive in the stream's current mode, spaced in text mode.
inline void WriteEveryPrimitive(kolt::CStreamO &stream)
{
    ForEveryPrimitive([&](auto value) {
        stream << value;
        if (stream.ascii())
            stream.textout(" ");
    });
}

// Reads what WriteEveryPrimitive wrote, in the same mode, and checks it bit for bit.
inline void CheckEveryPrimitive(kolt::CStreamI &stream)
{
    ForEveryPrimitive([&](auto want) {
        using T = decltype(want);
        T got{};
        if constexpr (std::is_same_v<T, char>)
            if (stream.ascii())
                stream >> got;  // a text char is the next byte as it stands: here the separator
        stream >> got;
        if constexpr (std::is_floating_point_v<T>)
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(got));
                EXPECT_EQ(std::signbit(got), std::signbit(want)) << "a NaN keeps its sign";
                return;
            }
        EXPECT_EQ(std::memcmp(&got, &want, sizeof want), 0) << "wrote " << +want << ", read " << +got;
    });
}

}  // namespace stream_test
