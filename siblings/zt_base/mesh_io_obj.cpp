// Wavefront OBJ: positions ("v"), texture coordinates ("vt"), normals
// ("vn") and polygons ("f", split into fans). Other statements (groups,
// materials, smoothing, lines) are read past.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <array>
#include <cmath>
#include <string>

namespace kolt {

namespace mesh_io {

namespace {

// A 1-based or negative (relative) index as written, resolved once the
// counts are known; 0 means "not given".
struct Reference {
    long long value = 0;
};

class ObjReader {
public:
    ObjReader(ByteSource &source, MeshData &data) : m_source(source), m_data(data) {}

    void Read()
    {
        std::string_view line;
        while (m_source.NextLine(line)) {
            Tokens tokens(line);
            std::string_view const keyword = tokens.Next();
            if (keyword == "v")
                ReadPosition(tokens);
            else if (keyword == "vt")
                ReadNumbers(tokens, 1, 3, "texture coordinate", m_texture, 2);
            else if (keyword == "vn")
                ReadNumbers(tokens, 3, 3, "normal", m_normals, 3);
            else if (keyword == "f")
                ReadFace(tokens);
        }
        Finish();
    }

private:
    // Reads between least and most numbers into target, padded with zeros
    // to stride values.
    void ReadNumbers(Tokens &tokens, int least, int most, char const *what, std::vector<double> &target,
                     int stride)
    {
        double values[3] = {0, 0, 0};
        int count = 0;
        for (std::string_view token = tokens.Next(); !token.empty(); token = tokens.Next()) {
            if (count == most)
                break;
            if (!ParseDouble(token, values[count]) || !std::isfinite(values[count]))
                m_source.FailAtLine(std::string(what) + " value " + Quoted(token) +
                                    " is not a finite number");
            ++count;
        }
        if (count < least)
            m_source.FailAtLine(std::string(what) + " has " + std::to_string(count) + " values, needs " +
                                std::to_string(least));
        target.insert(target.end(), values, values + stride);
    }

    // "v x y z", "v x y z w" or "v x y z r g b" (a vertex colour).
    void ReadPosition(Tokens &tokens)
    {
        double values[7];
        int count = 0;
        for (std::string_view token = tokens.Next(); !token.empty() && count < 7; token = tokens.Next()) {
            if (!ParseDouble(token, values[count]) || !std::isfinite(values[count]))
                m_source.FailAtLine("vertex value " + Quoted(token) +
                                    " is not a finite number");
            ++count;
        }
        if (count < 3)
            m_source.FailAtLine("a vertex has " + std::to_string(count) + " coordinates, needs 3");
        m_data.positions.insert(m_data.positions.end(), values, values + 3);
        if (count >= 6) {
            m_colors.resize(m_data.positions.size() / 3 * 4 - 4, 1.0f);
            for (int k = 3; k < 6; ++k)
                m_colors.push_back(static_cast<float>(values[k]));
            m_colors.push_back(1.0f);
        }
    }

    // Resolves a relative index now; remembers the largest absolute one.
    int Resolve(long long value, std::size_t count, long long &largest, std::uint64_t &largest_line,
                char const *what)
    {
        if (value < 0) {
            long long const absolute = static_cast<long long>(count) + value;
            if (absolute < 0)
                m_source.FailAtLine(std::string(what) + " index " + std::to_string(value) + " reaches before the first of " +
                                    std::to_string(count));
            return static_cast<int>(absolute);
        }
        if (value == 0 || value > INT32_MAX)
            m_source.FailAtLine(std::string(what) + " index " + std::to_string(value) + " is out of range");
        if (value > largest) {
            largest = value;
            largest_line = m_source.Line();
        }
        return static_cast<int>(value - 1);
    }

    void ReadFace(Tokens &tokens)
    {
        m_corners.clear();
        for (std::string_view token = tokens.Next(); !token.empty(); token = tokens.Next()) {
            std::array<int, 3> corner = {-1, -1, -1};
            for (int part = 0; part < 3 && !token.empty(); ++part) {
                std::size_t const slash = token.find('/');
                std::string_view const text = token.substr(0, slash);
                token = slash == std::string_view::npos ? std::string_view() : token.substr(slash + 1);
                if (text.empty() && part > 0)
                    continue;
                long long value = 0;
                if (!ParseInt(text, value))
                    m_source.FailAtLine("face index " + Quoted(text) + " is not an integer");
                if (part == 0)
                    corner[0] = Resolve(value, m_data.positions.size() / 3, m_largest[0], m_largest_line[0], "vertex");
                else if (part == 1)
                    corner[1] = Resolve(value, m_texture.size() / 2, m_largest[1], m_largest_line[1], "texture");
                else
                    corner[2] = Resolve(value, m_normals.size() / 3, m_largest[2], m_largest_line[2], "normal");
            }
            m_corners.push_back(corner);
        }
        if (m_corners.size() < 3) {
            ++m_data.skipped_faces;
            return;
        }
        for (std::size_t k = 1; k + 1 < m_corners.size(); ++k)
            m_data.triangles.insert(m_data.triangles.end(), {m_corners[0][0], m_corners[k][0], m_corners[k + 1][0]});
        for (std::array<int, 3> const &corner : m_corners)
            if (corner[1] >= 0 || corner[2] >= 0)
                m_attributes.push_back(corner);
    }

    // Checks the absolute indices against the final counts and gives each
    // position the first texture coordinate and normal a corner named.
    void Finish()
    {
        std::size_t const counts[3] = {m_data.positions.size() / 3, m_texture.size() / 2, m_normals.size() / 3};
        char const *names[3] = {"vertex", "texture", "normal"};
        for (int k = 0; k < 3; ++k)
            if (m_largest[k] > static_cast<long long>(counts[k]))
                m_source.Fail(std::string(names[k]) + " index " + std::to_string(m_largest[k]) + " at line " +
                              std::to_string(m_largest_line[k]) + " exceeds the " + std::to_string(counts[k]) +
                              " given");
        std::size_t const vertex_count = counts[0];
        std::vector<bool> has_normal(vertex_count, false), has_texture(vertex_count, false);
        std::size_t normals_given = 0;
        bool any_texture = false;
        std::vector<double> normals(vertex_count * 3, 0.0), texture(vertex_count * 2, 0.0);
        for (std::array<int, 3> const &corner : m_attributes) {
            auto const v = static_cast<std::size_t>(corner[0]);
            if (corner[1] >= 0 && !has_texture[v]) {
                has_texture[v] = true;
                any_texture = true;
                for (int k = 0; k < 2; ++k)
                    texture[2 * v + k] = m_texture[2 * static_cast<std::size_t>(corner[1]) + k];
            }
            if (corner[2] >= 0 && !has_normal[v]) {
                has_normal[v] = true;
                ++normals_given;
                for (int k = 0; k < 3; ++k)
                    normals[3 * v + k] = m_normals[3 * static_cast<std::size_t>(corner[2]) + k];
            }
        }
        if (vertex_count > 0 && normals_given == vertex_count)
            m_data.normals = std::move(normals);
        if (any_texture)
            m_data.texture_coords = std::move(texture);
        if (!m_colors.empty()) {
            m_colors.resize(vertex_count * 4, 1.0f);
            m_data.colors = std::move(m_colors);
        }
    }

    ByteSource &m_source;
    MeshData &m_data;
    std::vector<double> m_texture;
    std::vector<double> m_normals;
    std::vector<float> m_colors;
    std::vector<std::array<int, 3>> m_corners;
    std::vector<std::array<int, 3>> m_attributes;
    long long m_largest[3] = {0, 0, 0};
    std::uint64_t m_largest_line[3] = {0, 0, 0};
};

}  // namespace

}  // namespace mesh_io

MeshLoadReport ReadObj(CStreamI &in, TMeshBase &mesh)
{
    mesh_io::ByteSource source(in, "OBJ");
    mesh_io::MeshData data;
    mesh_io::ObjReader(source, data).Read();
    return mesh_io::FillMesh(data, mesh);
}

}  // namespace kolt
