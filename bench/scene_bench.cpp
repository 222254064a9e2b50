// Scene records and the node transform: binary Save/Load of a rotation
// controller through CStreamMem against fwrite/fread of the same bytes (and
// Save into a reused buffer against one memcpy of the record), the
// text record of position keys (keys per second), and CalcChild over a tree
// of 100,000 nodes (nodes per second).
#include <tessiv/scene/controller.h>
#include <tessiv/scene/stream_mem.h>
#include <tessiv/scene/tnode.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned int kKeys = 1000000;
constexpr unsigned int kNodes = 100000;

kolt::RotController MakeRotations()
{
    kolt::RotController rotations;
    rotations.GetKeys().resize(kKeys);
    for (unsigned int i = 0; i < kKeys; ++i) {
        auto &key = rotations.GetKey(static_cast<int>(i));
        key.frame = static_cast<int>(i);
        key.value.Set(i * 0.25, -1.5, 3.0 / (i + 1), 1);
        key.flag = i % 3 == 0;
    }
    return rotations;
}

kolt::RotController const &Rotations()
{
    static kolt::RotController const rotations = MakeRotations();
    return rotations;
}

// The record's bytes: what fwrite/fread move in the baseline.
std::vector<unsigned char> const &RecordBytes()
{
    static std::vector<unsigned char> const bytes = [] {
        kolt::CStreamMem stream(4 + kKeys * 48u);
        Rotations().Save(stream);
        auto const &data = stream.get_data();
        return std::vector<unsigned char>(data.begin(), data.end());
    }();
    return bytes;
}

void SaveOurs(benchmark::State &state)
{
    for (auto _ : state) {
        kolt::CStreamMem stream(4 + kKeys * 48u);
        Rotations().Save(stream);
        benchmark::DoNotOptimize(stream.get_data().begin());
    }
    state.SetBytesProcessed(state.iterations() * RecordBytes().size());
}

void SaveFwrite(benchmark::State &state)
{
    std::vector<unsigned char> const &bytes = RecordBytes();
    std::FILE *file = std::tmpfile();
    for (auto _ : state) {
        std::rewind(file);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fflush(file);
    }
    std::fclose(file);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// A new file per record, as ours makes a new stream per record.
void SaveFwriteNewFile(benchmark::State &state)
{
    std::vector<unsigned char> const &bytes = RecordBytes();
    for (auto _ : state) {
        std::FILE *file = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fflush(file);
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// An output stream over a buffer that is reused between records, to time
// the controller's own work without the memory stream's new storage.
class ReusedSink : public kolt::CStreamO {
public:
    explicit ReusedSink(std::size_t capacity) : bytes_(capacity) {}
    void Reset() { used_ = 0; }
    bool write_buffer(unsigned char const *data, unsigned int size) override
    {
        if (used_ + size > bytes_.size())
            return false;
        std::memcpy(bytes_.data() + used_, data, size);
        used_ += size;
        return true;
    }
    unsigned char const *data() const { return bytes_.data(); }

private:
    std::vector<unsigned char> bytes_;
    std::size_t used_ = 0;
};

void SaveToSinkOurs(benchmark::State &state)
{
    ReusedSink sink(RecordBytes().size());
    for (auto _ : state) {
        sink.Reset();
        Rotations().Save(sink);
        benchmark::DoNotOptimize(sink.data());
    }
    state.SetBytesProcessed(state.iterations() * RecordBytes().size());
}

void SaveToSinkMemcpy(benchmark::State &state)
{
    std::vector<unsigned char> const &bytes = RecordBytes();
    ReusedSink sink(bytes.size());
    for (auto _ : state) {
        sink.Reset();
        sink.write(bytes.data(), static_cast<unsigned int>(bytes.size()));
        benchmark::DoNotOptimize(sink.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void LoadOurs(benchmark::State &state)
{
    std::vector<unsigned char> const &bytes = RecordBytes();
    kolt::CStreamMem stream;
    stream.set_data(bytes.data(), static_cast<unsigned int>(bytes.size()));
    kolt::RotController target;
    for (auto _ : state) {
        stream.rewind();
        target.Load(stream);
        benchmark::DoNotOptimize(&target.GetKey(0));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void LoadFread(benchmark::State &state)
{
    std::vector<unsigned char> const &bytes = RecordBytes();
    std::FILE *file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::vector<unsigned char> target(bytes.size());
    for (auto _ : state) {
        std::rewind(file);
        std::size_t const n = std::fread(target.data(), 1, target.size(), file);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(target.data());
    }
    std::fclose(file);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

kolt::PosController MakePositions()
{
    kolt::PosController positions;
    positions.GetKeys().resize(kKeys);
    for (unsigned int i = 0; i < kKeys; ++i) {
        auto &key = positions.GetKey(static_cast<int>(i));
        key.frame = static_cast<int>(i);
        key.value = kolt::Pnt3(i * 0.1, -0.5 * i, 1.0 / (i + 1));
        key.flag = i % 2 == 0;
    }
    return positions;
}

void TextSave(benchmark::State &state)
{
    kolt::PosController const positions = MakePositions();
    for (auto _ : state) {
        kolt::CStreamMem stream;
        stream.set_ascii(true);
        positions.SaveMuv(stream);
        benchmark::DoNotOptimize(stream.get_data().begin());
    }
    state.SetItemsProcessed(state.iterations() * kKeys);
}

void TextLoad(benchmark::State &state)
{
    kolt::CStreamMem stream;
    stream.set_ascii(true);
    MakePositions().SaveMuv(stream);
    kolt::PosController target;
    bool const separators = state.range(0) != 0;
    for (auto _ : state) {
        stream.rewind();
        target.LoadMuv(stream, separators);
        benchmark::DoNotOptimize(&target.GetKey(0));
    }
    state.SetItemsProcessed(state.iterations() * kKeys);
}

// 100,000 nodes, each with up to four children, breadth first, each turned
// and moved a little so that every product is a real one.
void CalcChild(benchmark::State &state)
{
    kolt::TNode root;
    std::vector<kolt::TNode *> nodes{&root};
    for (unsigned int i = 1; i < kNodes; ++i) {
        auto *child = static_cast<kolt::TNode *>(nodes[(i - 1) / 4]->NewChild());
        child->GetLocalMatrix().SetRotateZ(0.001 * i);
        child->GetLocalMatrix().m[12] = 1;
        nodes.push_back(child);
    }
    for (auto _ : state) {
        root.CalcChild();
        benchmark::DoNotOptimize(nodes.back()->GetGlobalMatrix().m[12]);
    }
    state.SetItemsProcessed(state.iterations() * kNodes);
}

BENCHMARK(SaveOurs)->Name("rot_keys_save/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveFwrite)->Name("rot_keys_save/fwrite")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveFwriteNewFile)->Name("rot_keys_save/fwrite_new_file")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToSinkOurs)->Name("rot_keys_save_reused_buffer/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToSinkMemcpy)->Name("rot_keys_save_reused_buffer/memcpy")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadOurs)->Name("rot_keys_load/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFread)->Name("rot_keys_load/fread")->Unit(benchmark::kMillisecond);
BENCHMARK(TextSave)->Name("pos_keys_savemuv/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TextLoad)->Name("pos_keys_loadmuv/ours")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(CalcChild)->Name("calc_child_100k/ours")->Unit(benchmark::kMillisecond);

}  // namespace
