// STL: reading ASCII and binary files into a mesh (corners welded by exact
// position) and writing both forms.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kolt {

namespace mesh_io {

namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kTriangleSize = 50;
// The first reservation for a count the data cannot confirm.
constexpr std::uint64_t kUnconfirmedReserve = 1 << 16;

std::uint64_t HashBits(double x, double y, double z)
{
    std::uint64_t bits[3];
    std::memcpy(&bits[0], &x, 8);
    std::memcpy(&bits[1], &y, 8);
    std::memcpy(&bits[2], &z, 8);
    std::uint64_t h = bits[0] * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) ^ bits[1] * 0xC2B2AE3D27D4EB4Full;
    h ^= (h >> 31) ^ bits[2] * 0x165667B19E3779F9ull;
    return h ^ (h >> 32);
}

void ReadBinary(ByteSource &source, std::uint32_t count, MeshData &data)
{
    source.Skip(kHeaderSize + 4);
    std::uint64_t const left = source.BytesLeft();
    std::uint64_t const needed = std::uint64_t{count} * kTriangleSize;
    // Bytes after the last triangle (padding, a signature) are left unread.
    if (left != CStreamI::kUnknownSize && left < needed)
        source.Fail("binary header gives " + std::to_string(count) + " triangles (" +
                    std::to_string(needed) + " bytes) but only " + std::to_string(left) +
                    " bytes follow the header");
    std::uint64_t const expected = left == CStreamI::kUnknownSize
                                       ? std::min<std::uint64_t>(count, kUnconfirmedReserve)
                                       : count;
    data.triangles.reserve(static_cast<std::size_t>(expected) * 3);
    data.positions.reserve(static_cast<std::size_t>(expected) * 3 / 2 + 3);
    PositionWelder welder(data.positions);
    for (std::uint32_t t = 0; t < count; ++t) {
        if (source.Peek(kTriangleSize) < kTriangleSize)
            source.FailAtOffset("triangle " + std::to_string(t) + " of " + std::to_string(count) +
                                " is cut short");
        auto const *bytes = reinterpret_cast<unsigned char const *>(source.Data());
        int corners[3];
        for (int c = 0; c < 3; ++c) {
            float xyz[3];
            for (int k = 0; k < 3; ++k) {
                xyz[k] = LoadFloat(bytes + 12 + 12 * c + 4 * k, false);
                if (!std::isfinite(xyz[k]))
                    source.FailAtOffset("triangle " + std::to_string(t) + " has a non-finite coordinate");
            }
            corners[c] = welder.Index(xyz[0], xyz[1], xyz[2]);
        }
        source.Skip(kTriangleSize);
        data.triangles.insert(data.triangles.end(), corners, corners + 3);
    }
}

// Control bytes other than tab and CR do not occur in text: a file holding
// them is binary data that failed the size test. `as_binary` says why.
void CheckText(ByteSource &source, std::string_view line, std::string const &as_binary)
{
    for (char const c : line) {
        auto const byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r') || byte == 0x7F)
            source.FailAtLine("the data starts with \"solid\" but holds the byte " +
                              Quoted(std::string_view(&c, 1)) + ", which text does not" + as_binary);
    }
}

void ReadAscii(ByteSource &source, MeshData &data, std::string const &as_binary)
{
    PositionWelder welder(data.positions);
    std::vector<int> loop;
    bool in_loop = false;
    std::string_view line;
    while (source.NextLine(line)) {
        CheckText(source, line, as_binary);
        Tokens tokens(line);
        std::string_view const keyword = tokens.Next();
        if (keyword == "vertex") {
            if (!in_loop)
                source.FailAtLine("\"vertex\" outside a loop");
            double xyz[3];
            for (double &value : xyz) {
                std::string_view const token = tokens.Next();
                if (!ParseDouble(token, value))
                    source.FailAtLine("vertex coordinate " + Quoted(token) + " is not a number");
                if (!std::isfinite(value))
                    source.FailAtLine("vertex coordinate " + Quoted(token) + " is not finite");
            }
            if (!tokens.Next().empty())
                source.FailAtLine("a vertex has more than three coordinates");
            loop.push_back(welder.Index(xyz[0], xyz[1], xyz[2]));
        } else if (keyword == "outer") {
            if (in_loop)
                source.FailAtLine("a loop opens inside a loop");
            in_loop = true;
            loop.clear();
        } else if (keyword == "endloop") {
            if (!in_loop)
                source.FailAtLine("\"endloop\" without a loop");
            in_loop = false;
            if (loop.size() < 3)
                ++data.skipped_faces;
            for (std::size_t i = 1; i + 1 < loop.size(); ++i)
                data.triangles.insert(data.triangles.end(), {loop[0], loop[i], loop[i + 1]});
        } else if (keyword == "solid" || keyword == "endsolid" || keyword == "facet" ||
                   keyword == "endfacet" || keyword.empty()) {
            if (in_loop && !keyword.empty())
                source.FailAtLine(Quoted(keyword) + " inside a loop");
        } else {
            source.FailAtLine("unknown keyword " + Quoted(keyword));
        }
    }
    if (in_loop)
        source.FailAtLine("the data ends inside a loop");
}

}  // namespace

PositionWelder::PositionWelder(std::vector<double> &positions) : m_positions(positions)
{
    Rehash(1024);
}

void PositionWelder::Rehash(std::size_t slot_count)
{
    m_slots.assign(slot_count, -1);
    std::size_t const mask = slot_count - 1;
    for (std::size_t v = 0; v * 3 < m_positions.size(); ++v) {
        double const *p = &m_positions[3 * v];
        std::size_t slot = HashBits(p[0], p[1], p[2]) & mask;
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = static_cast<int>(v);
    }
}

int PositionWelder::Index(double x, double y, double z)
{
    // Adding zero turns -0 into +0, so the bit patterns hash alike.
    x += 0.0;
    y += 0.0;
    z += 0.0;
    std::size_t const mask = m_slots.size() - 1;
    std::size_t slot = HashBits(x, y, z) & mask;
    for (;;) {
        int const v = m_slots[slot];
        if (v < 0)
            break;
        double const *p = &m_positions[3 * static_cast<std::size_t>(v)];
        if (p[0] == x && p[1] == y && p[2] == z)
            return v;
        slot = (slot + 1) & mask;
    }
    int const index = static_cast<int>(m_positions.size() / 3);
    m_positions.insert(m_positions.end(), {x, y, z});
    m_slots[slot] = index;
    // Keep the table at most half full.
    if (m_positions.size() / 3 * 2 > m_slots.size())
        Rehash(m_slots.size() * 2);
    return index;
}

}  // namespace mesh_io

MeshLoadReport ReadStl(CStreamI &in, TMeshBase &mesh)
{
    mesh_io::ByteSource source(in, "STL");
    mesh_io::MeshData data;
    std::uint64_t const total = source.BytesLeft();
    std::size_t const head = source.Peek(mesh_io::kHeaderSize + 4);
    auto const *bytes = reinterpret_cast<unsigned char const *>(source.Data());
    bool const starts_solid = head >= 5 && std::string_view(source.Data(), 5) == "solid";
    std::string as_binary;
    if (head == mesh_io::kHeaderSize + 4) {
        auto const count = static_cast<std::uint32_t>(mesh_io::LoadUnsigned(bytes + 80, 4, false));
        // Binary writers may start the header with "solid" and leave bytes
        // after the triangles; text where the count sits reads as at least
        // 0x20202020 triangles, far more than any text file could hold.
        bool const count_fits = total != CStreamI::kUnknownSize &&
                                mesh_io::kHeaderSize + 4 + std::uint64_t{count} * mesh_io::kTriangleSize <= total;
        if (count_fits || !starts_solid) {
            mesh_io::ReadBinary(source, count, data);
            return mesh_io::FillMesh(data, mesh);
        }
        as_binary = "; as binary, its " + std::to_string(count) + " triangles would need " +
                    std::to_string(mesh_io::kHeaderSize + 4 + std::uint64_t{count} * mesh_io::kTriangleSize) +
                    " bytes";
    } else if (!starts_solid) {
        source.Fail("the data (" + std::to_string(head) +
                    " bytes) is neither ASCII (\"solid\") nor a binary header of 84 bytes");
    }
    mesh_io::ReadAscii(source, data, as_binary);
    return mesh_io::FillMesh(data, mesh);
}

void WriteStl(CStreamO &out, TMeshBase const &mesh, bool binary)
{
    mesh_io::Sink sink(out);
    int const face_count = mesh.GetFNum();
    if (binary) {
        // The header must not begin with "solid", which marks ASCII.
        char header[mesh_io::kHeaderSize];
        std::memset(header, ' ', sizeof header);
        std::memcpy(header, "binary STL, Tessiv", 18);
        sink.Bytes(header, sizeof header);
        unsigned char count[4];
        mesh_io::StoreUnsigned(count, static_cast<std::uint32_t>(face_count), 4, false);
        sink.Bytes(count, 4);
    } else {
        sink.Text("solid tessiv\n");
    }
    for (int f = 0; f < face_count; ++f) {
        TFace const &face = mesh.GetF(f);
        Pnt3 const *points[4] = {&face.Norm(), &mesh.GetV(face.GetIndex(0)).Pos(),
                                 &mesh.GetV(face.GetIndex(1)).Pos(), &mesh.GetV(face.GetIndex(2)).Pos()};
        if (binary) {
            unsigned char record[mesh_io::kTriangleSize] = {};
            for (int k = 0; k < 4; ++k)
                for (int c = 0; c < 3; ++c) {
                    float const value = static_cast<float>((*points[k])[c]);
                    std::uint32_t bits;
                    std::memcpy(&bits, &value, 4);
                    mesh_io::StoreUnsigned(record + 12 * k + 4 * c, bits, 4, false);
                }
            sink.Bytes(record, sizeof record);
            continue;
        }
        for (int k = 0; k < 4; ++k) {
            sink.Text(k == 0 ? "facet normal" : "    vertex");
            for (int c = 0; c < 3; ++c) {
                sink.Text(" ");
                sink.Number(static_cast<float>((*points[k])[c]));
            }
            sink.Text(k == 0 ? "\n  outer loop\n" : "\n");
        }
        sink.Text("  endloop\nendfacet\n");
    }
    if (!binary)
        sink.Text("endsolid tessiv\n");
    sink.Flush();
}

}  // namespace kolt
