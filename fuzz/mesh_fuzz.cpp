// One libFuzzer target per mesh file reader; MESH_FUZZ_FORMAT_<OBJ|PLY|STL>
// picks it. A reader may refuse any input with kolt::IOException; it may not
// crash, hang or leak, and what it accepts must be a mesh whose indices all
// stay in range and which writes and reads back unchanged in size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tessiv/scene/mesh_io.h>
#include <tessiv/scene/stream_mem.h>

namespace {

kolt::MeshLoadReport Read(kolt::CStreamI &in, kolt::TMeshBase &mesh)
{
#if MESH_FUZZ_FORMAT_OBJ
    return kolt::ReadObj(in, mesh);
#elif MESH_FUZZ_FORMAT_PLY
    return kolt::ReadPly(in, mesh);
#elif MESH_FUZZ_FORMAT_STL
    return kolt::ReadStl(in, mesh);
#else
#error "MESH_FUZZ_FORMAT_<format> selects the reader"
#endif
}

bool InRange(int index, int count, bool may_be_none)
{
    return (may_be_none && index == -1) || (index >= 0 && index < count);
}

void CheckIndices(kolt::TMeshBase const &mesh)
{
    int const v_count = mesh.GetVNum(), e_count = mesh.GetENum(), f_count = mesh.GetFNum();
    for (int f = 0; f < f_count; ++f)
        for (int i = 0; i < 3; ++i) {
            kolt::TFace const &face = mesh.GetF(f);
            if (!InRange(face.GetIndex(i), v_count, false) || !InRange(face.GetEdgeRef(i), e_count, false) ||
                !InRange(face.GetAdjacent(i), f_count, true))
                std::abort();
        }
    for (int e = 0; e < e_count; ++e)
        for (int i = 0; i < 2; ++i)
            if (!InRange(mesh.GetE(e).GetIndex(i), v_count, false) || !InRange(mesh.GetE(e).GetFIdx(i), f_count, i == 1))
                std::abort();
    for (int v = 0; v < v_count; ++v) {
        kolt::TVert const &vertex = mesh.GetV(v);
        for (int k = 0; k < vertex.GetAdjENum(); ++k)
            if (!InRange(vertex.AdjE(k), e_count, false))
                std::abort();
        for (int k = 0; k < vertex.GetAdjFNum(); ++k)
            if (!InRange(vertex.AdjF(k), f_count, false))
                std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    kolt::CStreamMem in;
    in.set_data(data, static_cast<unsigned int>(size));
    kolt::TMeshBase mesh;
    try {
        Read(in, mesh);
    } catch (kolt::IOException const &) {
        return 0;
    }
    CheckIndices(mesh);
    kolt::CStreamMem round_trip;
    kolt::WritePly(round_trip, mesh, kolt::PlyEncoding::BinaryLittleEndian);
    kolt::TMeshBase again;
    kolt::ReadPly(round_trip, again);
    if (again.GetVNum() != mesh.GetVNum() || again.GetFNum() != mesh.GetFNum() || again.GetENum() != mesh.GetENum())
        std::abort();
    return 0;
}
