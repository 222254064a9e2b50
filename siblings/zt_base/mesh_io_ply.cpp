// PLY: reading ASCII and binary files of either byte order into a mesh, and
// writing them. Elements and properties other than the vertex positions,
// normals, texture coordinates, colours and the face index lists are read
// past, lists on the vertex element included; header lines with a keyword
// other than format, element, property and end_header are comments.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace kolt {

namespace mesh_io {

namespace {

enum class Encoding { Ascii, Little, Big };

// Binary lists up to this many items are read in one piece.
constexpr std::uint64_t kListPiece = 1024;

struct ScalarType {
    int size = 0;
    bool is_float = false;
    bool is_signed = false;
};

struct Property {
    std::string name;
    ScalarType type;
    bool is_list = false;
    ScalarType count_type;
};

struct Element {
    std::string name;
    std::uint64_t count = 0;
    std::vector<Property> properties;
};

bool LookUpType(std::string_view name, ScalarType &type)
{
    struct Entry {
        char const *name;
        ScalarType type;
    };
    static Entry const kTypes[] = {
        {"char", {1, false, true}},    {"int8", {1, false, true}},   {"uchar", {1, false, false}},
        {"uint8", {1, false, false}},  {"short", {2, false, true}},  {"int16", {2, false, true}},
        {"ushort", {2, false, false}}, {"uint16", {2, false, false}}, {"int", {4, false, true}},
        {"int32", {4, false, true}},   {"uint", {4, false, false}},  {"uint32", {4, false, false}},
        {"float", {4, true, true}},    {"float32", {4, true, true}}, {"double", {8, true, true}},
        {"float64", {8, true, true}},  {"int64", {8, false, true}},  {"uint64", {8, false, false}},
    };
    for (Entry const &entry : kTypes)
        if (name == entry.name) {
            type = entry.type;
            return true;
        }
    return false;
}

// Where the vertex fields this reader keeps sit among the properties (-1:
// absent).
struct VertexLayout {
    int position[3] = {-1, -1, -1};
    int normal[3] = {-1, -1, -1};
    int texture[2] = {-1, -1};
    int color[4] = {-1, -1, -1, -1};
};

int FindProperty(Element const &element, std::initializer_list<char const *> names)
{
    for (char const *name : names)
        for (std::size_t i = 0; i < element.properties.size(); ++i)
            if (element.properties[i].name == name && !element.properties[i].is_list)
                return static_cast<int>(i);
    return -1;
}

class PlyReader {
public:
    PlyReader(ByteSource &source, MeshData &data) : m_source(source), m_data(data) {}

    void Read()
    {
        ReadHeader();
        for (Element const &element : m_elements) {
            if (&element == m_vertex_element)
                ReadVertices(element);
            else if (&element == m_face_element)
                ReadFaces(element);
            else
                SkipElement(element);
        }
    }

private:
    void ReadHeader()
    {
        std::string_view line;
        if (!m_source.NextLine(line) || line != "ply")
            m_source.Fail("the data does not begin with the line \"ply\"");
        bool ended = false;
        bool has_format = false;
        while (!ended && m_source.NextLine(line)) {
            Tokens tokens(line);
            std::string_view const keyword = tokens.Next();
            if (keyword == "format") {
                std::string_view const name = tokens.Next();
                if (name == "ascii")
                    m_encoding = Encoding::Ascii;
                else if (name == "binary_little_endian")
                    m_encoding = Encoding::Little;
                else if (name == "binary_big_endian")
                    m_encoding = Encoding::Big;
                else
                    m_source.FailAtLine("unknown format " + Quoted(name));
                has_format = true;
            } else if (keyword == "element") {
                Element element;
                element.name = std::string(tokens.Next());
                long long count = -1;
                std::string_view const token = tokens.Next();
                if (element.name.empty() || !ParseInt(token, count) || count < 0 || count > INT_MAX)
                    m_source.FailAtLine("element count " + Quoted(token) +
                                        " is not a count from 0 to " + std::to_string(INT_MAX));
                element.count = static_cast<std::uint64_t>(count);
                m_elements.push_back(element);
            } else if (keyword == "property") {
                if (m_elements.empty())
                    m_source.FailAtLine("a property before any element");
                Property property;
                std::string_view type = tokens.Next();
                if (type == "list") {
                    property.is_list = true;
                    std::string_view const count_type = tokens.Next();
                    if (!LookUpType(count_type, property.count_type) || property.count_type.is_float)
                        m_source.FailAtLine("list count type " + Quoted(count_type) +
                                            " is not an integer type");
                    type = tokens.Next();
                }
                if (!LookUpType(type, property.type))
                    m_source.FailAtLine("unknown property type " + Quoted(type));
                property.name = std::string(tokens.Next());
                m_elements.back().properties.push_back(property);
            } else if (keyword == "end_header") {
                ended = true;
            }
            // Any other line ("comment", "obj_info", a writer's own
            // keywords) is a comment.
        }
        if (!ended)
            m_source.Fail("the header has no \"end_header\"");
        if (!has_format)
            m_source.Fail("the header has no \"format\" line");
        FindElements();
    }

    void FindElements()
    {
        for (Element const &element : m_elements) {
            if (element.name == "vertex" && m_vertex_element == nullptr)
                m_vertex_element = &element;
            else if (element.name == "face" && m_face_element == nullptr)
                m_face_element = &element;
        }
        if (m_vertex_element == nullptr)
            m_source.Fail("the header declares no \"vertex\" element");
        Element const &vertex = *m_vertex_element;
        char const *axes[3][1] = {{"x"}, {"y"}, {"z"}};
        for (int k = 0; k < 3; ++k) {
            m_layout.position[k] = FindProperty(vertex, {axes[k][0]});
            if (m_layout.position[k] < 0)
                m_source.Fail(std::string("the vertex element has no property \"") + axes[k][0] + "\"");
        }
        int const normal[3] = {FindProperty(vertex, {"nx"}), FindProperty(vertex, {"ny"}),
                               FindProperty(vertex, {"nz"})};
        if (normal[0] >= 0 && normal[1] >= 0 && normal[2] >= 0)
            std::copy(normal, normal + 3, m_layout.normal);
        int const s = FindProperty(vertex, {"s", "u", "texture_u", "texture_s"});
        int const t = FindProperty(vertex, {"t", "v", "texture_v", "texture_t"});
        if (s >= 0 && t >= 0) {
            m_layout.texture[0] = s;
            m_layout.texture[1] = t;
        }
        int const color[4] = {FindProperty(vertex, {"red", "r"}), FindProperty(vertex, {"green", "g"}),
                              FindProperty(vertex, {"blue", "b"}), FindProperty(vertex, {"alpha", "a"})};
        if (color[0] >= 0 && color[1] >= 0 && color[2] >= 0)
            std::copy(color, color + 4, m_layout.color);
        if (m_face_element != nullptr) {
            for (std::size_t i = 0; i < m_face_element->properties.size(); ++i) {
                Property const &property = m_face_element->properties[i];
                if (property.is_list && (property.name == "vertex_indices" || property.name == "vertex_index"))
                    m_index_list = static_cast<int>(i);
            }
            if (m_index_list < 0)
                m_source.Fail("the face element has no list \"vertex_indices\"");
            if (m_face_element->properties[static_cast<std::size_t>(m_index_list)].type.is_float)
                m_source.Fail("the face index list holds reals, not integers");
        }
    }

    // Each item needs at least one byte per scalar (text) or its fixed bytes
    // (binary); a count the rest of the data cannot hold is refused here.
    void CheckCount(Element const &element)
    {
        std::uint64_t smallest = 0;
        for (Property const &property : element.properties)
            smallest += m_encoding == Encoding::Ascii
                            ? 1
                            : static_cast<std::uint64_t>(property.is_list ? property.count_type.size
                                                                          : property.type.size);
        std::uint64_t const left = m_source.BytesLeft();
        if (left != CStreamI::kUnknownSize && smallest > 0 && element.count > left / smallest)
            m_source.FailAtOffset("element " + Quoted(element.name) + " count " +
                                  std::to_string(element.count) + " needs at least " +
                                  std::to_string(smallest) + " bytes each, " + std::to_string(left) +
                                  " left");
    }

    // How many items to make room for up front: the whole count when the
    // data's size confirmed it, a first block otherwise.
    std::size_t Reservable(std::uint64_t count) const
    {
        constexpr std::uint64_t kUnconfirmed = 1 << 16;
        bool const known = m_source.BytesLeft() != CStreamI::kUnknownSize;
        return static_cast<std::size_t>(known ? count : std::min(count, kUnconfirmed));
    }

    // A binary integer in the file's byte order, sign-extended when signed
    // (64-bit unsigned values above the signed range come out negative).
    std::int64_t DecodeInteger(unsigned char const *bytes, ScalarType const &type) const
    {
        std::uint64_t const raw = LoadUnsigned(bytes, type.size, m_encoding == Encoding::Big);
        if (!type.is_signed || type.size == 8)
            return static_cast<std::int64_t>(raw);
        int const unused = 64 - 8 * type.size;
        return static_cast<std::int64_t>(raw << unused) >> unused;
    }

    // The next scalar as a double, in the file's encoding.
    double Scalar(ScalarType const &type, char const *what)
    {
        if (m_encoding == Encoding::Ascii)
            return TextScalar(type, what);
        auto const size = static_cast<std::size_t>(type.size);
        if (m_source.Peek(size) < size)
            m_source.FailAtOffset(std::string(what) + ": the data ends");
        double const value = Decode(reinterpret_cast<unsigned char const *>(m_source.Data()), type);
        m_source.Skip(size);
        return value;
    }

    // A binary scalar in the file's byte order, widened exactly.
    double Decode(unsigned char const *bytes, ScalarType const &type) const
    {
        bool const big = m_encoding == Encoding::Big;
        if (type.is_float)
            return type.size == 4 ? LoadFloat(bytes, big) : LoadDouble(bytes, big);
        std::uint64_t const raw = LoadUnsigned(bytes, type.size, big);
        if (!type.is_signed)
            return static_cast<double>(raw);
        // Move the sign bit to the top and shift it back down arithmetically.
        int const unused = 64 - 8 * type.size;
        return static_cast<double>(static_cast<std::int64_t>(raw << unused) >> unused);
    }

    // A text scalar: integer types take integers within their range, so
    // every integer value converts without loss.
    double TextScalar(ScalarType const &type, char const *what)
    {
        std::string_view const token = NextToken(what);
        std::string const shown = Quoted(token);
        if (!type.is_float) {
            long long value = 0;
            // 64-bit types take what a long long holds.
            bool const wide = type.size == 8;
            long long const low = !type.is_signed ? 0 : wide ? LLONG_MIN : -(1ll << (8 * type.size - 1));
            long long const high = wide               ? LLONG_MAX
                                   : type.is_signed ? (1ll << (8 * type.size - 1)) - 1
                                                    : (1ll << (8 * type.size)) - 1;
            if (!ParseInt(token, value) || value < low || value > high)
                m_source.FailAtLine(std::string(what) + " " + shown + " is not an integer from " +
                                    std::to_string(low) + " to " + std::to_string(high));
            return static_cast<double>(value);
        }
        double value = 0;
        if (!ParseDouble(token, value))
            m_source.FailAtLine(std::string(what) + " " + shown + " is not a number");
        // A float property holds what a float can: "0.1" is 0.1f.
        if (type.size == 4)
            value = static_cast<float>(value);
        return value;
    }

    std::string_view NextToken(char const *what)
    {
        for (;;) {
            std::string_view const token = m_tokens.Next();
            if (!token.empty())
                return token;
            std::string_view line;
            if (!m_source.NextLine(line))
                m_source.FailAtLine(std::string(what) + ": the data ends");
            m_tokens = Tokens(line);
        }
    }

    [[noreturn]] void FailHere(std::string const &cause)
    {
        if (m_encoding == Encoding::Ascii)
            m_source.FailAtLine(cause);
        m_source.FailAtOffset(cause);
    }

    // A list's length, refused when negative.
    std::uint64_t ListCount(Property const &property)
    {
        double const count = Scalar(property.count_type, "list count");
        if (count < 0)
            FailHere("list " + Quoted(property.name) + " has the negative count " +
                     std::to_string(static_cast<long long>(count)));
        return static_cast<std::uint64_t>(count);
    }

    void ReadVertices(Element const &element)
    {
        CheckCount(element);
        std::size_t const count = static_cast<std::size_t>(element.count);
        std::size_t const room = Reservable(element.count);
        bool const normals = m_layout.normal[0] >= 0;
        bool const texture = m_layout.texture[0] >= 0;
        bool const colors = m_layout.color[0] >= 0;
        m_data.positions.reserve(room * 3);
        if (normals)
            m_data.normals.reserve(room * 3);
        if (texture)
            m_data.texture_coords.reserve(room * 2);
        if (colors)
            m_data.colors.reserve(room * 4);
        std::vector<double> values(element.properties.size(), 0.0);
        // Binary items without lists have one size: they are taken a block of
        // whole items at a time.
        std::size_t item_size = 0;
        bool fixed_size = m_encoding != Encoding::Ascii;
        for (Property const &property : element.properties) {
            fixed_size = fixed_size && !property.is_list;
            item_size += static_cast<std::size_t>(property.type.size);
        }
        auto const keep = [&](std::size_t v) {
            for (int k = 0; k < 3; ++k) {
                double const value = values[static_cast<std::size_t>(m_layout.position[k])];
                if (!std::isfinite(value))
                    FailHere("vertex " + std::to_string(v) + " has a non-finite coordinate");
                m_data.positions.push_back(value);
            }
            if (normals)
                for (int k = 0; k < 3; ++k)
                    m_data.normals.push_back(values[static_cast<std::size_t>(m_layout.normal[k])]);
            if (texture)
                for (int k = 0; k < 2; ++k)
                    m_data.texture_coords.push_back(values[static_cast<std::size_t>(m_layout.texture[k])]);
            if (colors)
                for (int k = 0; k < 4; ++k) {
                    int const index = m_layout.color[k];
                    if (index < 0) {
                        m_data.colors.push_back(1);
                        continue;
                    }
                    // Integer channels run from 0 to 255; real ones are taken as they are.
                    double const value = values[static_cast<std::size_t>(index)];
                    bool const is_float = element.properties[static_cast<std::size_t>(index)].type.is_float;
                    m_data.colors.push_back(static_cast<float>(is_float ? value : value / 255));
                }
        };
        constexpr std::size_t kBatch = 4096;
        for (std::size_t v = 0; v < count;) {
            if (fixed_size) {
                std::size_t const buffered =
                    item_size == 0 ? count - v : m_source.Peek(std::min(count - v, kBatch) * item_size) / item_size;
                if (buffered == 0)
                    m_source.FailAtOffset("vertex " + std::to_string(v) + " of " + std::to_string(count) +
                                          " is cut short");
                auto const *bytes = reinterpret_cast<unsigned char const *>(m_source.Data());
                for (std::size_t end = v + buffered; v < end; ++v) {
                    for (std::size_t i = 0; i < element.properties.size(); ++i) {
                        values[i] = Decode(bytes, element.properties[i].type);
                        bytes += element.properties[i].type.size;
                    }
                    m_source.Skip(item_size);
                    keep(v);
                }
                continue;
            }
            for (std::size_t i = 0; i < element.properties.size(); ++i) {
                Property const &property = element.properties[i];
                if (property.is_list) {
                    std::uint64_t const n = ListCount(property);
                    for (std::uint64_t k = 0; k < n; ++k)
                        Scalar(property.type, "list item");
                    continue;
                }
                values[i] = Scalar(property.type, "vertex property");
            }
            keep(v);
            ++v;
        }
    }

    void ReadFaces(Element const &element)
    {
        CheckCount(element);
        std::size_t const count = static_cast<std::size_t>(element.count);
        std::uint64_t const vertex_count = m_vertex_element->count;
        // Room for as many triangles as the rest of the data can spell out.
        Property const &indices = element.properties[static_cast<std::size_t>(m_index_list)];
        std::uint64_t const triangle_bytes = m_encoding == Encoding::Ascii
                                                 ? 8
                                                 : static_cast<std::uint64_t>(indices.count_type.size + 3 * indices.type.size);
        std::uint64_t const left = m_source.BytesLeft();
        std::uint64_t room = element.count;
        if (left != CStreamI::kUnknownSize)
            room = std::min(room, left / triangle_bytes);
        m_data.triangles.reserve(Reservable(room) * 3);
        // Binary faces that hold nothing but integer indices are taken a
        // block of triangles at a time; any other face goes the long way.
        bool const plain = m_encoding != Encoding::Ascii && element.properties.size() == 1 &&
                           !indices.count_type.is_float && !indices.type.is_float;
        std::vector<int> corners;
        for (std::size_t f = 0; f < count;) {
            std::size_t const taken = plain ? ReadPlainTriangles(indices, count - f, vertex_count) : 0;
            if (taken > 0) {
                f += taken;
                continue;
            }
            ReadFace(element, f, vertex_count, corners);
            ++f;
        }
    }

    // Reads up to most of the faces to come, as long as each is a triangle
    // of indices in range already buffered; returns how many it read.
    std::size_t ReadPlainTriangles(Property const &indices, std::size_t most, std::uint64_t vertex_count)
    {
        constexpr std::size_t kBatch = 4096;
        auto const count_size = static_cast<std::size_t>(indices.count_type.size);
        auto const index_size = static_cast<std::size_t>(indices.type.size);
        std::size_t const face_size = count_size + 3 * index_size;
        std::size_t const buffered = m_source.Peek(std::min(most, kBatch) * face_size) / face_size;
        auto const *bytes = reinterpret_cast<unsigned char const *>(m_source.Data());
        std::vector<int> &triangles = m_data.triangles;
        std::size_t const first = triangles.size();
        triangles.resize(first + 3 * buffered);
        int *out = triangles.data() + first;
        std::size_t f = 0;
        for (; f < buffered; ++f, bytes += face_size, out += 3) {
            if (DecodeInteger(bytes, indices.count_type) != 3)
                break;
            std::int64_t const a = DecodeInteger(bytes + count_size, indices.type);
            std::int64_t const b = DecodeInteger(bytes + count_size + index_size, indices.type);
            std::int64_t const c = DecodeInteger(bytes + count_size + 2 * index_size, indices.type);
            auto const in_range = [vertex_count](std::int64_t i) {
                return i >= 0 && static_cast<std::uint64_t>(i) < vertex_count;
            };
            if (!in_range(a) || !in_range(b) || !in_range(c))
                break;
            out[0] = static_cast<int>(a);
            out[1] = static_cast<int>(b);
            out[2] = static_cast<int>(c);
        }
        triangles.resize(first + 3 * f);
        m_source.Skip(f * face_size);
        return f;
    }

    void ReadFace(Element const &element, std::size_t f, std::uint64_t vertex_count, std::vector<int> &corners)
    {
        for (std::size_t i = 0; i < element.properties.size(); ++i) {
            Property const &property = element.properties[i];
            if (!property.is_list) {
                Scalar(property.type, "face property");
                continue;
            }
            std::uint64_t const n = ListCount(property);
            bool const is_index_list = static_cast<int>(i) == m_index_list;
            corners.clear();
            // A binary list of modest length is taken in one piece.
            auto const item_size = static_cast<std::size_t>(property.type.size);
            bool const in_one_piece = m_encoding != Encoding::Ascii && n <= kListPiece;
            std::size_t const piece = in_one_piece ? static_cast<std::size_t>(n) * item_size : 0;
            if (in_one_piece && m_source.Peek(piece) < piece)
                m_source.FailAtOffset("face index: the data ends");
            auto const *bytes = reinterpret_cast<unsigned char const *>(m_source.Data());
            for (std::uint64_t k = 0; k < n; ++k) {
                double const value = in_one_piece ? Decode(bytes + k * item_size, property.type)
                                                  : Scalar(property.type, "face index");
                if (!is_index_list)
                    continue;
                if (value < 0 || value >= static_cast<double>(vertex_count))
                    FailHere("face " + std::to_string(f) + " names vertex " +
                             std::to_string(static_cast<long long>(value)) + " of " +
                             std::to_string(vertex_count));
                corners.push_back(static_cast<int>(value));
            }
            if (in_one_piece)
                m_source.Skip(piece);
            if (!is_index_list)
                continue;
            if (corners.size() < 3)
                ++m_data.skipped_faces;
            for (std::size_t k = 1; k + 1 < corners.size(); ++k)
                m_data.triangles.insert(m_data.triangles.end(), {corners[0], corners[k], corners[k + 1]});
        }
    }

    void SkipElement(Element const &element)
    {
        // Items without properties occupy no bytes, however many there are.
        if (element.properties.empty())
            return;
        CheckCount(element);
        for (std::uint64_t item = 0; item < element.count; ++item)
            for (Property const &property : element.properties) {
                std::uint64_t const n = property.is_list ? ListCount(property) : 1;
                for (std::uint64_t k = 0; k < n; ++k)
                    Scalar(property.type, "property");
            }
    }

    ByteSource &m_source;
    MeshData &m_data;
    Encoding m_encoding = Encoding::Ascii;
    std::vector<Element> m_elements;
    Element const *m_vertex_element = nullptr;
    Element const *m_face_element = nullptr;
    VertexLayout m_layout;
    int m_index_list = -1;
    Tokens m_tokens{std::string_view()};
};

}  // namespace

}  // namespace mesh_io

MeshLoadReport ReadPly(CStreamI &in, TMeshBase &mesh)
{
    mesh_io::ByteSource source(in, "PLY");
    mesh_io::MeshData data;
    mesh_io::PlyReader(source, data).Read();
    return mesh_io::FillMesh(data, mesh);
}

void WritePly(CStreamO &out, TMeshBase const &mesh, PlyEncoding encoding)
{
    mesh_io::Sink sink(out);
    int const vertex_count = mesh.GetVNum();
    int const face_count = mesh.GetFNum();
    char const *format = encoding == PlyEncoding::Ascii                ? "ascii"
                         : encoding == PlyEncoding::BinaryLittleEndian ? "binary_little_endian"
                                                                        : "binary_big_endian";
    sink.Text("ply\nformat ");
    sink.Text(format);
    sink.Text(" 1.0\ncomment Tessiv\nelement vertex ");
    sink.Text(std::to_string(vertex_count));
    sink.Text("\nproperty double x\nproperty double y\nproperty double z\n"
              "property float nx\nproperty float ny\nproperty float nz\nelement face ");
    sink.Text(std::to_string(face_count));
    sink.Text("\nproperty list uchar int vertex_indices\nend_header\n");
    bool const big = encoding == PlyEncoding::BinaryBigEndian;
    for (int v = 0; v < vertex_count; ++v) {
        TVert const &vertex = mesh.GetV(v);
        if (encoding == PlyEncoding::Ascii) {
            for (int k = 0; k < 3; ++k) {
                char text[32];
                auto const result = std::to_chars(text, text + sizeof text, vertex.Pos()[k]);
                sink.Bytes(text, static_cast<std::size_t>(result.ptr - text));
                sink.Text(" ");
            }
            for (int k = 0; k < 3; ++k) {
                sink.Number(static_cast<float>(vertex.Norm()[k]));
                sink.Text(k < 2 ? " " : "\n");
            }
            continue;
        }
        unsigned char record[36];
        for (int k = 0; k < 3; ++k) {
            std::uint64_t bits;
            double const value = vertex.Pos()[k];
            std::memcpy(&bits, &value, 8);
            mesh_io::StoreUnsigned(record + 8 * k, bits, 8, big);
            float const normal = static_cast<float>(vertex.Norm()[k]);
            std::uint32_t normal_bits;
            std::memcpy(&normal_bits, &normal, 4);
            mesh_io::StoreUnsigned(record + 24 + 4 * k, normal_bits, 4, big);
        }
        sink.Bytes(record, sizeof record);
    }
    for (int f = 0; f < face_count; ++f) {
        TFace const &face = mesh.GetF(f);
        if (encoding == PlyEncoding::Ascii) {
            sink.Text("3");
            for (int k = 0; k < 3; ++k) {
                sink.Text(" ");
                sink.Text(std::to_string(face.GetIndex(k)));
            }
            sink.Text("\n");
            continue;
        }
        unsigned char record[13];
        record[0] = 3;
        for (int k = 0; k < 3; ++k)
            mesh_io::StoreUnsigned(record + 1 + 4 * k, static_cast<std::uint32_t>(face.GetIndex(k)), 4, big);
        sink.Bytes(record, sizeof record);
    }
    sink.Flush();
}

}  // namespace kolt
