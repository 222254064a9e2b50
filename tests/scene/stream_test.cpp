// The base stream classes, driven through the memory stream: inline members,
// wire images, text forms, the string extraction and every failure.
#include <tessiv/scene/stream.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stream_helpers.h"

using kolt::CStreamI;
using kolt::CStreamMem;
using kolt::CStreamO;
using kolt::IOException;

namespace {

using namespace stream_test;

template <class T>
void ReadOne(CStreamMem &stream)
{
    Read<T>(stream);
}

TEST(StreamTest, BinaryImagesAreLittleEndianWithFourByteLongs)
{
    CStreamMem stream;
    stream << -2 << 0x01020304u << 7ul << -1l;
    stream << true << false << 'A' << static_cast<unsigned char>(0xFE);
    stream << 1.0 << -0.0f << 0x1122334455667788ull;
    stream << "ab";
    std::vector<unsigned char> expected = {
        0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x07, 0x00, 0x00, 0x00,
        0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 'A',  0xFE,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 0x00, 0x00, 0x00, 0x80,
        0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11,
        0x02, 0x00, 0x00, 0x00, 'a',  'b'};
    EXPECT_EQ(Bytes(stream), expected);

    CStreamMem raw;
    unsigned char const block[3] = {9, 0, 8};
    EXPECT_TRUE(raw.write(block, 3));
    raw.textout("xy");
    raw << static_cast<char const *>(nullptr);
    EXPECT_EQ(Bytes(raw), (std::vector<unsigned char>{9, 0, 8, 'x', 'y', 0, 0, 0, 0}))
        << "write and textout add no framing; a null string is the empty string";
}

TEST(StreamTest, EveryPrimitiveRoundTripsInBothModesWithExtremes)
{
    for (bool ascii : {false, true}) {
        SCOPED_TRACE(ascii ? "text mode" : "binary mode");
        CStreamMem stream;
        stream.set_ascii(ascii);
        stream_test::WriteEveryPrimitive(stream);
        stream_test::CheckEveryPrimitive(stream);
    }
}

TEST(StreamTest, TextFormsAreShortestDecimalAndBoolDigits)
{
    CStreamMem stream;
    stream.set_ascii(true);
    stream << 5 << " " << true << "\n" << 1.0 << " " << 0.1 << " " << -2.5e-7 << "\n";
    stream << 1e300 << " " << 0.1f << " " << -0.0 << " " << static_cast<unsigned char>(7) << 'x';
    EXPECT_EQ(Text(stream), "5 1\n1 0.1 -2.5e-07\n1e+300 0.1 -0 7x");
}

TEST(StreamTest, CharReadsTheNextByteSoRecordsCanConsumeSeparators)
{
    // The key record reads one char after each value when asked to.
    CStreamMem stream = MemStream("2\n5 1\n1.5 2 3\n", true);
    unsigned long count = 0;
    int frame = 0;
    bool flag = false;
    double x = 0, y = 0, z = 0;
    char separators[6] = {};
    stream >> count >> separators[0] >> frame >> separators[1] >> flag >> separators[2];
    stream >> x >> separators[3] >> y >> separators[4] >> z >> separators[5];
    EXPECT_TRUE(count == 2 && frame == 5 && flag && x == 1.5 && y == 2 && z == 3);
    EXPECT_EQ(std::string(separators, 6), "\n \n  \n");

    // Without separators the readers skip the delimiters themselves, even
    // across the 4096-byte boundary of the read buffer.
    CStreamMem plain = MemStream("  7\t\r\n-3 0 \n" + std::string(4077, ' ') + "123456.75 -42", true);
    EXPECT_EQ(Read<int>(plain), 7);
    EXPECT_EQ(Read<int>(plain), -3);
    EXPECT_FALSE(Read<bool>(plain));
    EXPECT_EQ(Read<double>(plain), 123456.75);
    EXPECT_EQ(Read<int>(plain), -42);
}

TEST(StreamTest, ModesMixOnOneStream)
{
    CStreamMem stream;
    stream << 258;
    stream.set_ascii(true);
    stream << " 3.25 ";
    stream.set_ascii(false);
    stream << 1.5 << "ok";
    stream.set_ascii(true);
    stream << -9;

    stream.set_ascii(false);
    EXPECT_EQ(Read<int>(stream), 258);
    stream.set_ascii(true);
    EXPECT_EQ(Read<double>(stream), 3.25);
    EXPECT_EQ(Read<char>(stream), ' ') << "the delimiter after a text token stays unread";
    stream.set_ascii(false);
    EXPECT_EQ(Read<double>(stream), 1.5);
    EXPECT_STREQ(Read<kolt::String>(stream).getbuf(), "ok");
    stream.set_ascii(true);
    EXPECT_EQ(Read<int>(stream), -9);
    EXPECT_TRUE(static_cast<CStreamI &>(stream).eof());
}

TEST(StreamTest, InlineMembersKeepFlagsAndDelimiters)
{
    CStreamMem stream;
    std::string const long_set = ";" + std::string(599, ',');
    stream.set_delimitor(long_set.c_str());
    EXPECT_EQ(stream.get_delimitor(), long_set.substr(0, 511)) << "the set is cut to 511 characters";

    stream.set_delimitor(";,");
    stream.set_ascii(true);
    EXPECT_TRUE(static_cast<CStreamI &>(stream).ascii());
    EXPECT_TRUE(static_cast<CStreamO &>(stream).ascii()) << "set_ascii on both sides";
    stream.textout(";;12,,ab c;");
    char token[8];
    EXPECT_EQ(Read<int>(stream), 12);
    EXPECT_TRUE(stream.get_token(token, sizeof token));
    EXPECT_STREQ(token, "ab c") << "space is no delimiter in this set";

    CStreamO &output = stream;
    CStreamI &input = stream;
    EXPECT_THROW(Read<int>(input), IOException);
    EXPECT_TRUE(input.fail());
    EXPECT_TRUE(output.fail()) << "a failure through either table sets both flags";
    stream.initialize();
    EXPECT_FALSE(input.fail() || output.fail());
    EXPECT_TRUE(stream.is_rbuffer_empty());
    EXPECT_FALSE(stream.eof()) << "initialize clears the eof flag";

    EXPECT_THROW(output.throw_exception("writing x: test"), IOException);
    EXPECT_TRUE(input.fail()) << "through the output table too";
}

TEST(StreamTest, EofWaitsForTheReadBufferToDrain)
{
    CStreamMem stream = MemStream(std::string(4100, 'Z'));
    EXPECT_FALSE(stream.eof());

    unsigned char first[4096];
    stream.read(first, sizeof first);
    EXPECT_FALSE(stream.eof()) << "the source still holds four bytes";
    Read<unsigned char>(stream);
    EXPECT_FALSE(stream.is_rbuffer_empty());
    EXPECT_FALSE(stream.eof()) << "unread bytes remain although the source is exhausted";
    char rest[3];
    stream.read(rest, 3);
    EXPECT_TRUE(stream.is_rbuffer_empty());
    EXPECT_TRUE(stream.eof());

    stream << 'z';
    EXPECT_TRUE(stream.eof()) << "eof reports the last look at the source";
    EXPECT_EQ(Read<char>(stream), 'z') << "a memory stream reads what was written after eof";

    CStreamMem exact = MemStream(std::string(4096, 'Z'));
    exact.read(first, 4096);
    EXPECT_TRUE(exact.eof()) << "a source that knows its size reports the end at once";
}

TEST(StreamTest, StringExtractionReadsNameRecordsAndTokens)
{
    CStreamMem binary = MemStream(std::string("\0\0\0\0\5\0\0\0ab\0cd\3\0\0\0xyz", 20));
    kolt::String name;
    name = "old";
    binary >> name;
    EXPECT_EQ(name.len(), 0) << "length 0 yields the empty string";
    EXPECT_STREQ(Read<kolt::String>(binary).getbuf(), "ab") << "the string ends at the first NUL";
    EXPECT_STREQ(Read<kolt::String>(binary).getbuf(), "xyz") << "length 0 and the NUL consumed exactly their bytes";

    CStreamMem text = MemStream("  first\n" + std::string(1500, 'k') + " next", true);
    EXPECT_STREQ(Read<kolt::String>(text).getbuf(), "first");
    EXPECT_EQ(Read<kolt::String>(text).len(), 1023) << "a token is cut by the 1024-byte buffer";
    EXPECT_STREQ(Read<kolt::String>(text).getbuf(), "next") << "the cut part of a token is dropped";

    char small[4];
    CStreamMem tokens = MemStream("abcdef g", true);
    EXPECT_FALSE(tokens.get_token(small, sizeof small)) << "false when the token was cut";
    EXPECT_STREQ(small, "abc");
    EXPECT_TRUE(tokens.get_token(small, sizeof small));
    EXPECT_STREQ(small, "g");
    EXPECT_EQ(FailureOf([&] { tokens.get_token(small, sizeof small); }), "reading token: end of data");
}

TEST(StreamTest, HostileLengthsFailBeforeAllocating)
{
    CStreamMem stream = MemStream(std::string("\xFF\xFF\xFF\xFF\3\0\0\0abc", 11));
    kolt::String name;
    EXPECT_EQ(FailureOf([&] { stream >> name; }), "reading string: length 4294967295 exceeds the 7 bytes left");
    EXPECT_TRUE(stream.fail());

    CStreamMem keys = MemStream("0123456789");
    unsigned long const count = 1000;
    EXPECT_EQ(FailureOf([&] { keys.ensure_available(count, 40, "reading position keys"); }),
              "reading position keys: count 1000 of 40-byte elements exceeds the 10 bytes left");
    EXPECT_NO_THROW(keys.ensure_available(1, 10, "reading one key"));

    // Without a known size the string grows with the data actually read.
    std::string record("\xff\xff\xff\x7f", 4);
    record += std::string(200000, 'n');
    UnsizedStream unsized(record);
    EXPECT_EQ(unsized.bytes_left(), CStreamI::kUnknownSize);
    EXPECT_EQ(FailureOf([&] { unsized >> name; }), "reading string: end of data after 200000 of 2147483647 bytes");
    EXPECT_LE(unsized.largest_request, 65536u) << "no request sized by the hostile length";
}

TEST(StreamTest, FailuresNameTheOperationAndTheCause)
{
    CStreamMem out;
    EXPECT_EQ(FailureOf([&] { out << 4294967296ul; }),
              "writing unsigned long: value 4294967296 does not fit the four-byte field");
    EXPECT_TRUE(static_cast<CStreamO &>(out).fail());
    EXPECT_EQ(FailureOf([&] { out << 2147483648l; }),
              "writing long: value 2147483648 does not fit the four-byte field");
    out.set_ascii(true);
    EXPECT_EQ(FailureOf([&] { out << -2147483649l; }),
              "writing long: value -2147483649 does not fit the four-byte field");
    EXPECT_EQ(out.get_data().size(), 0u) << "nothing is written for a value that does not fit";

    struct Case {
        std::string input;
        void (*read)(CStreamMem &);
        std::string message;
    };
    std::vector<Case> const text_cases = {
        {"2147483648", &ReadOne<int>, "reading int: \"2147483648\" is out of range"},
        {"-2147483649", &ReadOne<long>, "reading long: \"-2147483649\" is out of range"},
        {"4294967296", &ReadOne<unsigned long>, "reading unsigned long: \"4294967296\" is out of range"},
        {"256", &ReadOne<unsigned char>, "reading unsigned char: \"256\" is out of range"},
        {"-1", &ReadOne<unsigned int>, "reading unsigned int: token \"-1\" is not a number"},
        {"12x", &ReadOne<int>, "reading int: token \"12x\" is not a number"},
        {"+5", &ReadOne<int>, "reading int: token \"+5\" is not a number"},
        {"1.5.3", &ReadOne<double>, "reading double: token \"1.5.3\" is not a number"},
        {"1e999", &ReadOne<double>, "reading double: \"1e999\" is out of range"},
        {"1e39", &ReadOne<float>, "reading float: \"1e39\" is out of range"},
        {"1e-400", &ReadOne<double>, "reading double: \"1e-400\" is out of range"},
        {"yes", &ReadOne<bool>, "reading bool: token \"ye\"... is neither 0 nor 1"},
        {"10", &ReadOne<bool>, "reading bool: token \"10\" is neither 0 nor 1"},
        {" \n\t", &ReadOne<double>, "reading double: end of data"},
        {std::string(300, '7'), &ReadOne<int>,
         "reading int: token \"" + std::string(40, '7') + "\"... is longer than 256 characters"},
        {std::string("\x01\xff", 2), &ReadOne<int>, "reading int: token \"\\x01\\xff\" is not a number"},
    };
    for (Case const &c : text_cases) {
        CStreamMem stream = MemStream(c.input, true);
        EXPECT_EQ(FailureOf([&] { c.read(stream); }), c.message);
        EXPECT_TRUE(static_cast<CStreamI &>(stream).fail()) << c.message;
    }

    CStreamMem binary;
    binary << 'a' << 'b' << 'c';
    EXPECT_EQ(FailureOf([&] { Read<double>(binary); }), "reading double: end of data after 3 of 8 bytes");
    binary.initialize();
    binary.set_data("\x02", 1);
    EXPECT_EQ(FailureOf([&] { Read<bool>(binary); }), "reading bool: byte 0x2 is neither 0 nor 1");
    binary.set_data("abc", 3);
    char block[10];
    EXPECT_EQ(FailureOf([&] { binary.read(block, 10); }), "reading bytes: end of data after 3 of 10 bytes");
}

}  // namespace
