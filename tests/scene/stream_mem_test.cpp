#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <string>

using kolt::CStreamMem;

namespace {

TEST(StreamMemTest, ReadsWhatWasWrittenInOrder)
{
    CStreamMem stream(16);
    EXPECT_GE(stream.get_data().capacity(), 16u);
    EXPECT_EQ(stream.get_data().size(), 0u);
    for (int i = 0; i < 10000; ++i)
        stream << i << static_cast<double>(i) / 4;
    EXPECT_EQ(stream.get_data().size(), 10000u * 12);
    for (int i = 0; i < 10000; ++i) {
        int n = -1;
        double d = -1;
        stream >> n >> d;
        ASSERT_EQ(n, i);
        ASSERT_EQ(d, static_cast<double>(i) / 4);
    }
    EXPECT_TRUE(stream.eof());
    EXPECT_EQ(stream.bytes_left(), 0u);
}

TEST(StreamMemTest, DataGoesOutAndComesIn)
{
    CStreamMem writer;
    writer << 3ul << "abc" << true;
    CStreamMem reader;
    reader.set_data(writer.get_data().begin(), writer.get_data().size());
    unsigned long n = 0;
    kolt::String text;
    bool flag = false;
    reader >> n >> text >> flag;
    EXPECT_EQ(n, 3ul);
    EXPECT_STREQ(text.getbuf(), "abc");
    EXPECT_TRUE(flag);

    reader.rewind();
    reader >> n;
    EXPECT_EQ(n, 3ul) << "rewind reads again from the first byte";

    reader.set_data(reader.get_data().begin() + 4, 7);
    reader >> text;
    EXPECT_STREQ(text.getbuf(), "abc") << "set_data may take the stream's own bytes";

    reader.clear();
    EXPECT_EQ(reader.get_data().size(), 0u);
    EXPECT_EQ(reader.get_data().capacity(), 0u) << "clear frees the array";
    EXPECT_THROW(reader >> n, kolt::IOException);
}

TEST(StreamMemTest, AssignmentCopiesDataAndReadPosition)
{
    CStreamMem source;
    for (int i = 0; i < 3000; ++i)
        source << i;
    int value = 0;
    source >> value >> value;  // the read buffer now holds read-ahead

    CStreamMem target;
    target << 99;
    target = source;
    target >> value;
    EXPECT_EQ(value, 2) << "the copy reads what the source would read next";
    CStreamMem constructed(source);
    constructed >> value;
    EXPECT_EQ(value, 2);
    source >> value;
    EXPECT_EQ(value, 2) << "the source reads on independently";

    target << 7;
    EXPECT_EQ(target.get_data().size(), 3001u * 4);
    EXPECT_EQ(source.get_data().size(), 3000u * 4) << "the data array is copied deep";

    CStreamMem const &same = target;
    target = same;
    EXPECT_EQ(target.get_data().size(), 3001u * 4) << "self-assignment keeps the data";
}

}  // namespace
