#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <string>

#include "stream_helpers.h"

using kolt::CStreamMem;
using stream_test::Read;

namespace {

TEST(StreamMemTest, ReadsWhatWasWrittenInOrderAndTakesDataInAndOut)
{
    CStreamMem stream(16);
    EXPECT_GE(stream.get_data().capacity(), 16u);
    for (int i = 0; i < 10000; ++i)
        stream << i << i / 4.0;
    EXPECT_EQ(stream.get_data().size(), 10000u * 12);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(Read<int>(stream), i);
        ASSERT_EQ(Read<double>(stream), i / 4.0);
    }
    EXPECT_TRUE(stream.eof());
    EXPECT_EQ(stream.bytes_left(), 0u);

    stream.rewind();
    EXPECT_EQ(Read<int>(stream), 0) << "rewind reads again from the first byte";
    stream.set_data(stream.get_data().begin() + 12, 12);
    EXPECT_EQ(Read<int>(stream), 1) << "set_data may take the stream's own bytes";
    EXPECT_EQ(Read<double>(stream), 0.25);
    unsigned char const *block = stream.get_data().begin();
    stream.set_data("\x07\x00\x00\x00", 4);
    EXPECT_EQ(stream.get_data().begin(), block) << "set_data reuses a block that is large enough";
    EXPECT_EQ(stream.get_data().size(), 4u);
    EXPECT_EQ(Read<int>(stream), 7) << "and reads the new bytes from the start";
    EXPECT_EQ(stream.bytes_left(), 0u);
    stream.clear();
    EXPECT_EQ(stream.get_data().capacity(), 0u) << "clear frees the array";
    EXPECT_THROW(Read<int>(stream), kolt::IOException);
}

TEST(StreamMemTest, AssignmentCopiesDataAndReadPosition)
{
    CStreamMem source;
    for (int i = 0; i < 3000; ++i)
        source << i;
    Read<int>(source);
    Read<int>(source);  // the read buffer now holds read-ahead

    CStreamMem target;
    target << 99;
    target = source;
    EXPECT_EQ(Read<int>(target), 2) << "the copy reads what the source would read next";
    CStreamMem constructed(source);
    EXPECT_EQ(Read<int>(constructed), 2);
    EXPECT_EQ(Read<int>(source), 2) << "the source reads on independently";

    target << 7;
    EXPECT_EQ(target.get_data().size(), 3001u * 4);
    EXPECT_EQ(source.get_data().size(), 3000u * 4) << "the data array is copied deep";

    CStreamMem const &same = target;
    target = same;
    EXPECT_EQ(target.get_data().size(), 3001u * 4) << "self-assignment keeps the data";

    source.set_ascii(true);
    EXPECT_THROW(source.throw_exception("test"), kolt::IOException);
    CStreamMem flagged(source);
    EXPECT_TRUE(static_cast<kolt::CStreamO &>(flagged).ascii()) << "copies take the mode";
    EXPECT_TRUE(static_cast<kolt::CStreamO &>(flagged).fail()) << "and the fail flag";
}

}  // namespace
