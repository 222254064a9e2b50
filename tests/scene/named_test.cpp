#include <tessiv/scene/named.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <vector>

using kolt::CStreamMem;
using kolt::Named;

namespace {

std::vector<unsigned char> Bytes(CStreamMem const &stream)
{
    auto const &data = stream.get_data();
    return std::vector<unsigned char>(data.begin(), data.end());
}

TEST(NamedTest, RecordIsTheLengthThenTheBytesAlwaysInBinaryMode)
{
    CStreamMem stream;
    stream.set_ascii(true);
    Named("abc").Save(stream);
    Named().Save(stream);
    EXPECT_EQ(Bytes(stream), (std::vector<unsigned char>{3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0}));
    EXPECT_FALSE(stream.kolt::CStreamO::ascii()) << "Save leaves the stream in binary mode";

    Named loaded("old"), empty("x");
    stream.kolt::CStreamI::set_ascii(true);
    loaded.Load(stream);
    EXPECT_FALSE(stream.kolt::CStreamI::ascii()) << "Load leaves the stream in binary mode";
    empty.Load(stream);
    EXPECT_STREQ(loaded.GetName().getbuf(), "abc");
    EXPECT_EQ(empty.GetName().len(), 0);
}

TEST(NamedTest, LoadStopsAtNulAndRefusesLengthsTheStreamCannotHold)
{
    std::vector<unsigned char> record{4, 0, 0, 0, 'a', 0, 'b', 'c', 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    CStreamMem stream;
    stream.set_data(record.data(), static_cast<unsigned int>(record.size()));
    Named named;
    named.Load(stream);
    EXPECT_STREQ(named.GetName().getbuf(), "a") << "the name ends at its first NUL";
    EXPECT_EQ(stream.bytes_left(), 6u) << "all four bytes are consumed";
    EXPECT_THROW(named.Load(stream), kolt::IOException);
    EXPECT_STREQ(named.GetName().getbuf(), "a") << "a refused record leaves the name";
}

}  // namespace
