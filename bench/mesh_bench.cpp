// Mesh files: reading a 1-million-triangle binary PLY and binary STL into a
// TMeshBase with its whole topology, against OpenMesh (Debian's
// libopenmesh-dev) reading the same file into its half-edge mesh; deep copy
// of the loaded mesh against copying OpenMesh's (vertices per second). The
// files are generated at start-up in a temporary directory and removed at
// exit. Peak and retained heap bytes per triangle of each load are counted
// by replacing the global operator new/delete of this program, which also
// sees OpenMesh's allocations.
#include <tessiv/scene/mesh_io.h>
#include <tessiv/scene/stream_file.h>

#include <OpenMesh/Core/IO/MeshIO.hh>
#include <OpenMesh/Core/Mesh/TriMesh_ArrayKernelT.hh>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<std::size_t> g_current{0};
std::atomic<std::size_t> g_peak{0};

void Account(void *block)
{
    std::size_t const now = g_current += malloc_usable_size(block);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

}  // namespace

void *operator new(std::size_t size)
{
    void *block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    Account(block);
    return block;
}

void operator delete(void *block) noexcept
{
    if (block == nullptr)
        return;
    g_current -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    operator delete(block);
}

// The library's large blocks are aligned to huge pages.
void *operator new(std::size_t size, std::align_val_t alignment)
{
    void *block = nullptr;
    if (posix_memalign(&block, static_cast<std::size_t>(alignment), size == 0 ? 1 : size) != 0)
        throw std::bad_alloc();
    Account(block);
    return block;
}

void operator delete(void *block, std::align_val_t) noexcept
{
    operator delete(block);
}

void operator delete(void *block, std::size_t, std::align_val_t) noexcept
{
    operator delete(block);
}

namespace {

using OpenMeshTri = OpenMesh::TriMesh_ArrayKernelT<>;

// A wavy height field of kColumns x kRows squares, two triangles each.
constexpr int kColumns = 708, kRows = 707;
constexpr int kTriangles = 2 * kColumns * kRows;
// Single loads, interleaved with the other library's and compared by their
// medians: one load is long enough, and the machine's speed drifts.
constexpr int kReadRepetitions = 9;

struct Files {
    std::filesystem::path directory;
    std::string ply;
    std::string stl;

    Files()
    {
        char pattern[] = "/tmp/mesh_bench_XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            std::abort();
        directory = pattern;
        ply = (directory / "grid.ply").string();
        stl = (directory / "grid.stl").string();
        Write();
    }
    ~Files() { std::filesystem::remove_all(directory); }

    static float Height(int x, int y) { return static_cast<float>(0.3 * std::sin(x * 0.05) * std::cos(y * 0.07)); }

    void Write() const
    {
        int const columns = kColumns + 1;
        std::vector<float> positions;
        for (int y = 0; y <= kRows; ++y)
            for (int x = 0; x <= kColumns; ++x)
                positions.insert(positions.end(), {static_cast<float>(x), static_cast<float>(y), Height(x, y)});
        std::vector<int> triangles;
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kColumns; ++x) {
                int const a = y * columns + x;
                triangles.insert(triangles.end(), {a, a + 1, a + columns + 1, a, a + columns + 1, a + columns});
            }
        std::FILE *file = std::fopen(ply.c_str(), "wb");
        std::fprintf(file,
                     "ply\nformat binary_little_endian 1.0\nelement vertex %zu\nproperty float x\n"
                     "property float y\nproperty float z\nelement face %d\n"
                     "property list uchar int vertex_indices\nend_header\n",
                     positions.size() / 3, kTriangles);
        std::fwrite(positions.data(), sizeof(float), positions.size(), file);
        for (std::size_t t = 0; t < triangles.size(); t += 3) {
            unsigned char const three = 3;
            std::fwrite(&three, 1, 1, file);
            std::fwrite(&triangles[t], sizeof(int), 3, file);
        }
        std::fclose(file);

        file = std::fopen(stl.c_str(), "wb");
        char header[80] = "mesh_bench grid";
        std::fwrite(header, 1, 80, file);
        std::uint32_t const count = kTriangles;
        std::fwrite(&count, 4, 1, file);
        for (std::size_t t = 0; t < triangles.size(); t += 3) {
            float record[12] = {0, 0, 1};
            for (int c = 0; c < 3; ++c)
                std::memcpy(record + 3 + 3 * c, &positions[3 * static_cast<std::size_t>(triangles[t + c])],
                            3 * sizeof(float));
            std::uint16_t const attribute = 0;
            std::fwrite(record, sizeof record, 1, file);
            std::fwrite(&attribute, 2, 1, file);
        }
        std::fclose(file);
    }
};

Files const &TheFiles()
{
    static Files const files;
    return files;
}

// Counts the peak and the retained heap bytes of one load per triangle.
struct MemoryProbe {
    std::size_t before = g_current.load();
    MemoryProbe() { g_peak = before; }
    void Report(benchmark::State &state) const
    {
        state.counters["peak_B_per_tri"] = static_cast<double>(g_peak - before) / kTriangles;
        state.counters["kept_B_per_tri"] = static_cast<double>(g_current - before) / kTriangles;
        // The target: a load's peak at most 1.1 times what the mesh keeps.
        state.counters["peak_over_kept"] =
            static_cast<double>(g_peak - before) / static_cast<double>(g_current - before);
    }
};

void ReadOurs(benchmark::State &state, std::string const &path, kolt::MeshLoadReport (*reader)(kolt::CStreamI &, kolt::TMeshBase &))
{
    for (auto _ : state) {
        state.PauseTiming();
        auto *mesh = new kolt::TMeshBase;
        MemoryProbe probe;
        state.ResumeTiming();
        kolt::CStreamFile file;
        file.open_checked(path.c_str(), kolt::CStreamFile::modeRead);
        reader(file, *mesh);
        file.close();
        state.PauseTiming();
        probe.Report(state);
        if (mesh->GetFNum() != kTriangles)
            state.SkipWithError("wrong triangle count");
        delete mesh;
        state.ResumeTiming();
    }
}

void ReadOpenMesh(benchmark::State &state, std::string const &path)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto *mesh = new OpenMeshTri;
        MemoryProbe probe;
        state.ResumeTiming();
        OpenMesh::IO::Options options = OpenMesh::IO::Options::Binary;
        if (!OpenMesh::IO::read_mesh(*mesh, path, options))
            state.SkipWithError("OpenMesh could not read the file");
        state.PauseTiming();
        probe.Report(state);
        if (static_cast<int>(mesh->n_faces()) != kTriangles)
            state.SkipWithError("wrong triangle count");
        delete mesh;
        state.ResumeTiming();
    }
}

void ReadPlyOurs(benchmark::State &state) { ReadOurs(state, TheFiles().ply, kolt::ReadPly); }
void ReadPlyOpenMesh(benchmark::State &state) { ReadOpenMesh(state, TheFiles().ply); }
void ReadStlOurs(benchmark::State &state) { ReadOurs(state, TheFiles().stl, kolt::ReadStl); }
void ReadStlOpenMesh(benchmark::State &state) { ReadOpenMesh(state, TheFiles().stl); }

template <class Mesh>
void Copy(benchmark::State &state, Mesh const &source, std::size_t vertices)
{
    for (auto _ : state) {
        Mesh copy(source);
        benchmark::DoNotOptimize(&copy);
    }
    state.counters["vertices_per_s"] =
        benchmark::Counter(static_cast<double>(vertices) * state.iterations(), benchmark::Counter::kIsRate);
}

void CopyOurs(benchmark::State &state)
{
    static kolt::TMeshBase const mesh = [] {
        kolt::TMeshBase loaded;
        kolt::CStreamFile file;
        file.open_checked(TheFiles().ply.c_str(), kolt::CStreamFile::modeRead);
        kolt::ReadPly(file, loaded);
        return loaded;
    }();
    Copy(state, mesh, static_cast<std::size_t>(mesh.GetVNum()));
}

void CopyOpenMesh(benchmark::State &state)
{
    static OpenMeshTri const mesh = [] {
        OpenMeshTri loaded;
        OpenMesh::IO::Options options = OpenMesh::IO::Options::Binary;
        OpenMesh::IO::read_mesh(loaded, TheFiles().ply, options);
        return loaded;
    }();
    Copy(state, mesh, mesh.n_vertices());
}

}  // namespace

BENCHMARK(ReadPlyOurs)->Name("read_ply_binary_1M/ours")->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kReadRepetitions)->ReportAggregatesOnly();
BENCHMARK(ReadPlyOpenMesh)->Name("read_ply_binary_1M/openmesh")->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kReadRepetitions)->ReportAggregatesOnly();
BENCHMARK(ReadStlOurs)->Name("read_stl_binary_1M/ours")->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kReadRepetitions)->ReportAggregatesOnly();
BENCHMARK(ReadStlOpenMesh)->Name("read_stl_binary_1M/openmesh")->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kReadRepetitions)->ReportAggregatesOnly();
BENCHMARK(CopyOurs)->Name("copy_mesh_1M/ours")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CopyOpenMesh)->Name("copy_mesh_1M/openmesh")->Unit(benchmark::kMillisecond)->Iterations(5);
