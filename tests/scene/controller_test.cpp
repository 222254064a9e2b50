#include <tessiv/scene/controller.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stream_helpers.h"

using kolt::CStreamMem;
using kolt::IOException;
using kolt::Pnt3;
using kolt::PosController;
using kolt::RotController;

namespace {

using namespace stream_test;

PosController Positions()
{
    PosController positions;
    positions.GetKeys().resize(2);
    positions.GetKey(0) = {5, Pnt3(1, 2, 3), true};
    positions.GetKey(1) = {-7, Pnt3(0.1, -2.5, 1e+300), false};
    return positions;
}

TEST(ControllerTest, BinaryRecordIsTheCountThenZeroPaddedImages)
{
    CStreamMem stream;
    stream.set_ascii(true);
    PosController().Save(stream);
    EXPECT_EQ(Bytes(stream), (std::vector<unsigned char>{0, 0, 0, 0})) << "no keys: the count alone";
    EXPECT_FALSE(stream.kolt::CStreamO::ascii()) << "Save leaves the stream in binary mode";

    CStreamMem one;
    PosController positions = Positions();
    positions.GetKeys().resize(1);
    positions.Save(one);
    CStreamMem expected;  // count, frame, padding, position, flag byte and padding
    expected << 1u << 5 << 0 << 1.0 << 2.0 << 3.0 << 1 << 0;
    EXPECT_EQ(Bytes(one), Bytes(expected));
}

TEST(ControllerTest, BinaryLoadResizesAndSavesBackCanonicalBytes)
{
    // One scaling key at frame -3 whose padding and value bytes are 0xAA and whose flag byte is 2.
    CStreamMem in = MemStream(std::string("\1\0\0\0\xFD\xFF\xFF\xFF", 8) + std::string(28, '\xAA') + '\2' +
                              std::string(7, '\xAA'));
    kolt::SclController scales;
    scales.GetKeys().resize(3);
    scales.Load(in);
    ASSERT_EQ(scales.GetKeyCount(), 1) << "fewer keys shrink the count";
    EXPECT_EQ(scales.GetKey(0).frame, -3);
    EXPECT_TRUE(scales.GetKey(0).flag) << "any non-zero flag byte is true";

    CStreamMem out;
    scales.Save(out);
    std::vector<unsigned char> saved = Bytes(out);
    for (int i : {8, 9, 10, 11, 37, 38, 39, 40, 41, 42, 43})
        EXPECT_EQ(saved[i], 0) << "padding byte " << i;
    EXPECT_EQ(saved[36], 1);

    RotController source, target;
    source.GetKeys().resize(3);
    source.GetKey(2).value.Set(1, 0.5, -0.25, 1e-300);
    CStreamMem stream;
    source.Save(stream);
    EXPECT_EQ(stream.get_data().size(), 4u + 3 * 48) << "48 bytes per rotation key";
    target.GetKeys().resize(1);
    target.Load(stream);
    ASSERT_EQ(target.GetKeyCount(), 3);
    EXPECT_EQ(target.GetKeys().capacity(), 3u) << "growing makes the capacity exactly the count";
    EXPECT_EQ(target.GetKey(2).value.w, 1e-300);
}

TEST(ControllerTest, TextRecordReadsBackWithAndWithoutSeparators)
{
    CStreamMem stream;
    stream.set_ascii(true);
    PosController().SaveMuv(stream);
    Positions().SaveMuv(stream);
    EXPECT_EQ(Text(stream), "0\n2\n5 1\n1 2 3\n-7 0\n0.1 -2.5 1e+300\n");

    RotController rotations;
    rotations.GetKeys().resize(3);
    for (int i = 0; i < 3; ++i)
        rotations.GetKey(i) = {i, {0.1 * i, -1.0 / 3, 12345.678, 99}, i == 1};
    for (bool separators : {true, false}) {
        CStreamMem saved;
        saved.set_ascii(true);
        rotations.SaveMuv(saved);
        RotController target;
        target.GetKeys().resize(2);
        target.GetKey(1).value.w = 7;
        target.LoadMuv(saved, separators);
        ASSERT_EQ(target.GetKeyCount(), 3);
        for (int i = 0; i < 3; ++i) {
            auto const &key = target.GetKey(i);
            EXPECT_TRUE(key.frame == i && key.flag == (i == 1) && key.value.x == 0.1 * i && key.value.y == -1.0 / 3 &&
                        key.value.z == 12345.678)
                << "key " << i << " reads back bit for bit";
        }
        EXPECT_EQ(target.GetKey(1).value.w, 7) << "component 3 keeps what the key held";
        EXPECT_EQ(target.GetKey(2).value.w, 0) << "a new key's component 3 is 0";
        EXPECT_EQ(saved.bytes_left(), separators ? 0u : 1u) << "separators consumed as characters";
    }
}

TEST(ControllerTest, HostileCountsFailAtOnceAndLeaveTheKeys)
{
    PosController positions = Positions();
    CStreamMem binary = MemStream(std::string("\xFF\xFF\xFF\xFF") + std::string(12, '\0'));
    EXPECT_EQ(FailureOf([&] { positions.Load(binary); }),
              "reading binary position keys: count 4294967295 needs at least 171798691800 bytes, 12 left");
    EXPECT_EQ(positions.GetKeyCount(), 2);

    CStreamMem text = MemStream("2\n5 1\n1 2 3\n", true);  // 10 bytes after the count: not two keys
    EXPECT_THROW(positions.LoadMuv(text, true), IOException);
    EXPECT_EQ(positions.GetKey(1).frame, -7);

    CStreamMem empty = MemStream(std::string(4, '\0'));
    positions.Load(empty);
    EXPECT_EQ(positions.GetKeyCount(), 0) << "the controller stays usable";

    // A stream that cannot tell its size: the array grows only with the
    // keys that really arrive, so 2^31 - 1 announced keys fail on reading.
    UnsizedStream liar(std::string("\xFF\xFF\xFF\x7F") + std::string(48 * 3, '\0'));
    RotController rotations;
    EXPECT_THROW(rotations.Load(liar), IOException);
    EXPECT_LE(rotations.GetKeys().capacity(), 256u);
}

// A binary record of `count` rotation keys of which only the first
// `whole` are there, then half a key; key i has frame i.
std::string CutRotationRecord(std::uint32_t count, int whole)
{
    RotController source;
    source.GetKeys().resize(static_cast<unsigned int>(whole) + 1);
    for (int i = 0; i <= whole; ++i)
        source.GetKey(i).frame = i;
    CStreamMem stream;
    source.Save(stream);
    std::string bytes = Text(stream);
    bytes.resize(bytes.size() - 24);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(count >> (8 * i));
    return bytes;
}

TEST(ControllerTest, CutRecordsKeepTheCountUnlessItClaimsFarMoreThanTheData)
{
    // 300 keys announced, 2 and a half there: more than one batch of keys.
    RotController rotations;
    CStreamMem short_record = MemStream(CutRotationRecord(300, 2));
    EXPECT_THROW(rotations.Load(short_record), IOException);
    ASSERT_EQ(rotations.GetKeyCount(), 300);
    EXPECT_EQ(rotations.GetKey(1).frame, 1);
    EXPECT_EQ(rotations.GetKey(299).frame, 0) << "keys past the cut are new";

    // 40000 keys (1.9 MB) over 10000 keys of data: within four times the data.
    CStreamMem long_record = MemStream(CutRotationRecord(40000, 10000));
    EXPECT_THROW(rotations.Load(long_record), IOException);
    ASSERT_EQ(rotations.GetKeyCount(), 40000);
    EXPECT_EQ(rotations.GetKey(9999).frame, 9999) << "every whole key before the cut";

    // 100000 keys (4.8 MB) over 2.5 keys: refused before the array grows.
    CStreamMem hostile = MemStream(CutRotationRecord(100000, 2));
    EXPECT_EQ(FailureOf([&] { rotations.Load(hostile); }),
              "reading binary rotation keys: count 100000 needs at least 4800000 bytes, 120 left");
    EXPECT_EQ(rotations.GetKeyCount(), 40000);

    // The same rule for the text record and for a stream of unknown size.
    PosController positions;
    CStreamMem text = MemStream("3\n5 1\n1 2 3\n6 0\n", true);
    EXPECT_THROW(positions.LoadMuv(text, false), IOException);
    ASSERT_EQ(positions.GetKeyCount(), 3);
    EXPECT_EQ(positions.GetKey(1).frame, 6);
    UnsizedStream pipe(CutRotationRecord(300, 2));
    EXPECT_THROW(rotations.Load(pipe), IOException);
    EXPECT_EQ(rotations.GetKeyCount(), 300);
}

TEST(ControllerTest, TruncatedRecordsThrowKeepingTheKeysReadSoFar)
{
    CStreamMem broken = MemStream("2\n5 1\n1 2 3\n-7 0\n0.1 -2.x 1e+300\n", true);
    PosController target;
    EXPECT_THROW(target.LoadMuv(broken, false), IOException);
    ASSERT_EQ(target.GetKeyCount(), 2) << "the array was resized to the count";
    EXPECT_EQ(target.GetKey(0).value.z, 3);

    CStreamMem binary;
    Positions().Save(binary);
    std::string bytes = Text(binary);
    bytes.pop_back();
    CStreamMem cut = MemStream(bytes);
    target.ClearKey();
    EXPECT_THROW(target.Load(cut), IOException) << "79 bytes cannot hold two keys";
    ASSERT_EQ(target.GetKeyCount(), 2) << "resized to the count before the data ended";
    EXPECT_EQ(target.GetKey(0).value.y, 2) << "the whole key before the cut is kept";

    UnsizedStream pipe(Text(binary));
    target.Load(pipe);
    ASSERT_EQ(target.GetKeyCount(), 2) << "a whole record loads from a stream of unknown size";
    EXPECT_EQ(target.GetKey(1).value.z, 1e+300);
}

}  // namespace
