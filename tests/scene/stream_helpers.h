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
template <class Container>
    requires requires(Container const &c) { c.data(); }
kolt::CStreamMem MemStream(Container const &bytes, bool ascii = false)
{
    kolt::CStreamMem stream;
    stream.set_ascii(ascii);
    stream.set_data(bytes.data(), static_cast<unsigned int>(bytes.size()));
    return stream;
}

inline kolt::CStreamMem MemStream(std::string_view bytes, bool ascii = false)
{
    return MemStream<std::string_view>(bytes, ascii);
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
    template <class Container>
    explicit UnsizedStream(Container const &bytes) : data_(bytes.begin(), bytes.end()) {}
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

inline double const doubles[] = {0.0, -0.0, 0.1, -1.5e300, 4.9406564584124654e-324,
                                 2.2250738585072009e-308, std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()};
inline float const floats[] = {0.1f, -0.0f, 1.4e-45f, std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::infinity()};

// Writes the values in the stream's current mode.
inline void WriteEveryPrimitive(kolt::CStreamO &stream)
{
    bool const ascii = stream.ascii();
    // Each value, then a space in text mode.
    auto put = [&](auto value) {
        stream << value;
        if (ascii)
            stream.textout(" ");
    };
    for (double d : doubles)
        put(d);
    for (float f : floats)
        put(f);
    put(std::nan(""));
    put(-std::numeric_limits<float>::quiet_NaN());
    put(INT_MIN);
    put(INT_MAX);
    put(0u);
    put(UINT_MAX);
    put(static_cast<long>(INT32_MIN));
    put(static_cast<unsigned long>(UINT32_MAX));
    put(true);
    put(false);
    put('q');
    put(static_cast<unsigned char>(255));
    put(ULLONG_MAX);
}

// Reads what WriteEveryPrimitive wrote, in the same mode, and checks it.
inline void CheckEveryPrimitive(kolt::CStreamI &stream)
{
    bool const ascii = stream.ascii();
    for (double d : doubles) {
        double back = 1;
        stream >> back;
        EXPECT_EQ(std::memcmp(&back, &d, sizeof d), 0) << "double " << d << " read as " << back;
    }
    for (float f : floats) {
        float back = 1;
        stream >> back;
        EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << "float " << f << " read as " << back;
    }
    double nan_double = 0;
    float nan_float = 0;
    stream >> nan_double >> nan_float;
    EXPECT_TRUE(std::isnan(nan_double));
    EXPECT_FALSE(std::signbit(nan_double));
    EXPECT_TRUE(std::isnan(nan_float));
    EXPECT_TRUE(std::signbit(nan_float)) << "a NaN keeps its sign";

    int int_min = 0, int_max = 0;
    unsigned int uint_zero = 1, uint_max = 0;
    long long_min = 0;
    unsigned long ulong_max = 0;
    bool yes = false, no = true;
    char c = 0;
    unsigned char uc = 0;
    unsigned long long ull = 0;
    stream >> int_min >> int_max >> uint_zero >> uint_max >> long_min >> ulong_max;
    // A text char is the next byte as it stands, so the separators before
    // and after it are read as chars too.
    char gap = 0;
    stream >> yes >> no;
    if (ascii)
        stream >> gap;
    stream >> c;
    if (ascii)
        stream >> gap;
    stream >> uc >> ull;
    EXPECT_EQ(int_min, INT_MIN);
    EXPECT_EQ(int_max, INT_MAX);
    EXPECT_EQ(uint_zero, 0u);
    EXPECT_EQ(uint_max, UINT_MAX);
    EXPECT_EQ(long_min, INT32_MIN);
    EXPECT_EQ(ulong_max, UINT32_MAX) << "the largest unsigned long that fits four bytes";
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    EXPECT_EQ(c, 'q');
    EXPECT_EQ(uc, 255);
    EXPECT_EQ(ull, ULLONG_MAX);
}

}  // namespace stream_test
