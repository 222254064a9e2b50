#include <tessiv/scene/named.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stream_helpers.h"

using kolt::CStreamMem;
using kolt::Named;

namespace {

using stream_test::Bytes;

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
    CStreamMem stream = stream_test::MemStream(std::string("\4\0\0\0a\0bc\xFF\xFF\xFF\xFF" "ab", 14));
    Named named;
    named.Load(stream);
    EXPECT_STREQ(named.GetName().getbuf(), "a") << "the name ends at its first NUL";
    EXPECT_EQ(stream.bytes_left(), 6u) << "all four bytes are consumed";
    EXPECT_THROW(named.Load(stream), kolt::IOException);
    EXPECT_STREQ(named.GetName().getbuf(), "a") << "a refused record leaves the name";
}

}  // namespace
