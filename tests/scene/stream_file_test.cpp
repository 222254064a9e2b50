#include <tessiv/scene/stream_file.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "stream_helpers.h"

using kolt::CStreamFile;
using kolt::IOException;
using stream_test::FailureOf;
using stream_test::Read;

namespace {

// A fresh scratch folder per test, removed afterwards.
class StreamFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tessiv_stream_file_" + std::to_string(::getpid()) + "_" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(char const *name) const { return (folder_ / name).string(); }

    static std::string Contents(std::string const &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
};

TEST_F(StreamFileTest, WritesAreOnDiskAfterCloseAndEveryPrimitiveReadsBackInBothModes)
{
    std::string path = Path("values.bin");
    CStreamFile out;
    ASSERT_TRUE(out.open(path.c_str(), CStreamFile::modeWrite));
    EXPECT_NE(out.get_file(), nullptr);
    for (int i = 0; i < 50000; ++i)
        out << i << 0.5 * i;
    std::vector<unsigned char> block(200000, 0xAB);
    out.write(block.data(), static_cast<unsigned int>(block.size()));
    stream_test::WriteEveryPrimitive(out);
    out.set_ascii(true);
    stream_test::WriteEveryPrimitive(out);
    out << "tail";
    out.close();
    EXPECT_EQ(out.get_file(), nullptr);

    CStreamFile in;
    ASSERT_TRUE(in.open(path.c_str(), 4));
    for (int i = 0; i < 50000; ++i) {
        ASSERT_EQ(Read<int>(in), i);
        ASSERT_EQ(Read<double>(in), 0.5 * i);
    }
    std::vector<unsigned char> back(block.size());
    EXPECT_EQ(in.read(back.data(), static_cast<unsigned int>(back.size())), 200000);
    EXPECT_EQ(back, block);
    stream_test::CheckEveryPrimitive(in);
    in.set_ascii(true);
    stream_test::CheckEveryPrimitive(in);
    EXPECT_STREQ(Read<kolt::String>(in).getbuf(), "tail");
    EXPECT_TRUE(in.eof()) << "close wrote everything";
    EXPECT_THROW(Read<int>(in), IOException);
}

TEST_F(StreamFileTest, DestructorFlushesAndReadersSeeTheFileSize)
{
    std::string path = Path("record.bin");
    {
        CStreamFile out;
        ASSERT_TRUE(out.open(path.c_str(), CStreamFile::modeWrite));
        out << 4294967295ul << "abc";
    }
    EXPECT_EQ(Contents(path).size(), 11u) << "the destructor wrote the buffered bytes";

    CStreamFile in;
    ASSERT_TRUE(in.open(path.c_str(), CStreamFile::modeRead));
    EXPECT_EQ(in.bytes_left(), 11u);
    EXPECT_EQ(FailureOf([&] { Read<kolt::String>(in); }), "reading string: length 4294967295 exceeds the 7 bytes left");
    EXPECT_TRUE(in.fail());
    in.initialize();
    ASSERT_TRUE(in.open(path.c_str(), CStreamFile::modeRead));
    char all[11];
    in.read(all, sizeof all);
    EXPECT_TRUE(in.eof()) << "eof as soon as the last byte is read";
}

TEST_F(StreamFileTest, PipesReadWithoutAKnownSize)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::string record("\x05\x00\x00\x00" "abcde" "\xff\xff\xff\x7f" "short", 18);
    ASSERT_EQ(::write(ends[1], record.data(), record.size()), static_cast<ssize_t>(record.size()));
    ::close(ends[1]);

    CStreamFile pipe;
    std::string path = "/proc/self/fd/" + std::to_string(ends[0]);
    ASSERT_TRUE(pipe.open(path.c_str(), CStreamFile::modeRead));
    ::close(ends[0]);
    EXPECT_EQ(pipe.bytes_left(), kolt::CStreamI::kUnknownSize);
    EXPECT_STREQ(Read<kolt::String>(pipe).getbuf(), "abcde");
    EXPECT_EQ(FailureOf([&] { Read<kolt::String>(pipe); }), "reading string: end of data after 5 of 2147483647 bytes");
}

TEST_F(StreamFileTest, ModesTruncateAppendAndReadBack)
{
    std::string path = Path("modes.txt");
    CStreamFile file;
    file.set_ascii(true);
    ASSERT_TRUE(file.open(path.c_str(), CStreamFile::modeWrite));
    file << "one";
    file.close();
    ASSERT_TRUE(file.open(path.c_str(), CStreamFile::modeAppend));
    file << " two";
    file.close();
    EXPECT_EQ(Contents(path), "one two");
    ASSERT_TRUE(file.open(path.c_str(), CStreamFile::modeRead | CStreamFile::modeAppend));
    file << " 3";
    Read<kolt::String>(file);
    EXPECT_STREQ(Read<kolt::String>(file).getbuf(), "two");
    EXPECT_EQ(Read<int>(file), 3) << "a read-write stream reads what it has just written";
    file.close();
    ASSERT_TRUE(file.open(path.c_str(), CStreamFile::modeWrite));
    file.close();
    EXPECT_EQ(Contents(path), "") << "write mode truncates";
}

TEST_F(StreamFileTest, OpenFailuresReturnFalseOrThrowWithThePathAndReason)
{
    CStreamFile file;
    std::string missing = Path("missing.bin");
    EXPECT_FALSE(file.open(missing.c_str(), 4));
    EXPECT_TRUE(file.fail());
    EXPECT_EQ(file.get_file(), nullptr);
    EXPECT_EQ(FailureOf([&] { file.open_checked(missing.c_str(), 4); }),
              "opening '" + missing + "' for reading: No such file or directory");
    EXPECT_THROW(file.open_checked(folder_.string().c_str(), 4), IOException) << "a folder";
    EXPECT_THROW(file.open_checked(missing.c_str(), 8), IOException) << "an unknown mode bit";
    EXPECT_THROW(file.open_checked(missing.c_str(), 0), IOException);
    int value = 0;
    EXPECT_THROW(file >> value, IOException) << "reading with no file open";
    EXPECT_THROW(file << value, IOException) << "writing with no file open";

    std::string path = Path("read_only.bin");
    std::ofstream(path) << "x";
    ASSERT_TRUE(file.open(path.c_str(), 4));
    EXPECT_FALSE(file.fail()) << "a successful open starts a fresh stream";
    EXPECT_THROW(file << value, IOException);
    file.initialize();
    ASSERT_TRUE(file.open(path.c_str(), CStreamFile::modeWrite));
    EXPECT_THROW(file >> value, IOException) << "reading a stream opened for writing only";
}

TEST_F(StreamFileTest, WriteErrorsSurfaceAtCloseOrWhenTheBufferFills)
{
    CStreamFile full;
    ASSERT_TRUE(full.open("/dev/full", CStreamFile::modeWrite));
    full << 1.0;
    EXPECT_EQ(FailureOf([&] { full.close(); }), "closing '/dev/full': writing 8 bytes: No space left on device");
    EXPECT_EQ(full.get_file(), nullptr) << "the file is released even when close fails";
    EXPECT_NO_THROW(full.close());

    full.initialize();
    ASSERT_TRUE(full.open("/dev/full", CStreamFile::modeWrite));
    std::vector<char> big(100000, 'x');
    EXPECT_THROW(full.write(big.data(), static_cast<unsigned int>(big.size())), IOException);
    EXPECT_TRUE(full.fail());
    full.initialize();
    EXPECT_NO_THROW(full.close());
}

}  // namespace
