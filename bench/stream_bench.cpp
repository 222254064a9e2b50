// The streams against the standard library doing the same work on the same
// data: binary doubles one at a time (memory and file), 64 KiB blocks (file
// against stdio, memory against memcpy), and doubles as text.
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/stream_mem.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::size_t kBinaryBytes = std::size_t{256} << 20;
constexpr std::size_t kBinaryCount = kBinaryBytes / sizeof(double);
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kTextCount = 10'000'000;

// Doubles with varied bit patterns, so text forms have realistic lengths.
std::vector<double> const &Values(std::size_t count)
{
    static std::vector<double> values;
    if (values.size() < count) {
        values.resize(count);
        std::uint64_t state = 0x9E3779B97F4A7C15u;
        for (std::size_t i = 0; i < count; ++i) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            values[i] = static_cast<double>(state >> 11) / 9007199254740992.0 * 2000.0 - 1000.0;
        }
    }
    return values;
}

std::string ScratchPath(char const *name)
{
    return "/tmp/tessiv_stream_bench_" + std::to_string(::getpid()) + "_" + name;
}

// Removes the scratch files when the program ends.
struct ScratchFiles {
    ~ScratchFiles()
    {
        for (char const *name : {"ours.bin", "std.bin", "source.bin"})
            std::remove(ScratchPath(name).c_str());
    }
} scratch_files;

// The binary file every read benchmark reads: the values, little-endian.
std::string const &SourceFile()
{
    static std::string path;
    if (path.empty()) {
        path = ScratchPath("source.bin");
        std::vector<double> const &values = Values(kBinaryCount);
        std::FILE *file = std::fopen(path.c_str(), "wb");
        std::fwrite(values.data(), sizeof(double), values.size(), file);
        std::fclose(file);
    }
    return path;
}

// Our close() waits until the file is on disk; the baselines do the same
// (untimed, as our close is), so no run starts with the previous run's
// dirty pages still being written back.
void SyncToDisk(std::string const &path)
{
    if (std::FILE *file = std::fopen(path.c_str(), "rb")) {
        ::fsync(::fileno(file));
        std::fclose(file);
    }
}

void SetBytes(benchmark::State &state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// --- binary doubles one at a time, in memory ---

void WriteDoubleMemOurs(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    for (auto _ : state) {
        kolt::CStreamMem stream;
        for (double value : values)
            stream << value;
        benchmark::DoNotOptimize(stream.get_data().begin());
    }
    SetBytes(state, kBinaryBytes);
}

void WriteDoubleMemStd(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    for (auto _ : state) {
        std::ostringstream stream;
        for (double value : values)
            stream.write(reinterpret_cast<char const *>(&value), sizeof value);
        benchmark::DoNotOptimize(stream.tellp());
    }
    SetBytes(state, kBinaryBytes);
}

void ReadDoubleMemOurs(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    kolt::CStreamMem source;
    source.write(values.data(), static_cast<unsigned int>(kBinaryBytes));
    for (auto _ : state) {
        source.rewind();
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kBinaryCount; ++i) {
            source >> value;
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetBytes(state, kBinaryBytes);
}

void ReadDoubleMemStd(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    std::istringstream source(std::string(reinterpret_cast<char const *>(values.data()), kBinaryBytes));
    for (auto _ : state) {
        source.clear();
        source.seekg(0);
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kBinaryCount; ++i) {
            source.read(reinterpret_cast<char *>(&value), sizeof value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetBytes(state, kBinaryBytes);
}

// --- binary doubles one at a time, to and from a file (open and close untimed) ---

void WriteDoubleFileOurs(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    std::string path = ScratchPath("ours.bin");
    for (auto _ : state) {
        state.PauseTiming();
        kolt::CStreamFile stream;
        stream.open_checked(path.c_str(), kolt::CStreamFile::modeWrite);
        state.ResumeTiming();
        for (double value : values)
            stream << value;
        stream.flush();
        state.PauseTiming();
        stream.close();
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void WriteDoubleFileStd(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    std::string path = ScratchPath("std.bin");
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream stream(path, std::ios::binary | std::ios::trunc);
        state.ResumeTiming();
        for (double value : values)
            stream.write(reinterpret_cast<char const *>(&value), sizeof value);
        stream.flush();
        state.PauseTiming();
        stream.close();
        SyncToDisk(path);
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void ReadDoubleFileOurs(benchmark::State &state)
{
    std::string const &path = SourceFile();
    for (auto _ : state) {
        state.PauseTiming();
        kolt::CStreamFile stream;
        stream.open_checked(path.c_str(), kolt::CStreamFile::modeRead);
        state.ResumeTiming();
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kBinaryCount; ++i) {
            stream >> value;
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetBytes(state, kBinaryBytes);
}

void ReadDoubleFileStd(benchmark::State &state)
{
    std::string const &path = SourceFile();
    for (auto _ : state) {
        state.PauseTiming();
        std::ifstream stream(path, std::ios::binary);
        state.ResumeTiming();
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kBinaryCount; ++i) {
            stream.read(reinterpret_cast<char *>(&value), sizeof value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetBytes(state, kBinaryBytes);
}

// --- 64 KiB blocks ---

std::vector<char> const &Block()
{
    static std::vector<char> block(kBlockBytes, 'b');
    return block;
}

void WriteBlockFileOurs(benchmark::State &state)
{
    std::string path = ScratchPath("ours.bin");
    for (auto _ : state) {
        state.PauseTiming();
        kolt::CStreamFile stream;
        stream.open_checked(path.c_str(), kolt::CStreamFile::modeWrite);
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            stream.write(Block().data(), kBlockBytes);
        stream.flush();
        state.PauseTiming();
        stream.close();
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void WriteBlockFileStdio(benchmark::State &state)
{
    std::string path = ScratchPath("std.bin");
    for (auto _ : state) {
        state.PauseTiming();
        std::FILE *file = std::fopen(path.c_str(), "wb");
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            std::fwrite(Block().data(), 1, kBlockBytes, file);
        std::fflush(file);
        state.PauseTiming();
        std::fclose(file);
        SyncToDisk(path);
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void ReadBlockFileOurs(benchmark::State &state)
{
    std::string const &path = SourceFile();
    std::vector<char> block(kBlockBytes);
    for (auto _ : state) {
        state.PauseTiming();
        kolt::CStreamFile stream;
        stream.open_checked(path.c_str(), kolt::CStreamFile::modeRead);
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            stream.read(block.data(), kBlockBytes);
        benchmark::DoNotOptimize(block.data());
    }
    SetBytes(state, kBinaryBytes);
}

void ReadBlockFileStdio(benchmark::State &state)
{
    std::string const &path = SourceFile();
    std::vector<char> block(kBlockBytes);
    for (auto _ : state) {
        state.PauseTiming();
        std::FILE *file = std::fopen(path.c_str(), "rb");
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            benchmark::DoNotOptimize(std::fread(block.data(), 1, kBlockBytes, file));
        benchmark::DoNotOptimize(block.data());
        state.PauseTiming();
        std::fclose(file);
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

// In memory the baseline is a plain copy into storage already reserved, so
// ours starts with the same reservation.
void WriteBlockMemOurs(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto stream = std::make_unique<kolt::CStreamMem>(static_cast<unsigned int>(kBinaryBytes));
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            stream->write(Block().data(), kBlockBytes);
        benchmark::DoNotOptimize(stream->get_data().begin());
        state.PauseTiming();
        stream.reset();
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void WriteBlockMemMemcpy(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<char[]> storage(new char[kBinaryBytes]);
        state.ResumeTiming();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes)
            std::memcpy(storage.get() + done, Block().data(), kBlockBytes);
        benchmark::DoNotOptimize(storage.get());
        state.PauseTiming();
        storage.reset();
        state.ResumeTiming();
    }
    SetBytes(state, kBinaryBytes);
}

void ReadBlockMemOurs(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    kolt::CStreamMem source;
    source.write(values.data(), static_cast<unsigned int>(kBinaryBytes));
    std::vector<char> block(kBlockBytes);
    for (auto _ : state) {
        source.rewind();
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes) {
            source.read(block.data(), kBlockBytes);
            benchmark::DoNotOptimize(block.data());
        }
    }
    SetBytes(state, kBinaryBytes);
}

void ReadBlockMemMemcpy(benchmark::State &state)
{
    std::vector<double> const &values = Values(kBinaryCount);
    auto const *source = reinterpret_cast<char const *>(values.data());
    std::vector<char> block(kBlockBytes);
    for (auto _ : state) {
        for (std::size_t done = 0; done < kBinaryBytes; done += kBlockBytes) {
            std::memcpy(block.data(), source + done, kBlockBytes);
            benchmark::DoNotOptimize(block.data());
        }
    }
    SetBytes(state, kBinaryBytes);
}

// --- doubles as text ---

void WriteTextOurs(benchmark::State &state)
{
    std::vector<double> const &values = Values(kTextCount);
    for (auto _ : state) {
        kolt::CStreamMem stream;
        stream.set_ascii(true);
        for (std::size_t i = 0; i < kTextCount; ++i)
            stream << values[i] << ' ';
        benchmark::DoNotOptimize(stream.get_data().begin());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTextCount));
}

void WriteTextStd(benchmark::State &state)
{
    std::vector<double> const &values = Values(kTextCount);
    for (auto _ : state) {
        std::ostringstream stream;
        stream.precision(17);
        for (std::size_t i = 0; i < kTextCount; ++i)
            stream << values[i] << ' ';
        benchmark::DoNotOptimize(stream.tellp());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTextCount));
}

// The same text for both readers: what each writer produced is read by its
// own kind, so both parse 17-digit-or-shorter decimals of the same values.
std::string const &TextOf(bool shortest)
{
    static std::string texts[2];
    std::string &text = texts[shortest ? 1 : 0];
    if (text.empty()) {
        std::vector<double> const &values = Values(kTextCount);
        if (shortest) {
            kolt::CStreamMem stream;
            stream.set_ascii(true);
            for (std::size_t i = 0; i < kTextCount; ++i)
                stream << values[i] << ' ';
            text.assign(stream.get_data().begin(), stream.get_data().end());
        } else {
            std::ostringstream stream;
            stream.precision(17);
            for (std::size_t i = 0; i < kTextCount; ++i)
                stream << values[i] << ' ';
            text = stream.str();
        }
    }
    return text;
}

void ReadTextOurs(benchmark::State &state)
{
    std::string const &text = TextOf(true);
    kolt::CStreamMem source;
    source.set_ascii(true);
    source.set_data(text.data(), static_cast<unsigned int>(text.size()));
    for (auto _ : state) {
        source.rewind();
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kTextCount; ++i) {
            source >> value;
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTextCount));
}

void ReadTextStd(benchmark::State &state)
{
    std::istringstream source(TextOf(false));
    for (auto _ : state) {
        source.clear();
        source.seekg(0);
        double sum = 0, value = 0;
        for (std::size_t i = 0; i < kTextCount; ++i) {
            source >> value;
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTextCount));
}

// A few passes over 256 MiB are long enough for the per-value and text
// cases; the block cases take tens of milliseconds and need more passes to
// stand out of the noise of a shared machine.
#define STREAM_BENCHMARK(function, name) \
    BENCHMARK(function)->Name(name)->Unit(benchmark::kMillisecond)->Iterations(3)
#define STREAM_BLOCK_BENCHMARK(function, name) \
    BENCHMARK(function)->Name(name)->Unit(benchmark::kMillisecond)->Iterations(20)

STREAM_BENCHMARK(WriteDoubleMemOurs, "write_double_mem/ours");
STREAM_BENCHMARK(WriteDoubleMemStd, "write_double_mem/ostringstream");
STREAM_BENCHMARK(ReadDoubleMemOurs, "read_double_mem/ours");
STREAM_BENCHMARK(ReadDoubleMemStd, "read_double_mem/istringstream");
STREAM_BENCHMARK(WriteDoubleFileOurs, "write_double_file/ours");
STREAM_BENCHMARK(WriteDoubleFileStd, "write_double_file/ofstream");
STREAM_BENCHMARK(ReadDoubleFileOurs, "read_double_file/ours");
STREAM_BENCHMARK(ReadDoubleFileStd, "read_double_file/ifstream");
STREAM_BLOCK_BENCHMARK(WriteBlockFileOurs, "write_block_file/ours");
STREAM_BLOCK_BENCHMARK(WriteBlockFileStdio, "write_block_file/fwrite");
STREAM_BLOCK_BENCHMARK(ReadBlockFileOurs, "read_block_file/ours");
STREAM_BLOCK_BENCHMARK(ReadBlockFileStdio, "read_block_file/fread");
STREAM_BLOCK_BENCHMARK(WriteBlockMemOurs, "write_block_mem/ours");
STREAM_BLOCK_BENCHMARK(WriteBlockMemMemcpy, "write_block_mem/memcpy");
STREAM_BLOCK_BENCHMARK(ReadBlockMemOurs, "read_block_mem/ours");
STREAM_BLOCK_BENCHMARK(ReadBlockMemMemcpy, "read_block_mem/memcpy");
STREAM_BENCHMARK(WriteTextOurs, "write_text_double/ours");
STREAM_BENCHMARK(WriteTextStd, "write_text_double/ostream17");
STREAM_BENCHMARK(ReadTextOurs, "read_text_double/ours");
STREAM_BENCHMARK(ReadTextStd, "read_text_double/istream");

}  // namespace
